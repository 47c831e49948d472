#include "richtext/RtfReader.h"

#include "richtext/RtfCodePages.h"
#include "richtext/RtfPicture.h"
#include "richtext/RtfTokenizer.h"

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <optional>
#include <string>

namespace richtext {

namespace {

// Deeper groups than this are read as skipped; real documents nest a few dozen levels.
constexpr int kMaxDepth = 1000;
// The longer side of the grey box that stands for a picture the reader cannot show.
constexpr double kMaxPlaceholderSide = 64.0;
// One twip is a twentieth of a point; layout works in pixels at 96 per inch.
constexpr double kTwipsPerPixel = 15.0;

enum class Dest
{
    Text,
    Skip,
    FontTable,
    ColorTable,
    Picture,
    FieldInstruction,
};

struct CharProps
{
    int font = -1;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int foreground = -1;
    int background = -1;
    int vertical = 0; // 1 superscript, 2 subscript
    QString href;

    friend bool operator==(const CharProps&, const CharProps&) = default;
};

struct ParaProps
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;

    friend bool operator==(const ParaProps&, const ParaProps&) = default;
};

/** What a character format is made of: run properties with the font and colours they stand for. */
struct FormatKey
{
    QString family;
    QFont::StyleHint hint = QFont::AnyStyle;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QColor foreground; // invalid: none
    QColor background;
    int vertical = 0;
    QString href;

    friend bool operator==(const FormatKey&, const FormatKey&) = default;
};

size_t qHash(const FormatKey& k, size_t seed = 0)
{
    return qHashMulti(seed, k.family, int(k.hint), k.halfPoints, k.bold, k.italic, k.underline, k.strike,
                      k.foreground.rgba(), k.background.rgba(), k.vertical, k.href);
}

// Distinct character formats kept for sharing; real documents use a few dozen.
constexpr qsizetype kMaxSharedFormats = 1024;

struct State
{
    Dest dest = Dest::Text;
    Dest resumeDest = Dest::Text; // what \ud or \result returns to inside \upr or \object
    CharProps c;
    ParaProps p;
    int uc = 1;
};

struct FontEntry
{
    QString name;
    QByteArray nameBytes;
    int charset = -1;
    int codePage = 0;
    QFont::StyleHint hint = QFont::AnyStyle;
};

struct Picture
{
    PictureKind kind = PictureKind::Unknown;
    QByteArray data;
    int pendingNibble = -1;
    int picw = 0, pich = 0, goalw = 0, goalh = 0, scalex = 100, scaley = 100;
};

class Parser
{
public:
    /** Reads into a document, replacing its contents. */
    Parser(QByteArrayView rtf, QTextDocument& document) : m_tokens(rtf), m_doc(&document) {}
    /** Reads the text alone, as PlainText gives it from a document read from the same bytes. */
    Parser(QByteArrayView rtf, QString& text) : m_tokens(rtf), m_text(&text) {}

    RtfReadResult Run()
    {
        bool undo = false;
        if (m_doc) {
            m_doc->clear();
            // Reading is not an edit the user can undo, and keeping undo steps for it costs a third of the
            // time.
            undo = m_doc->isUndoRedoEnabled();
            m_doc->setUndoRedoEnabled(false);
            m_cursor = QTextCursor(m_doc);
            m_cursor.beginEditBlock();
        } else {
            m_text->clear();
        }
        m_stack.append(State{});
        bool started = false;
        RtfReadResult result;
        while (true) {
            const RtfToken t = m_tokens.Next();
            if (t.type == RtfToken::End) {
                result.openGroups = int(m_stack.size()) - 1 + m_overflow;
                break;
            }
            if (t.type == RtfToken::GroupStart) {
                started = true;
                groupStart();
                continue;
            }
            if (t.type == RtfToken::GroupEnd) {
                if (!groupEnd())
                    break; // the brace that closes the document: what follows is not RTF
                continue;
            }
            if (!started)
                continue; // text before the first brace is not RTF
            token(t);
        }
        finish();
        if (m_doc) {
            m_cursor.endEditBlock();
            m_doc->setUndoRedoEnabled(undo);
        }
        result.hasDocument = started;
        return result;
    }

private:
    State& state() { return m_stack.last(); }

    // ---- groups

    void groupStart()
    {
        flushBytes();
        m_skip = 0;
        if (m_stack.size() >= kMaxDepth) {
            ++m_overflow;
            return;
        }
        m_stack.append(m_stack.last());
    }

