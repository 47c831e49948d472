#include "richtext/RtfWriter.h"

#include "platform/Windows1252.h"
#include "richtext/RtfPicture.h"
#include "richtext/RtfReader.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>

#include <cmath>

namespace richtext {

namespace {

constexpr double kTwipsPerPixel = 15.0;
constexpr int kHexPerLine = 128;

struct RunState
{
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int foreground = 0;
    int background = 0;
    int vertical = 0;
};

class Writer
{
public:
    explicit Writer(const QTextDocument& document) : m_doc(document) {}

    QByteArray Run()
    {
        const QString defaultFamily = m_doc.defaultFont().family();
        fontIndex(defaultFamily.isEmpty() ? QStringLiteral("Arial") : defaultFamily);
        QByteArray body;
        for (QTextBlock block = m_doc.begin(); block.isValid(); block = block.next())
            writeBlock(block, body);

        QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl";
        for (int i = 0; i < m_fonts.size(); ++i) {
            out += "{\\f" + QByteArray::number(i) + "\\fnil";
            out += m_fonts[i].compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0 ? "\\fcharset2 "
                                                                                         : "\\fcharset0 ";
            out += escape(m_fonts[i]) + ";}";
        }
        out += "}\r\n";
        if (!m_colors.isEmpty()) {
            out += "{\\colortbl ;";
            for (const QColor& c : m_colors) {
                out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) +
                       "\\blue" + QByteArray::number(c.blue()) + ';';
            }
            out += "}\r\n";
        }
        out += "\\viewkind4\\uc1 ";
        out += body;
        out += "}\r\n";
        return out;
    }

private:
    int fontIndex(const QString& family)
    {
        const qsizetype i = m_fonts.indexOf(family);
        if (i >= 0)
            return int(i);
        m_fonts.append(family);
        return int(m_fonts.size() - 1);
    }

    int colorIndex(const QColor& color)
    {
        const QColor opaque = color.toRgb();
        for (qsizetype i = 0; i < m_colors.size(); ++i) {
            if (m_colors[i].rgb() == opaque.rgb())
                return int(i + 1);
        }
        m_colors.append(opaque);
        return int(m_colors.size());
    }

    static QByteArray number(double twips) { return QByteArray::number(qRound(twips)); }

