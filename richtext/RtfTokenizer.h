#pragma once

#include "richtext/RtfControlWords.h"

#include <QByteArray>
#include <QByteArrayView>

namespace richtext {

/** One piece of RTF: a brace, a control word or symbol, a hex byte, a run of text bytes or a binary block. */
struct RtfToken
{
    enum Type
    {
        GroupStart,
        GroupEnd,
        Word,   // text = the letters, word = what they name, param when hasParam
        Symbol, // symbol = the character after the backslash ('\n' for a backslash before a line end)
        Hex,    // byte = the value of \'hh
        Text,   // text = raw bytes (never braces, backslashes or line ends)
        Binary, // text = the bytes of \binN
        End,
    };
    Type type = End;
    QByteArrayView text;
    ControlWord word = ControlWord::Other;
    int param = 0;
    bool hasParam = false;
    char symbol = 0;
    unsigned char byte = 0;
};

/**
 * Splits RTF bytes into tokens. Lenient: over-long control words are read whole and reported, parameters are
 * clamped to 32 bits, malformed hex is passed over, \bin never reads past the end.
 */
class RtfTokenizer
{
public:
    explicit RtfTokenizer(QByteArrayView data) : m_data(data) {}
    RtfToken Next();
    qsizetype Position() const { return m_pos; }

private:
    QByteArrayView m_data;
    qsizetype m_pos = 0;
};

/** The value of a hexadecimal digit, or -1. */
int HexValue(char c);

/** Control words longer than this are not RTF; their letters are consumed and the word ignored. */
inline constexpr int kMaxControlWordLength = 32;

} // namespace richtext