    /** False when the outermost group closed. */
    bool groupEnd()
    {
        flushBytes();
        m_skip = 0;
        m_ignorable = false;
        if (m_overflow > 0) {
            --m_overflow;
            return true;
        }
        if (m_stack.size() <= 1)
            return false;
        const State closed = m_stack.takeLast();
        if (closed.dest == Dest::Picture && state().dest != Dest::Picture)
            finishPicture();
        if (closed.dest == Dest::FontTable)
            finishFontName();
        if (closed.dest == Dest::ColorTable && state().dest != Dest::ColorTable && m_colorPending)
            pushColor();
        return m_stack.size() > 1;
    }

    // ---- tokens

    void token(const RtfToken& t)
    {
        // Groups deeper than the stack keeps are read with the state of the deepest group kept.
        if (m_skip > 0 && (state().dest == Dest::Text || state().dest == Dest::FontTable) &&
            consumeFallback(t))
            return;
        switch (t.type) {
        case RtfToken::Text:
            text(t.text);
            break;
        case RtfToken::Hex:
            hexByte(t.byte);
            break;
        case RtfToken::Binary:
            if (state().dest == Dest::Picture)
                m_picture.data.append(t.text.data(), t.text.size());
            break;
        case RtfToken::Symbol:
            symbol(t.symbol);
            break;
        case RtfToken::Word:
            word(t);
            m_ignorable = false;
            break;
        default:
            break;
        }
    }

    /** Drops fallback characters after \uN: a byte, a hex byte or a control word counts as one. */
    bool consumeFallback(const RtfToken& t)
    {
        switch (t.type) {
        case RtfToken::Text: {
            const qsizetype n = std::min<qsizetype>(m_skip, t.text.size());
            m_skip -= int(n);
            if (n < t.text.size())
                text(t.text.sliced(n));
            return true;
        }
        case RtfToken::Hex:
        case RtfToken::Symbol:
        case RtfToken::Word:
        case RtfToken::Binary:
            --m_skip;
            return true;
        default:
            return false;
        }
    }

    void text(QByteArrayView bytes)
    {
        switch (state().dest) {
        case Dest::Text:
            if (!state().c.hidden)
                addBytes(bytes);
            break;
        case Dest::FontTable:
            for (char b : bytes) {
                if (b == ';')
                    finishFontName();
                else if (m_currentFont >= 0)
                    m_fonts[m_currentFont].nameBytes.append(b);
            }
            break;
        case Dest::ColorTable:
            for (char b : bytes) {
                if (b == ';')
                    pushColor();
            }
            break;
        case Dest::Picture:
            for (char b : bytes) {
                const int nibble = HexValue(b);
                if (nibble < 0)
                    continue;
                if (m_picture.pendingNibble < 0) {
                    m_picture.pendingNibble = nibble;
                } else {
                    m_picture.data.append(char(m_picture.pendingNibble * 16 + nibble));
                    m_picture.pendingNibble = -1;
                }
            }
            break;
        case Dest::FieldInstruction:
            m_fieldInstruction += m_decoder.Decode(codePage(), bytes);
            break;
        case Dest::Skip:
            break;
        }
    }

    void hexByte(unsigned char b)
    {
        const char c = char(b);
        switch (state().dest) {
        case Dest::Text:
            if (state().c.hidden)
                break;
            if (b == 0x0D || b == 0x0A)
                paragraph(); // a line end written as hex ends a paragraph, as other readers take it
            else
                addBytes(QByteArrayView(&c, 1));
            break;
        case Dest::FontTable:
            if (m_currentFont >= 0)
                m_fonts[m_currentFont].nameBytes.append(c);
            break;
        case Dest::FieldInstruction:
            m_fieldInstruction += m_decoder.Decode(codePage(), QByteArrayView(&c, 1));
            break;
        default:
            break;
        }
    }

    void symbol(char s)
    {
        if (s == '*') {
            m_ignorable = true;
            return;
        }
        if (state().dest != Dest::Text) {
            if (state().dest == Dest::FieldInstruction && (s == '\\' || s == '{' || s == '}'))
                m_fieldInstruction += QChar(char16_t(s));
            return;
        }
        switch (s) {
        case '\\':
        case '{':
        case '}': {
            const char c = s;
            addBytes(QByteArrayView(&c, 1));
            break;
        }
        case '~':
            appendText(QString(QChar(0x00A0)));
            break;
        case '-':
            appendText(QString(QChar(0x00AD)));
            break;
        case '_':
            appendText(QString(QChar(0x2011)));
            break;
        case '\n':
            paragraph();
            break;
        case '\t':
            appendText(QStringLiteral("\t"));
            break;
        default:
            break;
        }
    }