    void writeBlock(const QTextBlock& block, QByteArray& out)
    {
        const QTextBlockFormat f = block.blockFormat();
        out += "\\pard";
        const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignHCenter)
            out += "\\qc";
        else if (align & Qt::AlignRight)
            out += "\\qr";
        else if (align & Qt::AlignJustify)
            out += "\\qj";
        if (f.leftMargin() != 0)
            out += "\\li" + number(f.leftMargin() * kTwipsPerPixel);
        if (f.rightMargin() != 0)
            out += "\\ri" + number(f.rightMargin() * kTwipsPerPixel);
        if (f.textIndent() != 0)
            out += "\\fi" + number(f.textIndent() * kTwipsPerPixel);
        if (f.topMargin() != 0)
            out += "\\sb" + number(f.topMargin() * kTwipsPerPixel);
        if (f.bottomMargin() != 0)
            out += "\\sa" + number(f.bottomMargin() * kTwipsPerPixel);
        switch (f.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            if (f.lineHeight() != 100)
                out += "\\sl" + number(f.lineHeight() * 240 / 100) + "\\slmult1";
            break;
        case QTextBlockFormat::MinimumHeight:
            out += "\\sl" + number(f.lineHeight() * kTwipsPerPixel) + "\\slmult0";
            break;
        case QTextBlockFormat::FixedHeight:
            out += "\\sl-" + number(f.lineHeight() * kTwipsPerPixel) + "\\slmult0";
            break;
        default:
            break;
        }
        out += ' ';
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat cf = fragment.charFormat();
            if (cf.isImageFormat()) {
                for (int i = 0; i < fragment.length(); ++i)
                    writeImage(cf.toImageFormat(), out);
                continue;
            }
            if (cf.isAnchor() && !cf.anchorHref().isEmpty()) {
                const RunState saved = m_state;
                out += "{\\field{\\*\\fldinst{HYPERLINK \"" + escape(cf.anchorHref()) + "\"}}{\\fldrslt{";
                writeRun(cf, fragment.text(), out);
                out += "}}}";
                m_state = saved;
                continue;
            }
            writeRun(cf, fragment.text(), out);
        }
        // As RichEdit does: a sub- or superscript reaching the paragraph mark makes LibreOffice drop the run
        // and the mark.
        if (m_state.vertical != 0) {
            out += "\\nosupersub";
            m_state.vertical = 0;
        }
        out += "\\par\r\n";
    }

    void writeRun(const QTextCharFormat& cf, const QString& text, QByteArray& out)
    {
        RunState s;
        const QStringList families = cf.fontFamilies().toStringList();
        s.font = families.isEmpty() ? 0 : fontIndex(families.first());
        const double points = cf.hasProperty(QTextFormat::FontPointSize) ? cf.fontPointSize() : 12.0;
        s.halfPoints = int(std::lround(points * 2));
        s.bold = cf.fontWeight() >= QFont::DemiBold;
        s.italic = cf.fontItalic();
        s.underline = cf.fontUnderline();
        s.strike = cf.fontStrikeOut();
        s.foreground = cf.hasProperty(QTextFormat::ForegroundBrush) && cf.foreground().style() != Qt::NoBrush
                           ? colorIndex(cf.foreground().color())
                           : 0;
        s.background = cf.hasProperty(QTextFormat::BackgroundBrush) && cf.background().style() != Qt::NoBrush
                           ? colorIndex(cf.background().color())
                           : 0;
        s.vertical = cf.verticalAlignment() == QTextCharFormat::AlignSuperScript ? 1
                     : cf.verticalAlignment() == QTextCharFormat::AlignSubScript ? 2
                                                                                 : 0;
        QByteArray switches;
        if (s.font != m_state.font)
            switches += "\\f" + QByteArray::number(s.font);
        if (s.halfPoints != m_state.halfPoints)
            switches += "\\fs" + QByteArray::number(s.halfPoints);
        if (s.bold != m_state.bold)
            switches += s.bold ? "\\b" : "\\b0";
        if (s.italic != m_state.italic)
            switches += s.italic ? "\\i" : "\\i0";
        if (s.underline != m_state.underline)
            switches += s.underline ? "\\ul" : "\\ulnone";
        if (s.strike != m_state.strike)
            switches += s.strike ? "\\strike" : "\\strike0";
        if (s.foreground != m_state.foreground)
            switches += "\\cf" + QByteArray::number(s.foreground);
        if (s.background != m_state.background)
            switches += "\\highlight" + QByteArray::number(s.background);
        if (s.vertical != m_state.vertical)
            switches += s.vertical == 1 ? "\\super" : s.vertical == 2 ? "\\sub" : "\\nosupersub";
        if (!switches.isEmpty())
            out += switches + ' ';
        m_state = s;
        // Bytes in a symbol font are read through the font's own table, so its characters go as \uN.
        const QString& family = m_fonts[s.font];
        const bool symbolFont = family.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0 ||
                                family.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive);
        out += escape(text, symbolFont);
    }

    void writeImage(const QTextImageFormat& format, QByteArray& out)
    {
        const double width = format.width();
        const double height = format.height();
        const auto kind = PictureKind(format.intProperty(kOriginalPictureKind));
        // A PNG or JPEG that does not decode is damaged: readers that decode it themselves (LibreOffice)
        // refuse the whole document, so it is written as the grey box shown in its place.
        if (format.hasProperty(kOriginalPictureData) && kind != PictureKind::Png &&
            kind != PictureKind::Jpeg) {
            out += "{\\pict\\" + PictureKindWord(kind).toLatin1();
            writePictureSize(width, height, width, height, out);
            writeHex(format.property(kOriginalPictureData).toByteArray(), out);
            return;
        }
        const QVariant resource = m_doc.resource(QTextDocument::ImageResource, QUrl(format.name()));
        QImage image = resource.value<QImage>();
        if (image.isNull())
            return;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        out += "{\\pict\\pngblip";
        writePictureSize(image.width(), image.height(), width > 0 ? width : image.width(),
                         height > 0 ? height : image.height(), out);
        writeHex(png, out);
    }

    static void writePictureSize(double w, double h, double shownW, double shownH, QByteArray& out)
    {
        out += "\\picw" + QByteArray::number(qRound(w)) + "\\pich" + QByteArray::number(qRound(h));
        out +=
            "\\picwgoal" + number(shownW * kTwipsPerPixel) + "\\pichgoal" + number(shownH * kTwipsPerPixel);
        out += "\r\n";
    }

    static void writeHex(const QByteArray& data, QByteArray& out)
    {
        const QByteArray hex = data.toHex();
        for (qsizetype i = 0; i < hex.size(); i += kHexPerLine) {
            out += hex.mid(i, kHexPerLine);
            out += "\r\n";
        }
        out += "}";
    }

    static QByteArray escape(const QString& text, bool unicodeOnly = false)
    {
        QByteArray out;
        out.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            const char16_t u = c.unicode();
            if (u == '\\' || u == '{' || u == '}') {
                out += '\\';
                out += char(u);
            } else if (u >= 0x20 && u < 0x7F) {
                out += char(u);
            } else if (u == '\t') {
                out += "\\tab ";
            } else if (u == QChar::LineSeparator || u == QChar::ParagraphSeparator || u == '\n') {
                out += "\\line ";
            } else if (u == 0x00A0) {
                out += "\\~";
            } else if (u == 0x00AD) {
                out += "\\-";
            } else if (u == 0x2011) {
                out += "\\_";
            } else if (u < 0x20 || u == QChar::ObjectReplacementCharacter) {
                continue;
            } else if (const auto ansi = platform::EncodeWindows1252(QString(c));
                       ansi && u >= 0x80 && !unicodeOnly) {
                out += "\\'" + ansi->toHex();
            } else {
                out += "\\u" + QByteArray::number(qint16(u)) + '?';
            }
        }
        return out;
    }

    const QTextDocument& m_doc;
    QStringList m_fonts;
    QList<QColor> m_colors;
    RunState m_state;
};

} // namespace

QByteArray WriteRtf(const QTextDocument& document)
{
    return Writer(document).Run();
}

} // namespace richtext
