#pragma once

#include "persist/stream/ClassInfo.h"
#include "persist/stream/ValueTag.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace persist {

/**
 * Writes tagged values and component records to a device through a buffer. Every operation appends exactly
 * its bytes; a device that fails raises StreamError("Stream write error"). Call Flush() before the device is
 * closed; the destructor flushes what remains but cannot report a failure.
 */
class TWriter
{
public:
    explicit TWriter(QIODevice* device, int bufferSize = 1000);
    ~TWriter();
    TWriter(const TWriter&) = delete;
    TWriter& operator=(const TWriter&) = delete;

    void PutInteger(qint32 value);
    void PutBoolean(bool value);
    /** Windows-1252 text; text that code page cannot hold is written whole as UTF-8 (tag 20). */
    void PutText(const QString& text);
    void PutReal(double value);
    void PutIdent(const QString& ident);
    void BeginList() { PutTag(tList); }
    void EndList() { PutTag(tEnd); }
    void PutRootRecord(const ObjRef& component);
    /** Length byte and characters, no tag; cut to 255 characters. */
    void PutShortText(const QString& text);
    void PutRawData(const QByteArray& bytes);
    void PutTag(ValueTag tag);

    /** A component record without signature: class, name, properties, children. */
    void WriteComponent(const ObjRef& component);
    void Flush();

private:
    void writeProperties(const ObjRef& object, const QString& prefix);
    void writeProperty(const PropertyInfo& p, const ObjRef& object, const QString& prefix);
    void putBytes(const char* data, qsizetype size);
    void putBytes(const QByteArray& bytes) { putBytes(bytes.constData(), bytes.size()); }
    void putInt32(qint32 value);

    QIODevice* m_device;
    QByteArray m_buffer;
    int m_bufferSize;
};

} // namespace persist
