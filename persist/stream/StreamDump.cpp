#include "persist/stream/StreamDump.h"

#include "persist/stream/StreamError.h"
#include "persist/stream/TReader.h"
#include "platform/Windows1252.h"

#include <QCryptographicHash>
#include <QHash>

namespace persist {

namespace {

constexpr int kMaxDepth = 64;
constexpr qsizetype kMaxShownBytes = 4000;

QString Quote(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\' + QString(c);
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + u'"';
}

QString RawText(const QByteArray& bytes)
{
    QString shown = Quote(platform::DecodeWindows1252(bytes.left(kMaxShownBytes)));
    if (bytes.size() > kMaxShownBytes) {
        shown +=
            QStringLiteral(" ... %1 more bytes, sha1 %2")
                .arg(bytes.size() - kMaxShownBytes)
                .arg(QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex()));
    }
    return shown;
}

class Dumper
{
public:
    explicit Dumper(QIODevice* device) : m_reader(device) {}

    QString Run()
    {
        try {
            while (!m_reader.AtEnd())
                value(0, QString());
        } catch (const StreamError& e) {
            line(0, QStringLiteral("error at offset %1: %2").arg(m_reader.Position()).arg(e.message()));
        }
        return m_out;
    }

private:
    void line(int depth, const QString& text) { m_out += QString(depth * 2, u' ') + text + u'\n'; }

    void value(int depth, const QString& label)
    {
        if (depth > kMaxDepth)
            throw StreamError(kInvalidStreamFormat);
        const QString lead = label.isEmpty() ? QString() : label + QStringLiteral(" = ");
        if (m_reader.PeekTag() == 'T' && m_reader.AtSignature()) {
            line(depth, lead + QStringLiteral("TPF0"));
            record(depth);
            return;
        }
        const quint8 tag = m_reader.PeekTag();
        switch (tag) {
        case tEnd:
            m_reader.TakeTag();
            line(depth, lead + QStringLiteral("end"));
            return;
        case tList:
            m_reader.TakeTag();
            line(depth, lead + QStringLiteral("list"));
            while (!m_reader.AtListEnd())
                value(depth + 1, QString());
            m_reader.TakeTag();
            line(depth, QStringLiteral("end"));
            return;
        case tInt8:
        case tInt16:
        case tInt32: {
            static const char* const kNames[] = {"int8", "int16", "int32"};
            line(depth,
                 lead + QLatin1String(kNames[tag - tInt8]) + u' ' + QString::number(m_reader.TakeInteger()));
            return;
        }
        case tReal80:
            line(depth, lead + QStringLiteral("real ") + QString::number(m_reader.TakeReal(), 'g', 17));
            return;
        case tText:
        case tLongText:
        case tUtf8Text:
        case tWideText: {
            static const QHash<int, QString> kNames = {{tText, QStringLiteral("text")},
                                                       {tLongText, QStringLiteral("longtext")},
                                                       {tUtf8Text, QStringLiteral("utf8text")},
                                                       {tWideText, QStringLiteral("widetext")}};
            line(depth, lead + kNames.value(tag) + u' ' + Quote(m_reader.TakeText()));
            return;
        }
        case tIdent:
        case tFalse:
        case tTrue:
        case tNil:
            line(depth, lead + QStringLiteral("ident ") + m_reader.TakeIdent());
            return;
        case tRawData: {
            const QByteArray bytes = m_reader.TakeRawData();
            line(depth, lead + QStringLiteral("raw %1 bytes ").arg(bytes.size()) + RawText(bytes));
            return;
        }
        case tSet: {
            m_reader.TakeTag();
            QStringList members;
            while (true) {
                const QString member = m_reader.TakeShortText();
                if (member.isEmpty())
                    break;
                members.append(member);
            }
            line(depth, lead + QStringLiteral("set [") + members.join(QStringLiteral(", ")) + u']');
            return;
        }
        case tCollection:
            m_reader.TakeTag();
            line(depth, lead + QStringLiteral("collection"));
            while (!m_reader.AtListEnd()) {
                const quint8 next = m_reader.PeekTag();
                if (next == tInt8 || next == tInt16 || next == tInt32)
                    line(depth + 1, QStringLiteral("order %1").arg(m_reader.TakeInteger()));
                if (m_reader.TakeTag() != tList)
                    throw StreamError(kInvalidPropertyValue);
                line(depth + 1, QStringLiteral("item"));
                properties(depth + 2);
                line(depth + 1, QStringLiteral("end"));
            }
            m_reader.TakeTag();
            line(depth, QStringLiteral("end"));
            return;
        default:
            throw StreamError(QStringLiteral("Unknown value tag %1").arg(tag));
        }
    }

    void properties(int depth)
    {
        while (!m_reader.AtListEnd())
            value(depth, m_reader.TakeShortText());
        m_reader.TakeTag();
    }

    void record(int depth)
    {
        if (depth > kMaxDepth)
            throw StreamError(kInvalidStreamFormat);
        QString prefix;
        if ((m_reader.PeekTag() & 0xF0) == 0xF0) {
            const int flags = m_reader.TakeTag() & 0x0F;
            prefix = QStringLiteral(" flags %1").arg(flags);
            if (flags & 2)
                prefix += QStringLiteral(" position %1").arg(m_reader.TakeInteger());
        }
        const QString className = m_reader.TakeShortText();
        const QString name = m_reader.TakeShortText();
        line(depth, QStringLiteral("record ") + className + u' ' + Quote(name) + prefix);
        properties(depth + 1);
        while (!m_reader.AtListEnd()) {
            line(depth + 1, QStringLiteral("child"));
            record(depth + 2);
        }
        m_reader.TakeTag();
        line(depth, QStringLiteral("end record"));
    }

    TReader m_reader;
    QString m_out;
};

} // namespace

QString DumpStream(QIODevice* device)
{
    return Dumper(device).Run();
}

} // namespace persist