    // ---- control words

    void word(const RtfToken& t)
    {
        const ControlWord w = t.word;
        const int p = t.param;
        State& s = state();

        // Destinations first: they decide how everything else in the group is read.
        if (m_ignorable) {
            if (w == ControlWord::shppict)
                return; // the picture in it is the one to show
            if (w == ControlWord::ud) {
                s.dest = s.resumeDest;
                return;
            }
            if (w == ControlWord::fldinst) {
                s.dest = Dest::FieldInstruction;
                m_fieldInstruction.clear();
                return;
            }
            s.dest = Dest::Skip;
            return;
        }
        if (s.dest == Dest::Skip) {
            if (w == ControlWord::result)
                s.dest = s.resumeDest; // an object's result is what it shows
            return;
        }

        if (w == ControlWord::fonttbl) {
            s.dest = Dest::FontTable;
            m_currentFont = -1;
            return;
        }
        if (w == ControlWord::colortbl) {
            s.dest = Dest::ColorTable;
            m_colorPending = false;
            return;
        }
        if (w == ControlWord::pict) {
            flushBytes();
            s.dest = Dest::Picture;
            m_picture = Picture{};
            return;
        }
        if (w == ControlWord::upr || w == ControlWord::object) {
            s.resumeDest = s.dest;
            s.dest = Dest::Skip;
            return;
        }
        if (w == ControlWord::SkippedDestination) {
            s.dest = Dest::Skip;
            return;
        }

        switch (s.dest) {
        case Dest::FontTable:
            fontTableWord(w, t);
            return;
        case Dest::ColorTable:
            if (w == ControlWord::red)
                m_red = p, m_colorPending = true;
            else if (w == ControlWord::green)
                m_green = p, m_colorPending = true;
            else if (w == ControlWord::blue)
                m_blue = p, m_colorPending = true;
            return;
        case Dest::Picture:
            pictureWord(w, t);
            return;
        case Dest::FieldInstruction:
        case Dest::Skip:
            return;
        case Dest::Text:
            break;
        }

        if (w == ControlWord::fldrslt) {
            s.c.href = HyperlinkTarget(m_fieldInstruction);
        } else if (w == ControlWord::par) {
            paragraph();
        } else if (w == ControlWord::line) {
            appendText(QString(QChar(QChar::LineSeparator)));
        } else if (w == ControlWord::tab || w == ControlWord::cell || w == ControlWord::nestcell) {
            appendText(QStringLiteral("\t"));
        } else if (w == ControlWord::row || w == ControlWord::nestrow || w == ControlWord::sect ||
                   w == ControlWord::page) {
            paragraph();
        } else if (w == ControlWord::u && t.hasParam) {
            unicode(p);
        } else if (w == ControlWord::uc && t.hasParam) {
            s.uc = std::clamp(p, 0, 16);
        } else if (w == ControlWord::plain) {
            flushBytes();
            s.c = CharProps{};
            s.c.font = m_defaultFont;
        } else if (w == ControlWord::pard) {
            s.p = ParaProps{};
        } else if (!characterWord(s.c, w, t) && !paragraphWord(s.p, w, t)) {
            documentWord(w, t);
        }
    }

