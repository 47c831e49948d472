#pragma once

#include "platform/TColor.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

namespace platform {
class IniFile;
}

namespace persist {

/** The program's preferences in KV.ini, with their defaults. */
struct Preferences
{
    int mainZoomPercent = 60;
    int propZoomPercent = 30;
    QString fontName = QStringLiteral("Arial");
    int fontSize = 10;
    bool fontBold = false;
    bool fontItalic = false;
    bool fontUnderline = false;
    bool fontStrikeout = false;
    platform::TColor fontColor = 0;
    QString iconFile; // empty: the program folder's MISC1.ICL
    bool iconsVisible = true;
    bool hintsOn = true;
};

/** Reads every preference in the documented order; missing or malformed entries give their defaults. */
Preferences LoadPreferences(const platform::IniFile& ini, const QString& programFolder);
/** Writes the preferences (the caller saves the file). */
void SavePreferences(platform::IniFile& ini, const Preferences& preferences);

/** "<class>_Placement", followed by the pixels per inch when they are above 96. */
QString PlacementSection(const QString& windowClass, int pixelsPerInch);

/**
 * The window rectangle of stored edges (right and bottom one past the window), or nothing when they cannot be
 * a window's: no area, or an edge beyond 32767 either way, as only a damaged file holds.
 */
std::optional<QRect> StoredRect(int left, int top, int right, int bottom);

/** A stored window rectangle moved back onto a screen of the given size, keeping its size. */
QRect FitToScreen(const QRect& stored, const QSize& screen);

/** The rectangle a window of the given size takes centred over another rectangle (integer halves). */
QRect CentredOver(const QSize& window, const QRect& over);

/**
 * The recent-files list: newest first, at most a maximum after each addition. Names are compared as the file
 * system compares them: with letter case on Linux, without on Windows and macOS.
 */
class MruList
{
public:
    explicit MruList(int maximum = 5) : m_maximum(maximum) {}

    const QStringList& Files() const { return m_files; }
    int Maximum() const { return m_maximum; }
    /** Moves a name already listed to the top with its stored spelling, or adds it there. */
    void Add(const QString& file);
    void Remove(const QString& file);
    /** Every entry of the section in file order, whatever their number; the value after the first "=". */
    void Load(const platform::IniFile& ini, const QString& section);
    /** Erases the section and writes F0, F1, ... */
    void Save(platform::IniFile& ini, const QString& section) const;

private:
    int m_maximum;
    QStringList m_files;
};

} // namespace persist
