#pragma once

// The benchmarks' sample RTF: 1 MB of WordPad-style paragraphs with bold, italic, underline, colours,
// highlight, a Windows-1252 byte, a \u character and a change of font in every line.

#include <QByteArray>

namespace bench {

inline QByteArray OneMegabyteOfRtf()
{
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}"
        "{\\f1\\fnil\\fcharset0 Arial;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"
        "\r\n\\viewkind4\\uc1\\pard\\sa200\\sl276\\slmult1\\f0\\fs22 ";
    int i = 0;
    while (rtf.size() < 1024 * 1024) {
        rtf +=
            "Paragraph " + QByteArray::number(i++) +
            " has \\b bold\\b0 , \\i italic\\i0 , \\ul underlined\\ulnone  and \\cf1 red\\cf0  words, "
            "\\highlight2 marked\\highlight0  text, a caf\\'e9 , a \\u8364? sign and \\f1\\fs20 another font"
            "\\f0\\fs22  in a line of ordinary text.\\par\r\n";
    }
    return rtf + "}\r\n";
}

} // namespace bench
