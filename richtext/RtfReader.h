#pragma once

#include <QByteArrayView>
#include <QString>
#include <QTextFormat>

class QTextDocument;

namespace richtext {

/** Image format properties that keep a picture this program cannot show, so it is written back unchanged. */
inline constexpr int kOriginalPictureKind = QTextFormat::UserProperty + 1; // int, a PictureKind
inline constexpr int kOriginalPictureData = QTextFormat::UserProperty + 2; // QByteArray

/** How whole the bytes read were. */
struct RtfReadResult
{
    /** False when the bytes hold no group, so no RTF at all. */
    bool hasDocument = false;
    /** Groups still open when the bytes ended: the text ended early, as in a file cut short. */
    int openGroups = 0;
};

/**
 * Reads RTF bytes into a document, replacing its contents: text in every code page RTF uses, fonts, colours,
 * character and paragraph formats, pictures, hyperlinks; lists and tables as their text. Lenient: whatever
 * the bytes hold is read as well as it can be, and nothing in them can crash the reader, make it hang, or
 * make it allocate more than the input's size warrants; the result says whether they ended early.
 */
RtfReadResult ReadRtf(QByteArrayView rtf, QTextDocument& document);

/** The text of a document: paragraphs and line breaks as line ends, non-breaking spaces kept, no pictures. */
QString PlainText(const QTextDocument& document);

/**
 * Reads the text of RTF bytes alone, without a document: the text is what PlainText gives of a document read
 * from them with ReadRtf, and so is the result. It builds no formats and decodes no pictures, so it is much
 * faster and needs no graphical application.
 */
RtfReadResult ReadRtfText(QByteArrayView rtf, QString& text);

} // namespace richtext
