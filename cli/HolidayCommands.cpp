#include "cli/HolidayCommands.h"

#include "holidays/HolidayCalculator.h"
#include "holidays/HolidayDatabase.h"

namespace cli {

namespace {

const QString kList = QStringLiteral("list");
const QString kYear = QStringLiteral("year");
const QString kLang = QStringLiteral("lang");
const QString kTypes = QStringLiteral("types");
const QString kHolidays = QStringLiteral("holidays");

const holidays::HolidayDatabase* Database(QTextStream& err)
{
    const holidays::HolidayDatabase* database = holidays::HolidayDatabase::shared();
    if (!database)
        err << "datoria-cli: the holiday data cannot be read: " << holidays::HolidayDatabase::defaultPath()
            << '\n';
    return database;
}

QString Language(const QCommandLineParser& parser)
{
    return parser.isSet(kLang) ? parser.value(kLang).toLower() : QStringLiteral("en");
}

std::optional<holidays::HolidayTypes> Types(const QCommandLineParser& parser, QTextStream& err)
{
    if (!parser.isSet(kTypes))
        return holidays::HolidayTypes(holidays::HolidayType::Public);
    const std::optional<holidays::HolidayTypes> types = holidays::ParseHolidayTypes(parser.value(kTypes));
    if (!types)
        err << "datoria-cli: --types takes public, bank, school, optional and observance, separated by "
               "commas\n";
    return types;
}

std::optional<holidays::AreaRules> Area(const holidays::HolidayDatabase& database, const QString& code,
                                        QTextStream& err)
{
    std::optional<holidays::AreaRules> rules = database.rules(code);
    if (!rules)
        err << "datoria-cli: no holidays for \"" << code
            << "\"; datoria-cli holidays --list names the countries, holidays --list CC a country's "
               "regions\n";
    return rules;
}

} // namespace

void AddHolidayOptions(QCommandLineParser& parser)
{
    parser.addOptions({
        {kList, QStringLiteral("holidays: list the countries, or with CC a country's states and regions.")},
        {kLang, QStringLiteral("holidays: the language of the names (en, de, fr, it, es, ...)."),
         QStringLiteral("xx")},
        {kTypes, QStringLiteral("holidays: public,bank,school,optional,observance (public by default)."),
         QStringLiteral("LIST")},
        {kHolidays, QStringLiteral("render, pdf: fill the day cells with a country's or region's holidays."),
         QStringLiteral("CC[-RR]")},
    });
}

int Holidays(const QCommandLineParser& parser, QTextStream& out, QTextStream& err)
{
    const QStringList positional = parser.positionalArguments();
    const holidays::HolidayDatabase* database = nullptr;
    if (parser.isSet(kList)) {
        if (positional.size() > 2) {
            err << "datoria-cli: holidays --list takes at most one country code\n";
            return 2;
        }
        if (!(database = Database(err)))
            return 1;
        const QString language = Language(parser);
        if (positional.size() == 1) {
            for (const holidays::HolidayArea& country : database->countries(language))
                out << country.code << '\t' << country.name << '\n';
            return 0;
        }
        if (database->areaName(positional[1]).isEmpty()) {
            err << "datoria-cli: no country or state \"" << positional[1] << "\"\n";
            return 1;
        }
        for (const holidays::HolidayArea& state : database->subdivisions(positional[1], language)) {
            out << state.code << '\t' << state.name << '\n';
            for (const holidays::HolidayArea& region : database->subdivisions(state.code, language))
                out << region.code << '\t' << region.name << '\n';
        }
        return 0;
    }
    bool ok = false;
    const int year = parser.value(kYear).toInt(&ok);
    if (positional.size() != 2 || !ok || year < 1900 || year > 2100) {
        err << "datoria-cli: holidays needs --list, or a country or region code and --year Y (1900 to "
               "2100)\n";
        return 2;
    }
    const std::optional<holidays::HolidayTypes> types = Types(parser, err);
    if (!types)
        return 2;
    if (!(database = Database(err)))
        return 1;
    const std::optional<holidays::AreaRules> rules = Area(*database, positional[1], err);
    if (!rules)
        return 1;
    const holidays::HolidayCalculator calculator(*rules);
    for (const holidays::Holiday& holiday : calculator.holidays(year, Language(parser), *types))
        out << holiday.date.toString(Qt::ISODate) << '\t' << holiday.name << '\t'
            << holidays::HolidayTypeName(holiday.type) << '\n';
    return 0;
}

bool FillsHolidays(const QCommandLineParser& parser)
{
    return parser.isSet(kHolidays);
}

bool ReadHolidaySource(const QCommandLineParser& parser, int first, int last,
                       print::MonthFillSources& sources, QTextStream& err)
{
    if (!FillsHolidays(parser))
        return true;
    const std::optional<holidays::HolidayTypes> types = Types(parser, err);
    if (!types)
        return false;
    const holidays::HolidayDatabase* database = Database(err);
    if (!database)
        return false;
    const std::optional<holidays::AreaRules> rules = Area(*database, parser.value(kHolidays), err);
    if (!rules)
        return false;
    const holidays::HolidayCalculator calculator(*rules);
    for (int year = std::max(first, 1900); year <= std::min(last, 2100); ++year) {
        for (const holidays::Holiday& holiday : calculator.holidays(year, Language(parser), *types)) {
            for (int day = 0; day < holiday.days; ++day)
                sources.datedTexts.append({holiday.date.addDays(day), holiday.name});
        }
    }
    return true;
}

} // namespace cli
