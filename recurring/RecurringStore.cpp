#include "recurring/RecurringStore.h"

#include "calendar/DateRules.h"
#include "platform/ProgramFolder.h"
#include "platform/SaveFile.h"
#include "platform/Windows1252.h"
#include "recurring/RecurringFormula.h"

#include <QFile>
#include <QStringDecoder>

namespace recurring {

QString MakeLine(const QString& description, const QString& formula)
{
    return description.left(kDescriptionWidth).leftJustified(kDescriptionWidth, u' ') +
           formula.left(kFormulaWidth).leftJustified(kFormulaWidth, u' ');
}

QString LineDescription(const QString& line)
{
    return line.left(kDescriptionWidth).trimmed();
}

QString LineFormula(const QString& line)
{
    return line.mid(kDescriptionWidth, kFormulaWidth);
}

QChar LineKind(const QString& line)
{
    return line.size() > kDescriptionWidth ? line.at(kDescriptionWidth) : QChar();
}

QString RowText(const QString& line)
{
    const QChar kind = LineKind(line);
    const QString words = Describe(LineFormula(line));
    // The later kinds show their words too; the original Easter words and unknown kinds show the description.
    if (kind != u'@' && kind != u'$' && kind != u'%' && words.isEmpty())
        return line.left(kDescriptionWidth);
    return LineDescription(line) + QStringLiteral(" (") + words + u')';
}

QStringList HolidayLines()
{
    // Daylight saving time follows the United States' rules in force since 2007.
    static const char* const kTable[][2] = {
        {"April Fools' Day", "@0401"},
        {"Armed Forces Day", "$2 6 5"},
        {"Christmas Day", "@1225"},
        {"Daylight Saving Time begins", "$1 0 3"},
        {"Daylight Saving Time ends", "$0 0 11"},
        {"Easter", "#EASTER"},
        {"Father's Day", "$2 0 6"},
        {"Flag Day", "@0614"},
        {"Good Friday", "#GOODFRIDAY"},
        {"Groundhog Day", "@0202"},
        {"Halloween", "@1031"},
        {"Independence Day", "@0704"},
        {"Labor Day", "$0 1 9"},
        {"Lincoln's Birthday", "@0212"},
        {"Martin Luther King Day", "$2 1 1"},
        {"Memorial Day", "$5 1 5"},
        {"Mother's Day", "$1 0 5"},
        {"New Year's Day", "@0101"},
        {"Palm Sunday", "#PALMSUNDAY"},
        {"President's Day", "$2 1 2"},
        {"St. Patrick's Day", "@0317"},
        {"Thanksgiving Day", "$3 4 11"},
        {"United Nations Day", "@1024"},
        {"Valentine's Day", "@0214"},
        {"Veterans Day", "@1111"},
        {"Washington's Birthday", "@0222"},
    };
    QStringList lines;
    for (const auto& [description, formula] : kTable)
        lines.append(HolidayLine(QString::fromLatin1(description), QString::fromLatin1(formula)));
    return lines;
}

QString HolidayLine(const QString& description, const QString& formula)
{
    // An 11-letter built-in word keeps its last letter at position 131.
    QString line = description.left(kDescriptionWidth).leftJustified(kDescriptionWidth, u' ');
    return line + (formula.size() > kFormulaWidth ? formula : formula.leftJustified(kFormulaWidth, u' '));
}

int AddMissingLines(QStringList& lines, const QStringList& added)
{
    int count = 0;
    for (const QString& line : added) {
        if (!lines.contains(line, Qt::CaseInsensitive)) {
            lines.append(line);
            ++count;
        }
    }
    return count;
}

QString StorePath()
{
    return platform::ProgramFolder() + QStringLiteral("KVRECUR.DAX");
}

QString OldStorePath()
{
    return platform::ProgramFolder() + QStringLiteral("KVRECUR.DAT");
}

QStringList ReadStore(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    QString text;
    bool ascii = true;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (!ascii) {
        QStringDecoder utf8(QStringConverter::Utf8);
        text = utf8.decode(bytes);
        if (utf8.hasError())
            text = platform::DecodeWindows1252(bytes);
    } else {
        text = QString::fromLatin1(bytes);
    }
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool WriteStore(const QString& path, const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    const std::optional<QByteArray> ansi = platform::EncodeWindows1252(text);
    const QByteArray bytes = ansi ? *ansi : text.toUtf8();
    platform::SaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

bool ConvertOldStore(const QString& oldPath, const QString& newPath)
{
    if (!QFile::exists(oldPath))
        return true;
    QStringList lines = ReadStore(oldPath);
    for (QString& line : lines) {
        const QString description =
            line.mid(4, 150).left(kDescriptionWidth).leftJustified(kDescriptionWidth, u' ');
        line = description + u'@' + line.left(4).leftJustified(kFormulaWidth, u' ');
    }
    if (!WriteStore(newPath, lines))
        return false;
    QFile::remove(oldPath);
    return true;
}

QList<MonthMatch> LinesInMonth(const QStringList& lines, int month, int year)
{
    QList<MonthMatch> matches;
    for (const QString& line : lines) {
        const QList<int> days =
            Resolve(LineFormula(line) + line.mid(kDescriptionWidth + kFormulaWidth), month, year);
        if (!days.isEmpty())
            matches.append({line, days});
    }
    return matches;
}

} // namespace recurring

namespace recurring {

namespace {

QDate BuiltInDay(const QString& line, int year)
{
    const QString word = line.mid(kDescriptionWidth, kFormulaWidth + 1).trimmed().toUpper();
    if (word == QLatin1String("#EASTER"))
        return EasterSunday(year);
    if (word == QLatin1String("#GOODFRIDAY"))
        return GoodFriday(year);
    if (word == QLatin1String("#PALMSUNDAY"))
        return PalmSunday(year);
    return QDate();
}

bool KnownBuiltIn(const QString& line)
{
    const QString word = line.mid(kDescriptionWidth, kFormulaWidth + 1).trimmed().toUpper();
    return word == QLatin1String("#EASTER") || word == QLatin1String("#GOODFRIDAY") ||
           word == QLatin1String("#PALMSUNDAY");
}

} // namespace

QStringList LinesForMonth(const QStringList& lines, int month, int year)
{
    QStringList kept;
    for (const QString& line : lines) {
        if (line.size() <= kDescriptionWidth) {
            kept.append(line);
            continue;
        }
        const QChar kind = LineKind(line);
        bool keep = true;
        if (kind == u'#') {
            if (KnownBuiltIn(line)) {
                const QDate day = BuiltInDay(line, year);
                keep = day.month() == month && day.year() == year;
            } else if (!Describe(LineFormula(line)).isEmpty()) {
                keep = !Resolve(LineFormula(line), month, year).isEmpty();
            }
        } else if (kind == u'>') {
            if (ParseOnOrAfter(LineFormula(line)))
                keep = !Resolve(LineFormula(line), month, year).isEmpty();
        } else if (kind == u'$') {
            if (const auto f = ParseSpecial(LineFormula(line)))
                keep = f->month == 0 || f->month == month;
        } else if (kind == u'@') {
            if (const auto f = ParseDayOfMonth(LineFormula(line)))
                keep = f->month == 0 || f->month == month;
        }
        if (keep)
            kept.append(line);
    }
    return kept;
}

QList<DayText> FillPlan(const QStringList& chosen, int month, int year)
{
    QList<DayText> plan;
    for (const QString& line : chosen) {
        const QString untrimmed = line.left(kDescriptionWidth);
        const QString trimmed = untrimmed.trimmed();
        const QChar kind = LineKind(line);
        if (kind == u'#' && KnownBuiltIn(line)) {
            const QDate day = BuiltInDay(line, year);
            if (day.isValid() && day.month() == month && day.year() == year)
                plan.append({day.day(), untrimmed});
        } else if (kind == u'$' || kind == u'@' || kind == u'#' || kind == u'>') {
            for (int day : Resolve(LineFormula(line), month, year))
                plan.append({day, trimmed});
        } else if (kind == u'%') {
            for (int day : Resolve(LineFormula(line), month, year))
                plan.append({day, untrimmed});
        }
    }
    return plan;
}

} // namespace recurring
