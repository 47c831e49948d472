#pragma once

#include <QByteArray>
#include <QString>

namespace richtext {

/**
 * The plain text of an RTF document: its characters with paragraphs as line breaks, without fonts, colours,
 * pictures or other destinations. Lenient with broken input; nesting and output are bounded by the input.
 */
QString RtfPlainText(const QByteArray& rtf);

} // namespace richtext
