#include "cli/ExchangeCommands.h"

#include "exchange/IcsCalendar.h"
#include "exchange/IcsExport.h"
#include "exchange/IcsMonth.h"
#include "platform/Clock.h"
#include "platform/PrintableText.h"
#include "print/MonthFill.h"
#include "recurring/RecurringStore.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>

namespace cli {

namespace {

std::optional<int> Number(const QCommandLineParser& parser, const QString& name, int low, int high,
                          int fallback)
{
    if (!parser.isSet(name))
        return fallback;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

std::shared_ptr<const exchange::IcsCalendar> ReadIcs(const QString& path, QTextStream& err)
{
    auto calendar = std::make_shared<exchange::IcsCalendar>();
    if (!calendar->Load(path)) {
        err << "datoria-cli: " << calendar->ErrorString() << '\n';
        return nullptr;
    }
    for (const QString& warning : calendar->ReadWarnings())
        err << "datoria-cli: " << platform::PrintableName(path, platform::kShownPathLength) << ": " << warning
            << '\n';
    return calendar;
}

} // namespace

void AddExchangeOptions(QCommandLineParser& parser)
{
    parser.addOptions({
        {QStringLiteral("ics"), QStringLiteral("An iCalendar file whose events are put on the days."),
         QStringLiteral("FILE")},
        {QStringLiteral("from"), QStringLiteral("ics: first year of the listed dates."), QStringLiteral("Y")},
        {QStringLiteral("years"), QStringLiteral("ics: years of listed dates (Easter)."),
         QStringLiteral("N")},
    });
}

int ExportIcs(const QCommandLineParser& parser, QTextStream& out, QTextStream& err)
{
    Q_UNUSED(out);
    const std::optional<int> from = Number(parser, QStringLiteral("from"), 1, 9999, platform::Today().year());
    const std::optional<int> years = Number(parser, QStringLiteral("years"), 1, 500, 50);
    if (!from || !years) {
        err << "datoria-cli: --from must be a year from 1 to 9999 and --years a number from 1 to 500\n";
        return 2;
    }
    QStringList lines = recurring::HolidayLines();
    if (parser.isSet(QStringLiteral("store"))) {
        const QString path = parser.value(QStringLiteral("store"));
        if (!QFile::exists(path)) {
            err << "datoria-cli: no store file " << path << '\n';
            return 1;
        }
        lines = recurring::ReadStore(path);
    }
    const exchange::IcsExport result = exchange::ExportStore(lines, *from, std::min(*years, 10000 - *from));
    for (const QString& line : result.skipped)
        err << "datoria-cli: left out, no rule iCalendar can hold: " << recurring::LineDescription(line)
            << '\n';
    const QString path = parser.value(QStringLiteral("o"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(result.ics) != result.ics.size() || !file.commit()) {
        err << "datoria-cli: cannot write " << path << '\n';
        return 1;
    }
    return 0;
}

int IcsDates(const QCommandLineParser& parser, int month, int year, QTextStream& out, QTextStream& err)
{
    const std::shared_ptr<const exchange::IcsCalendar> calendar =
        ReadIcs(parser.value(QStringLiteral("ics")), err);
    if (!calendar)
        return 1;
    const exchange::MonthImport import =
        exchange::ImportMonth(*calendar, month, year, QTimeZone::systemTimeZone());
    for (const QString& warning : import.warnings)
        err << "datoria-cli: " << warning << '\n';
    for (const exchange::MonthEntry& entry : import.entries)
        out << entry.date.toString(Qt::ISODate) << '\t' << entry.text << '\n';
    return 0;
}

bool ReadIcsSource(const QCommandLineParser& parser, print::MonthFillSources& sources, QTextStream& err)
{
    if (!parser.isSet(QStringLiteral("ics")))
        return true;
    sources.events = ReadIcs(parser.value(QStringLiteral("ics")), err);
    return sources.events != nullptr;
}

} // namespace cli