    static QString HyperlinkTarget(const QString& instruction)
    {
        static const QRegularExpression kLink(QStringLiteral("^\\s*HYPERLINK\\s+(?:\"([^\"]*)\"|(\\S+))"),
                                              QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m = kLink.match(instruction);
        if (!m.hasMatch())
            return QString();
        return m.captured(1).isEmpty() ? m.captured(2) : m.captured(1);
    }

    bool characterWord(CharProps& c, ControlWord w, const RtfToken& t)
    {
        const bool on = !t.hasParam || t.param != 0;
        auto set = [this](auto& field, auto value) {
            if (field != value) {
                flushBytes();
                field = value;
            }
        };
        if (w == ControlWord::b)
            set(c.bold, on);
        else if (w == ControlWord::i)
            set(c.italic, on);
        else if (w == ControlWord::ul || w == ControlWord::uld || w == ControlWord::uldash ||
                 w == ControlWord::uldashd || w == ControlWord::uldashdd || w == ControlWord::uldb ||
                 w == ControlWord::ulth || w == ControlWord::ulw || w == ControlWord::ulwave ||
                 w == ControlWord::ulhwave || w == ControlWord::ululdbwave || w == ControlWord::ulthd)
            set(c.underline, on);
        else if (w == ControlWord::ulnone)
            set(c.underline, false);
        else if (w == ControlWord::strike || w == ControlWord::striked)
            set(c.strike, on);
        else if (w == ControlWord::v)
            set(c.hidden, on);
        else if (w == ControlWord::fs && t.hasParam)
            set(c.halfPoints, t.param > 0 && t.param <= 3276 ? t.param : 24);
        else if (w == ControlWord::f && t.hasParam)
            set(c.font, t.param);
        else if (w == ControlWord::cf && t.hasParam)
            set(c.foreground, t.param);
        else if ((w == ControlWord::highlight || w == ControlWord::chcbpat || w == ControlWord::cb) &&
                 t.hasParam)
            set(c.background, t.param);
        else if (w == ControlWord::super)
            set(c.vertical, 1);
        else if (w == ControlWord::sub)
            set(c.vertical, 2);
        else if (w == ControlWord::nosupersub)
            set(c.vertical, 0);
        else if (w == ControlWord::up)
            set(c.vertical, t.hasParam && t.param == 0 ? 0 : 1);
        else if (w == ControlWord::dn)
            set(c.vertical, t.hasParam && t.param == 0 ? 0 : 2);
        else
            return false;
        return true;
    }

    static bool paragraphWord(ParaProps& p, ControlWord w, const RtfToken& t)
    {
        const int v = t.hasParam ? std::clamp(t.param, -31680, 31680) : 0; // 22 inches either way
        if (w == ControlWord::ql)
            p.alignment = Qt::AlignLeft;
        else if (w == ControlWord::qc)
            p.alignment = Qt::AlignHCenter;
        else if (w == ControlWord::qr)
            p.alignment = Qt::AlignRight;
        else if (w == ControlWord::qj)
            p.alignment = Qt::AlignJustify;
        else if (w == ControlWord::li)
            p.leftIndent = v;
        else if (w == ControlWord::ri)
            p.rightIndent = v;
        else if (w == ControlWord::fi)
            p.firstIndent = v;
        else if (w == ControlWord::sb)
            p.spaceBefore = v;
        else if (w == ControlWord::sa)
            p.spaceAfter = v;
        else if (w == ControlWord::sl)
            p.lineSpacing = v;
        else if (w == ControlWord::slmult)
            p.lineMultiple = t.hasParam && t.param != 0;
        else
            return false;
        return true;
    }

    void documentWord(ControlWord w, const RtfToken& t)
    {
        if (w == ControlWord::ansicpg && t.hasParam) {
            flushBytes();
            // Some producers write 65001 as a signed 16-bit number.
            m_ansiCodePage = t.param == -535 ? 65001 : t.param;
        } else if (w == ControlWord::ansi) {
            m_ansiCodePage = 1252;
        } else if (w == ControlWord::mac) {
            m_ansiCodePage = 10000;
        } else if (w == ControlWord::pc) {
            m_ansiCodePage = 437;
        } else if (w == ControlWord::pca) {
            m_ansiCodePage = 850;
        } else if (w == ControlWord::deff && t.hasParam) {
            m_defaultFont = t.param;
            if (state().c.font < 0)
                state().c.font = t.param;
        } else if (w == ControlWord::emdash) {
            appendText(QString(QChar(0x2014)));
        } else if (w == ControlWord::endash) {
            appendText(QString(QChar(0x2013)));
        } else if (w == ControlWord::emspace) {
            appendText(QString(QChar(0x2003)));
        } else if (w == ControlWord::enspace) {
            appendText(QString(QChar(0x2002)));
        } else if (w == ControlWord::qmspace) {
            appendText(QString(QChar(0x2005)));
        } else if (w == ControlWord::bullet) {
            appendText(QString(QChar(0x2022)));
        } else if (w == ControlWord::lquote) {
            appendText(QString(QChar(0x2018)));
        } else if (w == ControlWord::rquote) {
            appendText(QString(QChar(0x2019)));
        } else if (w == ControlWord::ldblquote) {
            appendText(QString(QChar(0x201C)));
        } else if (w == ControlWord::rdblquote) {
            appendText(QString(QChar(0x201D)));
        } else if (w == ControlWord::zwj) {
            appendText(QString(QChar(0x200D)));
        } else if (w == ControlWord::zwnj) {
            appendText(QString(QChar(0x200C)));
        } else if (w == ControlWord::ltrmark) {
            appendText(QString(QChar(0x200E)));
        } else if (w == ControlWord::rtlmark) {
            appendText(QString(QChar(0x200F)));
        }
    }

    void fontTableWord(ControlWord w, const RtfToken& t)
    {
        if (w == ControlWord::u && t.hasParam && m_currentFont >= 0) {
            // A name character outside the font's code page.
            flushFontName();
            FontEntry& f = m_fonts[m_currentFont];
            f.name += QChar(char16_t(t.param < 0 ? t.param + 65536 : t.param));
            m_skip = state().uc;
            return;
        }
        if (w == ControlWord::uc && t.hasParam) {
            state().uc = std::clamp(t.param, 0, 16);
            return;
        }
        if (w == ControlWord::f && t.hasParam) {
            finishFontName();
            m_currentFont = t.param;
            m_fonts[m_currentFont] = FontEntry{};
            return;
        }
        if (m_currentFont < 0)
            return;
        FontEntry& f = m_fonts[m_currentFont];
        if (w == ControlWord::fcharset && t.hasParam)
            f.charset = t.param;
        else if (w == ControlWord::cpg && t.hasParam)
            f.codePage = t.param;
        else if (w == ControlWord::froman)
            f.hint = QFont::Serif;
        else if (w == ControlWord::fswiss)
            f.hint = QFont::SansSerif;
        else if (w == ControlWord::fmodern)
            f.hint = QFont::TypeWriter;
        else if (w == ControlWord::fscript)
            f.hint = QFont::Cursive;
        else if (w == ControlWord::fdecor)
            f.hint = QFont::Decorative;
    }

    /** Decodes the name bytes read so far into the current font's name. */
    void flushFontName()
    {
        if (m_currentFont < 0 || !m_fonts.contains(m_currentFont))
            return;
        FontEntry& f = m_fonts[m_currentFont];
        if (!f.nameBytes.isEmpty()) {
            const int cp = f.codePage > 0 ? f.codePage : CodePageOfCharset(f.charset, m_ansiCodePage);
            f.name += m_decoder.Decode(cp == kSymbolCodePage ? 1252 : cp, f.nameBytes);
            f.nameBytes.clear();
        }
    }

    void finishFontName()
    {
        flushFontName();
        if (m_currentFont >= 0 && m_fonts.contains(m_currentFont))
            m_fonts[m_currentFont].name = m_fonts[m_currentFont].name.trimmed();
    }

    void pushColor()
    {
        if (m_colorPending)
            m_colors.append(
                QColor(std::clamp(m_red, 0, 255), std::clamp(m_green, 0, 255), std::clamp(m_blue, 0, 255)));
        else
            m_colors.append(std::nullopt); // an empty entry: the automatic colour
        m_red = m_green = m_blue = 0;
        m_colorPending = false;
    }

    void pictureWord(ControlWord w, const RtfToken& t)
    {
        const int v = t.hasParam ? t.param : 0;
        if (w == ControlWord::pngblip)
            m_picture.kind = PictureKind::Png;
        else if (w == ControlWord::jpegblip)
            m_picture.kind = PictureKind::Jpeg;
        else if (w == ControlWord::dibitmap)
            m_picture.kind = PictureKind::Dib;
        else if (w == ControlWord::wmetafile)
            m_picture.kind = PictureKind::Wmf;
        else if (w == ControlWord::emfblip)
            m_picture.kind = PictureKind::Emf;
        else if (w == ControlWord::macpict)
            m_picture.kind = PictureKind::MacPict;
        else if (w == ControlWord::picw)
            m_picture.picw = v;
        else if (w == ControlWord::pich)
            m_picture.pich = v;
        else if (w == ControlWord::picwgoal)
            m_picture.goalw = v;
        else if (w == ControlWord::pichgoal)
            m_picture.goalh = v;
        else if (w == ControlWord::picscalex)
            m_picture.scalex = v;
        else if (w == ControlWord::picscaley)
            m_picture.scaley = v;
    }

    void finishPicture()
    {
        const Picture pic = std::move(m_picture);
        m_picture = Picture{};
        if (pic.data.isEmpty() || state().dest != Dest::Text)
            return;
        if (!m_doc) {
            // A picture stands in the text as an object character, which plain text leaves out; it still
            // ends a waiting paragraph, as it does in a document.
            flushRun();
            materializeParagraph();
            return;
        }
        QImage image = DecodePicture(pic.kind, pic.data);
        const int scalex = pic.scalex > 0 && pic.scalex <= 10000 ? pic.scalex : 100;
        const int scaley = pic.scaley > 0 && pic.scaley <= 10000 ? pic.scaley : 100;
        double width = pic.goalw > 0 ? pic.goalw / kTwipsPerPixel : image.width();
        double height = pic.goalh > 0 ? pic.goalh / kTwipsPerPixel : image.height();
        width = std::clamp(width * scalex / 100.0, 1.0, 20000.0);
        height = std::clamp(height * scaley / 100.0, 1.0, 20000.0);
        QTextImageFormat format;
        if (image.isNull()) {
            // Kept as it came, shown as a grey box of its size. The box is one colour, so a small picture of
            // its proportions stretched to the size shows the same, and a size of 20000 pixels square costs
            // kilobytes, not gigabytes.
            const double shrink = std::min(1.0, kMaxPlaceholderSide / std::max(width, height));
            image = QImage(std::max(1, int(width * shrink)), std::max(1, int(height * shrink)),
                           QImage::Format_RGB32);
            image.fill(QColor(0xE0, 0xE0, 0xE0));
            format.setProperty(kOriginalPictureKind, int(pic.kind));
            format.setProperty(kOriginalPictureData, pic.data);
        }
        const QString name = QStringLiteral("rtfimage://%1").arg(++m_imageCount);
        m_doc->addResource(QTextDocument::ImageResource, QUrl(name), image);
        format.setName(name);
        format.setWidth(width);
        format.setHeight(height);
        flushRun();
        materializeParagraph();
        m_cursor.insertImage(format);
    }

    // ---- text

    int codePage()
    {
        const int font = state().c.font >= 0 ? state().c.font : m_defaultFont;
        const auto it = m_fonts.constFind(font);
        if (it == m_fonts.constEnd())
            return m_ansiCodePage;
        if (it->codePage > 0)
            return it->codePage;
        // Wingdings has no Unicode of its own: its bytes keep the font's private-use code points, whether
        // the font table gives it the symbol character set (as Word writes it) or another one.
        if (it->name.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive))
            return kPrivateSymbolCodePage;
        const int cp = CodePageOfCharset(it->charset, m_ansiCodePage);
        if (cp == 1252 && it->name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
            return kSymbolCodePage;
        return cp;
    }

    void addBytes(QByteArrayView bytes)
    {
        const int cp = codePage();
        if (!m_pendingBytes.empty() && cp != m_pendingCodePage)
            flushBytes();
        m_pendingCodePage = cp;
        m_pendingBytes.append(bytes.data(), size_t(bytes.size()));
    }

    void flushBytes()
    {
        if (m_pendingBytes.empty())
            return;
        // Both buffers keep their capacity from one run of bytes to the next.
        m_decoded.truncate(0);
        m_decoder.Append(m_pendingCodePage,
                         QByteArrayView(m_pendingBytes.data(), qsizetype(m_pendingBytes.size())), m_decoded);
        m_pendingBytes.clear();
        appendText(m_decoded);
    }

    void unicode(int value)
    {
        flushBytes();
        if (value < -32768 || value > 65535)
            return; // not a character: its fallback is the text
        m_skip = state().uc;
        const char16_t unit = char16_t(value < 0 ? value + 65536 : value);
        if (QChar::isHighSurrogate(unit)) {
            if (m_highSurrogate)
                appendText(QString(QChar(QChar::ReplacementCharacter)));
            m_highSurrogate = unit;
            return;
        }
        if (QChar::isLowSurrogate(unit)) {
            if (m_highSurrogate) {
                const QChar pair[2] = {QChar(m_highSurrogate), QChar(unit)};
                m_highSurrogate = 0;
                appendText(QString(pair, 2));
            } else {
                appendText(QString(QChar(QChar::ReplacementCharacter)));
            }
            return;
        }
        appendText(QString(QChar(unit)));
    }

    void appendText(const QString& text)
    {
        flushBytes(); // bytes still waiting come first
        if (text.isEmpty() || state().dest != Dest::Text || state().c.hidden)
            return;
        if (m_highSurrogate) {
            m_highSurrogate = 0;
            appendText(QString(QChar(QChar::ReplacementCharacter)));
        }
        materializeParagraph();
        // Runs are compared by their properties; the character format is built once per run.
        if (!m_run.isEmpty() && !(state().c == m_runProps))
            flushRun();
        if (m_run.isEmpty())
            m_runProps = state().c;
        m_run += text;
    }

    void flushRun()
    {
        if (m_run.isEmpty())
            return;
        if (m_doc)
            m_cursor.insertText(m_run, charFormat(m_runProps));
        else
            appendPlainText(m_run);
        m_run.truncate(0); // keeps its capacity for the next run
    }

    /**
     * Adds a run to the plain text as a document takes it and PlainText gives it back: a line end, a CR LF
     * pair, a paragraph separator or a frame mark starts a new paragraph (a line end in the text), a line
     * separator is a line end, and object characters are left out.
     */
    void appendPlainText(const QString& run)
    {
        QString& out = *m_text;
        const qsizetype start = out.size();
        const qsizetype n = run.size();
        out.resize(start + n);
        const char16_t* s = reinterpret_cast<const char16_t*>(run.constData());
        char16_t* d = reinterpret_cast<char16_t*>(out.data()) + start;
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t u = s[i];
            switch (u) {
            case u'\r':
                if (i + 1 < n && s[i + 1] == u'\n')
                    ++i;
                *d++ = u'\n';
                break;
            case u'\n':
            case QChar::ParagraphSeparator:
            case QChar::LineSeparator:
            case 0xFDD0: // beginning of a frame
            case 0xFDD1: // end of a frame
                *d++ = u'\n';
                break;
            case QChar::ObjectReplacementCharacter:
                break;
            default:
                *d++ = u;
                break;
            }
        }
        out.truncate(d - reinterpret_cast<const char16_t*>(out.constData()));
    }

