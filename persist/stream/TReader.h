#pragma once

#include "persist/stream/ClassInfo.h"
#include "persist/stream/ValueTag.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>

namespace persist {

/**
 * Reads tagged values and component records from a device through a buffer. Every failure raises StreamError
 * with the stream's message; data ending early is "Stream read error". The input is untrusted: lengths are
 * checked against the data that remains before anything is allocated for them, and nesting is bounded.
 */
class TReader
{
public:
    /** Called for every component a record list creates, before its recorded name is assigned. */
    using NameHook = std::function<void(const ObjRef& component, QString& name)>;
    /** Called for an event naming a method the owner does not publish; clearing error leaves it unassigned.
     */
    using MethodHook = std::function<void(const QString& method, bool& error)>;
    /** Whether the owner publishes a method of that name. */
    using MethodLookup = std::function<bool(const QString& method)>;

    explicit TReader(QIODevice* device, int bufferSize = 1000);
    TReader(const TReader&) = delete;
    TReader& operator=(const TReader&) = delete;

    quint8 TakeTag();
    quint8 PeekTag();
    bool AtListEnd() { return PeekTag() == tEnd; }
    qint32 TakeInteger();
    bool TakeBoolean();
    QString TakeText();
    double TakeReal();
    QString TakeIdent();
    void ExpectBeginList();
    void ExpectEndList();
    void SkipItem();
    QString TakeShortText();
    QByteArray TakeShortBytes();
    /** A raw-data value: tag, 4-byte length, bytes. */
    QByteArray TakeRawData();
    /** The next four bytes are the signature; true when they are (and then they are consumed). */
    bool AtSignature();

    /**
     * Reads the signature and one component record, into target when given (its recorded class is not
     * compared), otherwise into a new component of the recorded class owned by owner.
     */
    ObjRef TakeRootRecord(const ObjRef& target = {}, QObject* owner = nullptr);
    /**
     * Until the list ends: a signature and a record, creating a component owned by owner and placed on
     * parent, then onEach with it. The closing end tag is left for ExpectEndList. A record that fails to read
     * is destroyed; the ones completed before it stay.
     */
    void TakeRecordList(QObject* owner, const ObjRef& parent,
                        const std::function<void(const ObjRef&)>& onEach);

    void SetNameHook(NameHook hook) { m_nameHook = std::move(hook); }
    void SetMethodHook(MethodHook hook) { m_methodHook = std::move(hook); }
    void SetMethodLookup(MethodLookup lookup) { m_methodLookup = std::move(lookup); }

    /** True when no byte is left to read. */
    bool AtEnd();
    /** Bytes consumed so far. */
    qint64 Position() const { return m_consumed; }
    /** True once a read failed because the data ran out (a file cut short, or a length beyond its end). */
    bool EndedEarly() const { return m_endedEarly; }

private:
    void need(qsizetype count);
    quint8 takeByte();
    QByteArray takeBytes(quint32 count);
    quint32 takeUInt32();
    void skipValue(int depth);
    void checkDepth(int depth) const;
    ObjRef readComponent(const ObjRef& target, QObject* owner, const ObjRef& parent, bool fromList,
                         QList<ObjRef>& readOrder, int depth);
    void readProperty(const ObjRef& object);
    void readValue(const PropertyInfo& p, const ObjRef& object);
    QString uniqueName(QObject* owner, const QString& name) const;

    QIODevice* m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qint64 m_consumed = 0;
    bool m_endedEarly = false;
    int m_bufferSize;
    NameHook m_nameHook;
    MethodHook m_methodHook;
    MethodLookup m_methodLookup;
};

} // namespace persist
