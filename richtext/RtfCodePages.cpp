#include "richtext/RtfCodePages.h"

#include "platform/Windows1252.h"

#include <array>

namespace richtext {

namespace {

const char* DecoderName(int codePage)
{
    switch (codePage) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 874:
        return "windows-874";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 1361:
        return "JOHAB";
    case 10000:
        return "macintosh";
    case 10007:
        return "x-mac-cyrillic";
    case 65001:
        return "UTF-8";
    default:
        return nullptr;
    }
}

// The Symbol font's letters are Greek; the rest of its upper half is mathematics and arrows. Bytes without an
// entry keep a private-use code point of the font, as other readers do.
QChar SymbolChar(unsigned char b)
{
    static const char16_t kGreekUpper[26] = {0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393,
                                             0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D,
                                             0x039F, 0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5,
                                             0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396};
    static const char16_t kGreekLower[26] = {0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3,
                                             0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD,
                                             0x03BF, 0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5,
                                             0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6};
    if (b >= 'A' && b <= 'Z')
        return QChar(kGreekUpper[b - 'A']);
    if (b >= 'a' && b <= 'z')
        return QChar(kGreekLower[b - 'a']);
    switch (b) {
    case 0x22:
        return QChar(0x2200);
    case 0x24:
        return QChar(0x2203);
    case 0x27:
        return QChar(0x220B);
    case 0x2A:
        return QChar(0x2217);
    case 0x2D:
        return QChar(0x2212);
    case 0x40:
        return QChar(0x2245);
    case 0x5E:
        return QChar(0x22A5);
    case 0xA5:
        return QChar(0x221E);
    case 0xA7:
        return QChar(0x2663);
    case 0xA8:
        return QChar(0x2666);
    case 0xA9:
        return QChar(0x2665);
    case 0xAA:
        return QChar(0x2660);
    case 0xAB:
        return QChar(0x2194);
    case 0xAC:
        return QChar(0x2190);
    case 0xAD:
        return QChar(0x2191);
    case 0xAE:
        return QChar(0x2192);
    case 0xAF:
        return QChar(0x2193);
    case 0xB0:
        return QChar(0x00B0);
    case 0xB1:
        return QChar(0x00B1);
    case 0xB4:
        return QChar(0x00D7);
    case 0xB7:
        return QChar(0x2022);
    case 0xB8:
        return QChar(0x00F7);
    case 0xB9:
        return QChar(0x2260);
    case 0xBA:
        return QChar(0x2261);
    case 0xBB:
        return QChar(0x2248);
    case 0xBC:
        return QChar(0x2026);
    case 0xA3:
        return QChar(0x2264);
    case 0xB3:
        return QChar(0x2265);
    case 0xD6:
        return QChar(0x221A);
    case 0xE5:
        return QChar(0x2211);
    default:
        break;
    }
    if (b < 0x80)
        return QChar(char16_t(b));
    return QChar(char16_t(0xF000 + b));
}

} // namespace

int CodePageOfCharset(int charset, int fallback)
{
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return kSymbolCodePage;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return fallback;
    }
}

QString CodePageDecoder::Decode(int codePage, QByteArrayView bytes)
{
    QString out;
    Append(codePage, bytes, out);
    return out;
}

void CodePageDecoder::Append(int codePage, QByteArrayView bytes, QString& out)
{
    if (bytes.isEmpty())
        return;
    // The single-byte tables write straight into the text: most RTF is Windows-1252, read a run at a time.
    const auto appendMapped = [&](auto map) {
        const qsizetype start = out.size();
        out.resize(start + bytes.size());
        char16_t* d = reinterpret_cast<char16_t*>(out.data()) + start;
        for (char b : bytes)
            *d++ = map(static_cast<unsigned char>(b));
    };
    if (codePage == kSymbolCodePage) {
        appendMapped([](unsigned char b) { return SymbolChar(b).unicode(); });
        return;
    }
    if (codePage == kPrivateSymbolCodePage) {
        appendMapped([](unsigned char b) { return char16_t(0xF000 + b); });
        return;
    }
    static const std::array<char16_t, 256> kWindows1252 = [] {
        QByteArray all(256, '\0');
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        const QString decoded = platform::DecodeWindows1252(all);
        std::array<char16_t, 256> table{};
        for (int b = 0; b < 256; ++b)
            table[size_t(b)] = decoded.at(b).unicode();
        return table;
    }();
    const auto appendWindows1252 = [&] { appendMapped([](unsigned char b) { return kWindows1252[b]; }); };
    if (codePage == 1252) {
        appendWindows1252();
        return;
    }
    if (const char* name = DecoderName(codePage)) {
        // Opening a converter costs more than most cells take to read, so converters are kept for the thread.
        thread_local QHash<int, std::shared_ptr<QStringDecoder>> decoders;
        auto& decoder = decoders[codePage];
        if (!decoder)
            decoder = std::make_shared<QStringDecoder>(name, QStringConverter::Flag::Stateless);
        if (decoder->isValid()) {
            out += decoder->decode(bytes);
            return;
        }
    }
    appendWindows1252();
}

} // namespace richtext