    /**
     * The character format of run properties with the fonts and colours the tables give now. Formats are
     * made once and shared: a document compares a shared format by its cached hash instead of property by
     * property.
     */
    QTextCharFormat charFormat(const CharProps& c)
    {
        FormatKey key;
        const int font = c.font >= 0 ? c.font : m_defaultFont;
        const auto it = m_fonts.constFind(font);
        if (it != m_fonts.constEnd() && !it->name.isEmpty()) {
            key.family = it->name;
            key.hint = it->hint;
        }
        key.halfPoints = c.halfPoints;
        key.bold = c.bold;
        key.italic = c.italic;
        key.underline = c.underline;
        key.strike = c.strike;
        if (c.foreground >= 0 && c.foreground < m_colors.size() && m_colors[c.foreground])
            key.foreground = *m_colors[c.foreground];
        if (c.background >= 0 && c.background < m_colors.size() && m_colors[c.background])
            key.background = *m_colors[c.background];
        key.vertical = c.vertical;
        key.href = c.href;
        const auto known = m_charFormats.constFind(key);
        if (known != m_charFormats.constEnd())
            return *known;
        if (m_charFormats.size() >= kMaxSharedFormats)
            m_charFormats.clear(); // a file of ever new formats costs no more memory than it pays for
        return *m_charFormats.insert(key, MakeCharFormat(key));
    }

