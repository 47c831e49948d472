#include "persist/stream/TWriter.h"

#include "persist/stream/Extended80.h"
#include "persist/stream/StreamError.h"
#include "platform/Windows1252.h"

#include <QtEndian>

namespace persist {

TWriter::TWriter(QIODevice* device, int bufferSize)
    : m_device(device), m_bufferSize(bufferSize > 0 ? bufferSize : 1)
{
    m_buffer.reserve(m_bufferSize);
}

TWriter::~TWriter()
{
    try {
        Flush();
    } catch (const StreamError&) {
        // Nothing can be reported from here; callers that care flush first.
    }
}

void TWriter::Flush()
{
    if (m_buffer.isEmpty())
        return;
    const QByteArray pending = m_buffer;
    m_buffer.clear();
    if (!m_device || m_device->write(pending) != pending.size())
        throw StreamError(kStreamWriteError);
}

void TWriter::putBytes(const char* data, qsizetype size)
{
    while (size > 0) {
        const qsizetype room = m_bufferSize - m_buffer.size();
        const qsizetype n = std::min(room, size);
        m_buffer.append(data, n);
        data += n;
        size -= n;
        if (m_buffer.size() >= m_bufferSize)
            Flush();
    }
}

void TWriter::PutTag(ValueTag tag)
{
    const char byte = static_cast<char>(tag);
    putBytes(&byte, 1);
}

void TWriter::putInt32(qint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    putBytes(bytes, 4);
}

void TWriter::PutInteger(qint32 value)
{
    if (value >= -128 && value <= 127) {
        PutTag(tInt8);
        const char byte = static_cast<char>(value);
        putBytes(&byte, 1);
    } else if (value >= -32768 && value <= 32767) {
        PutTag(tInt16);
        char bytes[2];
        qToLittleEndian(static_cast<qint16>(value), bytes);
        putBytes(bytes, 2);
    } else {
        PutTag(tInt32);
        putInt32(value);
    }
}

void TWriter::PutBoolean(bool value)
{
    PutTag(value ? tTrue : tFalse);
}

void TWriter::PutText(const QString& text)
{
    const std::optional<QByteArray> ansi = platform::EncodeWindows1252(text);
    if (!ansi) {
        const QByteArray utf8 = text.toUtf8();
        PutTag(tUtf8Text);
        putInt32(static_cast<qint32>(utf8.size()));
        putBytes(utf8);
        return;
    }
    if (ansi->size() < 256) {
        PutTag(tText);
        const char length = static_cast<char>(ansi->size());
        putBytes(&length, 1);
    } else {
        PutTag(tLongText);
        putInt32(static_cast<qint32>(ansi->size()));
    }
    putBytes(*ansi);
}

void TWriter::PutReal(double value)
{
    PutTag(tReal80);
    const Extended80 bytes = EncodeExtended(value);
    putBytes(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

void TWriter::PutIdent(const QString& ident)
{
    if (ident.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        PutTag(tFalse);
    } else if (ident.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        PutTag(tTrue);
    } else if (ident.compare(QLatin1String("nil"), Qt::CaseInsensitive) == 0) {
        PutTag(tNil);
    } else {
        PutTag(tIdent);
        PutShortText(ident);
    }
}

void TWriter::PutShortText(const QString& text)
{
    // Short strings hold class, component and property names, which are identifiers.
    QByteArray bytes = platform::EncodeWindows1252(text).value_or(text.toLatin1());
    if (bytes.size() > 255)
        bytes.truncate(255);
    const char length = static_cast<char>(bytes.size());
    putBytes(&length, 1);
    putBytes(bytes);
}

void TWriter::PutRawData(const QByteArray& bytes)
{
    PutTag(tRawData);
    putInt32(static_cast<qint32>(bytes.size()));
    putBytes(bytes);
}

void TWriter::PutRootRecord(const ObjRef& component)
{
    putBytes(kSignature, 4);
    WriteComponent(component);
}

void TWriter::WriteComponent(const ObjRef& component)
{
    PutShortText(component.cls->name);
    PutShortText(component.cls->NameOf(component.object));
    writeProperties(component, QString());
    PutTag(tEnd);
    for (const ObjRef& child : component.cls->ChildrenOf(component.object))
        WriteComponent(child);
    PutTag(tEnd);
}

void TWriter::writeProperties(const ObjRef& object, const QString& prefix)
{
    for (const PropertyInfo* p : object.cls->AllProperties())
        writeProperty(*p, object, prefix);
    for (const DefinedProperty* d : object.cls->AllDefined()) {
        if (d->hasData && !d->hasData(object.object))
            continue;
        if (d->IsRaw()) {
            if (!d->writeRaw)
                continue;
            PutShortText(prefix + d->name);
            PutRawData(d->writeRaw(object.object));
        } else if (d->write) {
            PutShortText(prefix + d->name);
            d->write(object.object, *this);
        }
    }
}

void TWriter::writeProperty(const PropertyInfo& p, const ObjRef& object, const QString& prefix)
{
    const void* o = object.object;
    if (p.stored && !p.stored(o))
        return;
    const QString name = prefix + p.name;
    switch (p.kind) {
    case PropKind::Integer: {
        const qint64 value = p.getInt(o);
        if (p.defaultValue && value == *p.defaultValue)
            return;
        PutShortText(name);
        const std::optional<QString> named =
            p.intNames ? p.intNames->NameOf(static_cast<qint32>(value)) : std::nullopt;
        if (named)
            PutIdent(*named);
        else
            PutInteger(static_cast<qint32>(value));
        return;
    }
    case PropKind::Enumeration: {
        const qint64 value = p.getInt(o);
        if (p.defaultValue && value == *p.defaultValue)
            return;
        PutShortText(name);
        PutIdent(p.enumNames->names.value(value));
        return;
    }
    case PropKind::Set: {
        const qint64 value = p.getInt(o);
        if (p.defaultValue && value == *p.defaultValue)
            return;
        PutShortText(name);
        PutTag(tSet);
        for (qsizetype i = 0; i < p.enumNames->names.size() && i < 64; ++i) {
            if (value & (qint64(1) << i))
                PutShortText(p.enumNames->names[i]);
        }
        putBytes("\0", 1);
        return;
    }
    case PropKind::Real: {
        double value = p.getReal(o);
        if (value == 0)
            return;
        if (p.realWidth == RealWidth::Single)
            value = static_cast<double>(static_cast<float>(value));
        PutShortText(name);
        PutReal(value);
        return;
    }
    case PropKind::Char:
    case PropKind::String: {
        const QString value = p.getString(o);
        if (value.isEmpty() && !p.writeEmpty)
            return;
        PutShortText(name);
        PutText(value);
        return;
    }
    case PropKind::Event: {
        const QString value = p.getString(o);
        if (value.isEmpty())
            return;
        PutShortText(name);
        PutIdent(value);
        return;
    }
    case PropKind::Object: {
        const ObjRef nested = p.getObject(const_cast<void*>(o));
        if (nested)
            writeProperties(nested, name + u'.');
        return;
    }
    }
}

} // namespace persist
