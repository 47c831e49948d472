#pragma once

#include <QByteArray>

class QTextDocument;

namespace richtext {

/**
 * Writes a document as RTF in the shape classic RichEdit controls write it, so other programs read it:
 * {\rtf1\ansi\ansicpg1252\deff0... with font and colour tables, one \uc1, format changes as switches, \par
 * after every paragraph, Windows-1252 characters as \'hh and everything else as \uN?, pictures as PNG.
 */
QByteArray WriteRtf(const QTextDocument& document);

} // namespace richtext
