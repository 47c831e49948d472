#include "persist/stream/TReader.h"

#include "persist/stream/ClassRegistry.h"
#include "persist/stream/Extended80.h"
#include "persist/stream/StreamError.h"
#include "platform/Windows1252.h"

#include <QtEndian>

#include <cmath>

namespace persist {

namespace {

// Deeper nesting than any document has; it keeps a hostile file from exhausting the stack.
constexpr int kMaxDepth = 64;
// Large values arrive in pieces of this size, so only data that is really there is ever allocated.
constexpr quint32 kChunk = 1 << 16;

} // namespace

TReader::TReader(QIODevice* device, int bufferSize)
    : m_device(device), m_bufferSize(bufferSize > 0 ? bufferSize : 1)
{}

void TReader::need(qsizetype count)
{
    while (m_buffer.size() - m_pos < count) {
        if (m_pos > 0) {
            m_buffer.remove(0, m_pos);
            m_pos = 0;
        }
        const QByteArray more =
            m_device ? m_device->read(std::max<qsizetype>(m_bufferSize, count - m_buffer.size()))
                     : QByteArray();
        if (more.isEmpty()) {
            m_endedEarly = true;
            throw StreamError(kStreamReadError);
        }
        m_buffer.append(more);
    }
}

bool TReader::AtEnd()
{
    const bool endedEarly = m_endedEarly;
    try {
        need(1);
        return false;
    } catch (const StreamError&) {
        // Asking is no failure to read.
        m_endedEarly = endedEarly;
        return true;
    }
}

quint8 TReader::takeByte()
{
    need(1);
    ++m_consumed;
    return static_cast<quint8>(m_buffer[m_pos++]);
}

QByteArray TReader::takeBytes(quint32 count)
{
    if (m_device && !m_device->isSequential()) {
        const qint64 remaining = (m_buffer.size() - m_pos) + m_device->bytesAvailable();
        if (qint64(count) > remaining) {
            m_endedEarly = true;
            throw StreamError(kStreamReadError);
        }
    }
    QByteArray out;
    while (quint32(out.size()) < count) {
        const quint32 piece = std::min<quint32>(kChunk, count - quint32(out.size()));
        need(piece);
        out.append(m_buffer.constData() + m_pos, piece);
        m_pos += piece;
        m_consumed += piece;
    }
    return out;
}

quint32 TReader::takeUInt32()
{
    need(4);
    const quint32 value = qFromLittleEndian<quint32>(m_buffer.constData() + m_pos);
    m_pos += 4;
    m_consumed += 4;
    return value;
}

quint8 TReader::TakeTag()
{
    return takeByte();
}

quint8 TReader::PeekTag()
{
    need(1);
    return static_cast<quint8>(m_buffer[m_pos]);
}

bool TReader::AtSignature()
{
    need(4);
    if (memcmp(m_buffer.constData() + m_pos, kSignature, 4) != 0)
        return false;
    m_pos += 4;
    m_consumed += 4;
    return true;
}

qint32 TReader::TakeInteger()
{
    switch (TakeTag()) {
    case tInt8:
        return static_cast<qint8>(takeByte());
    case tInt16: {
        const quint8 low = takeByte();
        const quint8 high = takeByte();
        return static_cast<qint16>(low | (high << 8));
    }
    case tInt32:
        return static_cast<qint32>(takeUInt32());
    default:
        throw StreamError(kInvalidPropertyValue);
    }
}

bool TReader::TakeBoolean()
{
    return TakeTag() == tTrue;
}

QString TReader::TakeText()
{
    switch (TakeTag()) {
    case tText:
        return platform::DecodeWindows1252(takeBytes(takeByte()));
    case tLongText:
        return platform::DecodeWindows1252(takeBytes(takeUInt32()));
    case tUtf8Text:
        return QString::fromUtf8(takeBytes(takeUInt32()));
    case tWideText: {
        const quint32 units = takeUInt32();
        if (units > 0x7FFFFFFFu / 2) {
            m_endedEarly = true;
            throw StreamError(kStreamReadError);
        }
        const QByteArray bytes = takeBytes(units * 2);
        QString text(static_cast<qsizetype>(units), Qt::Uninitialized);
        for (quint32 i = 0; i < units; ++i)
            text[i] = QChar(qFromLittleEndian<quint16>(bytes.constData() + 2 * i));
        return text;
    }
    default:
        throw StreamError(kInvalidPropertyValue);
    }
}

double TReader::TakeReal()
{
    if (PeekTag() != tReal80)
        return TakeInteger();
    TakeTag();
    const QByteArray bytes = takeBytes(10);
    Extended80 e{};
    std::copy(bytes.begin(), bytes.end(), e.begin());
    return DecodeExtended(e);
}

QString TReader::TakeIdent()
{
    switch (TakeTag()) {
    case tIdent:
        return TakeShortText();
    case tFalse:
        return QStringLiteral("False");
    case tTrue:
        return QStringLiteral("True");
    case tNil:
        return QStringLiteral("nil");
    default:
        throw StreamError(kInvalidPropertyValue);
    }
}

void TReader::ExpectBeginList()
{
    if (PeekTag() != tList) {
        SkipItem();
        throw StreamError(kInvalidPropertyValue);
    }
    TakeTag();
}

void TReader::ExpectEndList()
{
    if (PeekTag() != tEnd) {
        SkipItem();
        throw StreamError(kInvalidPropertyValue);
    }
    TakeTag();
}

QByteArray TReader::TakeShortBytes()
{
    return takeBytes(takeByte());
}

QString TReader::TakeShortText()
{
    return platform::DecodeWindows1252(TakeShortBytes());
}

QByteArray TReader::TakeRawData()
{
    if (TakeTag() != tRawData)
        throw StreamError(kInvalidPropertyValue);
    return takeBytes(takeUInt32());
}

void TReader::SkipItem()
{
    skipValue(0);
}

void TReader::checkDepth(int depth) const
{
    if (depth > kMaxDepth)
        throw StreamError(kInvalidStreamFormat);
}

void TReader::skipValue(int depth)
{
    checkDepth(depth);
    const quint8 tag = TakeTag();
    switch (tag) {
    case tEnd:
    case tFalse:
    case tTrue:
    case tNil:
        return;
    case tList:
        while (PeekTag() != tEnd)
            skipValue(depth + 1);
        TakeTag();
        return;
    case tInt8:
        takeBytes(1);
        return;
    case tInt16:
        takeBytes(2);
        return;
    case tInt32:
        takeBytes(4);
        return;
    case tReal80:
        takeBytes(10);
        return;
    case tText:
    case tIdent:
        takeBytes(takeByte());
        return;
    case tRawData:
    case tLongText:
    case tUtf8Text:
        takeBytes(takeUInt32());
        return;
    case tWideText: {
        const quint32 units = takeUInt32();
        if (units > 0x7FFFFFFFu / 2) {
            m_endedEarly = true;
            throw StreamError(kStreamReadError);
        }
        takeBytes(units * 2);
        return;
    }
    case tSet:
        while (true) {
            const quint8 length = takeByte();
            if (length == 0)
                return;
            takeBytes(length);
        }
    case tCollection:
        // Items: an optional order value, then a list of properties (name and value pairs).
        while (PeekTag() != tEnd) {
            const quint8 next = PeekTag();
            if (next == tInt8 || next == tInt16 || next == tInt32)
                TakeInteger();
            if (TakeTag() != tList)
                throw StreamError(kInvalidPropertyValue);
            while (PeekTag() != tEnd) {
                TakeShortBytes();
                skipValue(depth + 1);
            }
            TakeTag();
        }
        TakeTag();
        return;
    default:
        throw StreamError(kInvalidPropertyValue);
    }
}

QString TReader::uniqueName(QObject* owner, const QString& name) const
{
    if (!owner || name.isEmpty())
        return name;
    auto taken = [owner](const QString& candidate) {
        return owner->findChild<QObject*>(candidate, Qt::FindChildrenRecursively) != nullptr;
    };
    if (!taken(name))
        return name;
    for (int n = 1;; ++n) {
        const QString candidate = name + u'_' + QString::number(n);
        if (!taken(candidate))
            return candidate;
    }
}

ObjRef TReader::TakeRootRecord(const ObjRef& target, QObject* owner)
{
    if (!AtSignature()) {
        need(4); // data ending before four bytes is a read error, four wrong bytes a format error
        throw StreamError(kInvalidStreamFormat);
    }
    QList<ObjRef> readOrder;
    const ObjRef result = readComponent(target, owner, ObjRef{}, false, readOrder, 0);
    for (const ObjRef& r : readOrder)
        r.cls->Loaded(r.object);
    return result;
}

void TReader::TakeRecordList(QObject* owner, const ObjRef& parent,
                             const std::function<void(const ObjRef&)>& onEach)
{
    while (!AtListEnd()) {
        if (!AtSignature()) {
            need(4);
            throw StreamError(kInvalidStreamFormat);
        }
        QList<ObjRef> readOrder;
        const ObjRef component = readComponent(ObjRef{}, owner, parent, true, readOrder, 0);
        try {
            for (const ObjRef& r : readOrder)
                r.cls->Loaded(r.object);
        } catch (...) {
            // A component that cannot finish loading is not kept; its children go with it.
            component.cls->Destroy(component.object);
            throw;
        }
        if (onEach)
            onEach(component);
    }
}

ObjRef TReader::readComponent(const ObjRef& target, QObject* owner, const ObjRef& parent, bool fromList,
                              QList<ObjRef>& readOrder, int depth)
{
    checkDepth(depth);
    if ((PeekTag() & 0xF0) == 0xF0) {
        const quint8 flags = TakeTag() & 0x0F;
        if (flags & 2)
            TakeInteger(); // the child position; records are read in stream order
    }
    const QString className = TakeShortText();
    QString name = TakeShortText();

    ObjRef object = target;
    const bool created = !object;
    if (created) {
        const ClassInfo* cls = ClassRegistry::Instance().Find(className);
        if (!cls || !cls->create)
            throw StreamError(ClassNotFound(className));
        object = cls->create(owner);
        if (!object)
            throw StreamError(ClassNotFound(className));
    }
    try {
        if (created) {
            if (fromList && m_nameHook)
                m_nameHook(object, name);
            object.cls->SetNameOf(object.object, uniqueName(owner, name));
            if (parent)
                object.cls->SetParentOf(object.object, parent);
        } else if (!name.isEmpty()) {
            object.cls->SetNameOf(object.object, uniqueName(owner, name));
        }
        while (!AtListEnd())
            readProperty(object);
        TakeTag();
        // Records nest only in those of classes that hold children. Anywhere else the stream is damaged, and
        // placing an object there would take its parent for an object of another kind.
        if (!AtListEnd() && !object.cls->HoldsChildren())
            throw StreamError(kInvalidStreamFormat);
        while (!AtListEnd())
            readComponent(ObjRef{}, owner, object, false, readOrder, depth + 1);
        TakeTag();
    } catch (...) {
        if (created)
            object.cls->Destroy(object.object);
        throw;
    }
    readOrder.append(object);
    return object;
}

void TReader::readProperty(const ObjRef& root)
{
    const QString path = TakeShortText();
    const QStringList segments = path.split(u'.');
    ObjRef object = root;
    for (qsizetype i = 0; i + 1 < segments.size(); ++i) {
        const PropertyInfo* p = object.cls->FindProperty(segments[i]);
        const ObjRef nested =
            p && p->kind == PropKind::Object && p->getObject ? p->getObject(object.object) : ObjRef{};
        if (!nested) {
            SkipItem();
            throw StreamError(kPropertyDoesNotExist);
        }
        object = nested;
    }
    const QString& last = segments.last();
    if (const PropertyInfo* p = object.cls->FindProperty(last)) {
        if (p->IsReadOnly() || p->kind == PropKind::Object) {
            SkipItem();
            throw StreamError(p->kind == PropKind::Object ? kInvalidPropertyValue : kPropertyIsReadOnly);
        }
        readValue(*p, object);
        return;
    }
    if (const DefinedProperty* d = object.cls->FindDefined(last)) {
        if (d->IsRaw()) {
            const QByteArray bytes = TakeRawData();
            if (d->readRaw)
                d->readRaw(object.object, bytes);
        } else if (d->read) {
            d->read(object.object, *this);
        } else {
            SkipItem();
        }
        return;
    }
    SkipItem();
    throw StreamError(kPropertyDoesNotExist);
}

void TReader::readValue(const PropertyInfo& p, const ObjRef& object)
{
    void* o = object.object;
    switch (p.kind) {
    case PropKind::Integer: {
        if (PeekTag() == tIdent) {
            const QString ident = TakeIdent();
            const std::optional<qint32> value = p.intNames ? p.intNames->ValueOf(ident) : std::nullopt;
            if (!value)
                throw StreamError(kInvalidPropertyValue);
            p.setInt(o, *value);
        } else {
            p.setInt(o, TakeInteger());
        }
        return;
    }
    case PropKind::Enumeration: {
        const QString ident = TakeIdent();
        const std::optional<int> ordinal = p.enumNames ? p.enumNames->OrdinalOf(ident) : std::nullopt;
        if (!ordinal)
            throw StreamError(kInvalidPropertyValue);
        p.setInt(o, *ordinal);
        return;
    }
    case PropKind::Set: {
        if (PeekTag() != tSet) {
            SkipItem();
            throw StreamError(kInvalidPropertyValue);
        }
        TakeTag();
        qint64 value = 0;
        while (true) {
            const QString member = TakeShortText();
            if (member.isEmpty())
                break;
            const std::optional<int> ordinal = p.enumNames ? p.enumNames->OrdinalOf(member) : std::nullopt;
            if (!ordinal || *ordinal >= 64)
                throw StreamError(kInvalidPropertyValue);
            value |= qint64(1) << *ordinal;
        }
        p.setInt(o, value);
        return;
    }
    case PropKind::Real: {
        double value = TakeReal();
        if (p.realWidth == RealWidth::Single)
            value = static_cast<double>(static_cast<float>(value));
        p.setReal(o, value);
        return;
    }
    case PropKind::Char:
    case PropKind::String:
        p.setString(o, TakeText());
        return;
    case PropKind::Event: {
        const QString method = TakeIdent();
        if (method.compare(QLatin1String("nil"), Qt::CaseInsensitive) == 0) {
            p.setString(o, QString());
            return;
        }
        if (m_methodLookup && m_methodLookup(method)) {
            p.setString(o, method);
            return;
        }
        bool error = true;
        if (m_methodHook)
            m_methodHook(method, error);
        if (error)
            throw StreamError(kInvalidPropertyValue);
        return;
    }
    case PropKind::Object:
        break;
    }
    SkipItem();
    throw StreamError(kInvalidPropertyValue);
}

} // namespace persist
