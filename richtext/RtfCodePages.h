#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringDecoder>

#include <memory>

namespace richtext {

/** Code pages with special meaning: the Symbol font's own table, and private-use symbols (Wingdings). */
inline constexpr int kSymbolCodePage = -2;
inline constexpr int kPrivateSymbolCodePage = -3;

/** The code page of an RTF font character set (\fcharset); fallback for the default set and unknown ones. */
int CodePageOfCharset(int charset, int fallback);

/** Decodes bytes in a code page, with decoders made once and kept; unknown code pages read as Windows-1252.
 */
class CodePageDecoder
{
public:
    QString Decode(int codePage, QByteArrayView bytes);
    /** Decodes bytes in a code page onto the end of out. */
    void Append(int codePage, QByteArrayView bytes, QString& out);

private:
    QHash<int, std::shared_ptr<QStringDecoder>> m_decoders;
};

} // namespace richtext
