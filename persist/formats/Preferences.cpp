#include "persist/formats/Preferences.h"

#include "platform/IniFile.h"

namespace persist {

namespace {
const QString kZooming = QStringLiteral("Zooming");
const QString kFont = QStringLiteral("Default Font");
const QString kIcons = QStringLiteral("Icons");
const QString kHints = QStringLiteral("Hints");
} // namespace

Preferences LoadPreferences(const platform::IniFile& ini, const QString& programFolder)
{
    Preferences p;
    p.mainZoomPercent = ini.ReadInteger(kZooming, QStringLiteral("Main"), p.mainZoomPercent);
    p.propZoomPercent = ini.ReadInteger(kZooming, QStringLiteral("Prop"), p.propZoomPercent);
    p.fontName = ini.ReadString(kFont, QStringLiteral("Name"), p.fontName);
    // A size no font dialog offers comes from a damaged file; the editor would lay text out at it.
    if (const int size = ini.ReadInteger(kFont, QStringLiteral("Size"), p.fontSize);
        size >= 1 && size <= 1638)
        p.fontSize = size;
    p.fontBold = ini.ReadBool(kFont, QStringLiteral("Bold"), p.fontBold);
    p.fontItalic = ini.ReadBool(kFont, QStringLiteral("Italic"), p.fontItalic);
    p.fontUnderline = ini.ReadBool(kFont, QStringLiteral("Underline"), p.fontUnderline);
    p.fontStrikeout = ini.ReadBool(kFont, QStringLiteral("Strikeout"), p.fontStrikeout);
    p.fontColor = ini.ReadInteger(kFont, QStringLiteral("Color"), p.fontColor);
    p.iconFile = ini.ReadString(kIcons, QStringLiteral("File"), programFolder + QStringLiteral("MISC1.ICL"));
    p.iconsVisible = ini.ReadBool(kIcons, QStringLiteral("Visible"), p.iconsVisible);
    p.hintsOn = ini.ReadBool(kHints, QStringLiteral("On"), p.hintsOn);
    return p;
}

void SavePreferences(platform::IniFile& ini, const Preferences& p)
{
    ini.WriteInteger(kZooming, QStringLiteral("Main"), p.mainZoomPercent);
    ini.WriteInteger(kZooming, QStringLiteral("Prop"), p.propZoomPercent);
    ini.WriteString(kFont, QStringLiteral("Name"), p.fontName);
    ini.WriteInteger(kFont, QStringLiteral("Size"), p.fontSize);
    ini.WriteBool(kFont, QStringLiteral("Bold"), p.fontBold);
    ini.WriteBool(kFont, QStringLiteral("Italic"), p.fontItalic);
    ini.WriteBool(kFont, QStringLiteral("Underline"), p.fontUnderline);
    ini.WriteBool(kFont, QStringLiteral("Strikeout"), p.fontStrikeout);
    ini.WriteInteger(kFont, QStringLiteral("Color"), p.fontColor);
    ini.WriteBool(kIcons, QStringLiteral("Visible"), p.iconsVisible);
    ini.WriteBool(kHints, QStringLiteral("On"), p.hintsOn);
    ini.WriteString(kIcons, QStringLiteral("File"), p.iconFile);
}

QString PlacementSection(const QString& windowClass, int pixelsPerInch)
{
    QString name = windowClass + QStringLiteral("_Placement");
    if (pixelsPerInch > 96)
        name += QString::number(pixelsPerInch);
    return name;
}

std::optional<QRect> StoredRect(int left, int top, int right, int bottom)
{
    constexpr int kLimit = 32767;
    for (int edge : {left, top, right, bottom}) {
        if (edge < -kLimit || edge > kLimit)
            return std::nullopt;
    }
    if (right <= left || bottom <= top)
        return std::nullopt;
    return QRect(left, top, right - left, bottom - top);
}

QRect FitToScreen(const QRect& stored, const QSize& screen)
{
    // Edges as stored: right and bottom are the positions one past the window.
    int left = stored.left(), top = stored.top();
    int right = stored.left() + stored.width(), bottom = stored.top() + stored.height();
    if (screen.width() < right) {
        left -= right - screen.width();
        right = screen.width();
    }
    if (screen.height() < bottom) {
        top -= bottom - screen.height();
        bottom = screen.height();
    }
    return QRect(left, top, right - left, bottom - top);
}

QRect CentredOver(const QSize& window, const QRect& over)
{
    return QRect(over.left() + (over.width() - window.width()) / 2,
                 over.top() + (over.height() - window.height()) / 2, window.width(), window.height());
}

namespace {

// Paths are the same file when the file system says so: letter case counts except where the system ignores
// it.
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
#endif

} // namespace

void MruList::Add(const QString& file)
{
    for (qsizetype i = 0; i < m_files.size(); ++i) {
        if (m_files[i].compare(file, kPathCase) == 0) {
            m_files.move(i, 0);
            return;
        }
    }
    m_files.prepend(file);
    while (m_files.size() > m_maximum)
        m_files.removeLast();
}

void MruList::Remove(const QString& file)
{
    m_files.removeIf([&file](const QString& f) { return f.compare(file, kPathCase) == 0; });
}

void MruList::Load(const platform::IniFile& ini, const QString& section)
{
    m_files.clear();
    for (const QString& line : ini.SectionLines(section))
        m_files.append(line.mid(line.indexOf(u'=') + 1));
}

void MruList::Save(platform::IniFile& ini, const QString& section) const
{
    ini.EraseSection(section);
    for (qsizetype i = 0; i < m_files.size(); ++i)
        ini.WriteString(section, QStringLiteral("F") + QString::number(i), m_files[i]);
}

} // namespace persist
