#pragma once

#include <QString>
#include <QStringList>

namespace recurring {

/** Width of a store line's description and formula fields. */
inline constexpr int kDescriptionWidth = 120;
inline constexpr int kFormulaWidth = 10;

/** A store line: the description padded and cut to 120 characters, then the formula padded and cut to 10. */
QString MakeLine(const QString& description, const QString& formula);
/** Positions 1 to 120, blanks trimmed. */
QString LineDescription(const QString& line);
/** Positions 121 to 130. */
QString LineFormula(const QString& line);
/** The kind character at position 121, or a null character for a line without a formula. */
QChar LineKind(const QString& line);
/** "Description (formula in words)"; the description alone for a line whose kind is not @, $ or %. */
QString RowText(const QString& line);

/** The 26 built-in holidays as store lines, in the table's order. */
QStringList HolidayLines();
/** A line as the holiday tables build it: as MakeLine, but an 11-letter built-in word keeps all its letters.
 */
QString HolidayLine(const QString& description, const QString& formula);

/**
 * Adds the lines not already present (whole lines compared without regard to case, padding included), in the
 * given order; returns how many were added.
 */
int AddMissingLines(QStringList& lines, const QStringList& added);

/** The store file beside the program: "KVRECUR.DAX", and its older form "KVRECUR.DAT". */
QString StorePath();
QString OldStorePath();

/**
 * Reads store lines (CR LF or LF ends a line) in Windows-1252, or in UTF-8 when the file is valid UTF-8 and
 * not plain ASCII. A missing file gives no lines.
 */
QStringList ReadStore(const QString& path);
/**
 * Writes the lines with CR LF to a temporary file renamed into place, in Windows-1252 when every character
 * fits, otherwise in UTF-8, so nothing typed is lost. False when the file cannot be written.
 */
bool WriteStore(const QString& path, const QStringList& lines);

/**
 * Converts the older store once: each "MMDD description" line becomes a line with the description and the
 * formula "@MMDD"; the result replaces KVRECUR.DAX and the older file is deleted. Nothing when there is no
 * older file. False when the new file cannot be written (the older one is then kept).
 */
bool ConvertOldStore(const QString& oldPath, const QString& newPath);

/** Store lines that fall in the month, and for each the days it selects. */
struct MonthMatch
{
    QString line;
    QList<int> days;
};
QList<MonthMatch> LinesInMonth(const QStringList& lines, int month, int year);

} // namespace recurring

namespace recurring {

/** The store lines that can fall in the month (the pre-filter of the fill command), in store order. */
QStringList LinesForMonth(const QStringList& lines, int month, int year);

/** One text to put on one day. */
struct DayText
{
    int day = 0;
    QString text;
};
/** What the chosen lines put on which days of the month, in row order then day order. */
QList<DayText> FillPlan(const QStringList& chosen, int month, int year);

} // namespace recurring