    static QTextCharFormat MakeCharFormat(const FormatKey& key)
    {
        QTextCharFormat f;
        if (!key.family.isEmpty()) {
            f.setFontFamilies({key.family});
            f.setFontStyleHint(key.hint);
        }
        f.setFontPointSize(key.halfPoints / 2.0);
        if (key.bold)
            f.setFontWeight(QFont::Bold);
        if (key.italic)
            f.setFontItalic(true);
        if (key.underline)
            f.setFontUnderline(true);
        if (key.strike)
            f.setFontStrikeOut(true);
        if (key.foreground.isValid())
            f.setForeground(key.foreground);
        if (key.background.isValid())
            f.setBackground(key.background);
        if (key.vertical == 1)
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else if (key.vertical == 2)
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        if (!key.href.isEmpty()) {
            f.setAnchor(true);
            f.setAnchorHref(key.href);
        }
        return f;
    }

    /** The block format of paragraph properties; the last one made is shared while they stay the same. */
    const QTextBlockFormat& blockFormat(const ParaProps& p)
    {
        if (!m_haveBlockFormat || !(p == m_blockFormatProps)) {
            m_blockFormat = MakeBlockFormat(p);
            m_blockFormatProps = p;
            m_haveBlockFormat = true;
        }
        return m_blockFormat;
    }

