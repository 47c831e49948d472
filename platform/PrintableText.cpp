#include "platform/PrintableText.h"

namespace platform {

namespace {

QString Escaped(char32_t c)
{
    if (c < 0x100)
        return QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
    if (c < 0x10000)
        return QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
    return QStringLiteral("\\U%1").arg(uint(c), 8, 16, QLatin1Char('0'));
}

} // namespace

QString PrintableName(const QString& text, qsizetype maxLength)
{
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        qsizetype units = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            units = 2;
        }
        // Lone surrogates are not printable, so they are escaped like control characters.
        const QString piece = QChar::isPrint(c) ? text.mid(i, units) : Escaped(c);
        if (shown.size() + piece.size() > maxLength)
            return shown + QStringLiteral("...");
        shown += piece;
        i += units - 1;
    }
    return shown;
}

} // namespace platform