    static QTextBlockFormat MakeBlockFormat(const ParaProps& p)
    {
        QTextBlockFormat f;
        f.setAlignment(p.alignment);
        f.setLeftMargin(p.leftIndent / kTwipsPerPixel);
        f.setRightMargin(p.rightIndent / kTwipsPerPixel);
        f.setTextIndent(p.firstIndent / kTwipsPerPixel);
        f.setTopMargin(p.spaceBefore / kTwipsPerPixel);
        f.setBottomMargin(p.spaceAfter / kTwipsPerPixel);
        if (p.lineSpacing != 0) {
            if (p.lineMultiple)
                f.setLineHeight(std::abs(p.lineSpacing) * 100.0 / 240.0,
                                QTextBlockFormat::ProportionalHeight);
            else if (p.lineSpacing > 0)
                f.setLineHeight(p.lineSpacing / kTwipsPerPixel, QTextBlockFormat::MinimumHeight);
            else
                f.setLineHeight(-p.lineSpacing / kTwipsPerPixel, QTextBlockFormat::FixedHeight);
        }
        return f;
    }

    // A \par ends its paragraph only once more content follows, so the last one adds no empty paragraph.
    void paragraph()
    {
        flushBytes();
        materializeParagraph();
        m_pendingParagraph = true;
        if (m_doc)
            m_pendingParagraphFormat = blockFormat(state().p);
    }

    void materializeParagraph()
    {
        if (!m_pendingParagraph)
            return;
        flushRun();
        if (m_doc) {
            m_cursor.setBlockFormat(m_pendingParagraphFormat);
            m_cursor.insertBlock();
        } else {
            *m_text += u'\n';
        }
        m_pendingParagraph = false;
    }

    void finish()
    {
        while (m_stack.size() > 1 && m_stack.last().dest != Dest::Text && m_stack.last().dest != Dest::Skip) {
            flushBytes();
            groupEnd();
        }
        flushBytes();
        if (m_highSurrogate) {
            m_highSurrogate = 0;
            appendText(QString(QChar(QChar::ReplacementCharacter)));
        }
        flushRun();
        if (m_doc)
            m_cursor.setBlockFormat(m_pendingParagraph ? m_pendingParagraphFormat : blockFormat(state().p));
    }

    RtfTokenizer m_tokens;
    // One of the two: the document read into, or the plain text.
    QTextDocument* m_doc = nullptr;
    QString* m_text = nullptr;
    QTextCursor m_cursor;
    QList<State> m_stack;
    int m_overflow = 0;
    bool m_ignorable = false;
    int m_skip = 0;
    char16_t m_highSurrogate = 0;

    QHash<int, FontEntry> m_fonts;
    int m_currentFont = -1;
    int m_defaultFont = 0;
    int m_ansiCodePage = 1252;
    QList<std::optional<QColor>> m_colors;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorPending = false;
    Picture m_picture;
    int m_imageCount = 0;
    QString m_fieldInstruction;

    CodePageDecoder m_decoder;
    std::string m_pendingBytes;
    int m_pendingCodePage = 1252;
    QString m_decoded;
    QString m_run;
    CharProps m_runProps;
    bool m_pendingParagraph = false;
    QTextBlockFormat m_pendingParagraphFormat;
    QHash<FormatKey, QTextCharFormat> m_charFormats;
    QTextBlockFormat m_blockFormat;
    ParaProps m_blockFormatProps;
    bool m_haveBlockFormat = false;
};

} // namespace

RtfReadResult ReadRtf(QByteArrayView rtf, QTextDocument& document)
{
    return Parser(rtf, document).Run();
}

RtfReadResult ReadRtfText(QByteArrayView rtf, QString& text)
{
    return Parser(rtf, text).Run();
}

QString PlainText(const QTextDocument& document)
{
    QString out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            out += u'\n';
        out += block.text();
    }
    out.replace(QChar(QChar::LineSeparator), u'\n');
    out.remove(QChar(QChar::ObjectReplacementCharacter));
    return out;
}

} // namespace richtext
