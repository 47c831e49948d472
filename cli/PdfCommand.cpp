#include "cli/PdfCommand.h"

#include "calendar/TCalendarPanel32.h"
#include "cli/ExchangeCommands.h"
#include "cli/HolidayCommands.h"
#include "persist/formats/Preferences.h"
#include "print/PdfExport.h"
#include "recurring/RecurringStore.h"

#include <QFileInfo>

namespace cli {

namespace {

bool Fills(const QCommandLineParser& parser)
{
    return parser.isSet(QStringLiteral("recurring")) || parser.isSet(QStringLiteral("ics")) ||
           FillsHolidays(parser);
}

/**
 * The store of --recurring and the calendar of --ics with the default editor font; false with a message when
 * one is missing or unreadable.
 */
bool ReadSources(const QCommandLineParser& parser, int firstYear, int lastYear,
                 print::MonthFillSources& sources, QTextStream& err)
{
    if (parser.isSet(QStringLiteral("recurring"))) {
        const QString path = parser.value(QStringLiteral("recurring"));
        if (!QFileInfo(path).isFile()) {
            err << "datoria-cli: no recurring-dates store " << path << '\n';
            return false;
        }
        sources.recurringLines = recurring::ReadStore(path);
    }
    if (!ReadIcsSource(parser, sources, err) || !ReadHolidaySource(parser, firstYear, lastYear, sources, err))
        return false;
    const persist::Preferences defaults;
    sources.attributes.fontName = defaults.fontName;
    sources.attributes.pointSize = defaults.fontSize;
    sources.attributes.bold = defaults.fontBold;
    sources.attributes.italic = defaults.fontItalic;
    sources.attributes.underline = defaults.fontUnderline;
    sources.attributes.strikeOut = defaults.fontStrikeout;
    return true;
}

} // namespace

void AddPdfOptions(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("months"),
                      QStringLiteral("pdf: pages, the month and those after it (1..24)."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("resolution"),
                      QStringLiteral("pdf: dots per inch the pages are drawn at (%1..%2, default %3).")
                          .arg(print::kMinPdfResolution)
                          .arg(print::kMaxPdfResolution)
                          .arg(print::kDefaultPdfResolution),
                      QStringLiteral("DPI")});
    parser.addOption(
        {QStringLiteral("recurring"),
         QStringLiteral("render, pdf, inspect, new: fill the day cells from a recurring-dates store."),
         QStringLiteral("FILE")});
}

int FillPageCells(calendar::TCalendarPanel32& page, const QCommandLineParser& parser, QTextStream& err)
{
    if (!Fills(parser))
        return 0;
    print::PageContent content = print::ContentOf(page);
    print::MonthFillSources sources;
    if (!ReadSources(parser, content.year, content.year, sources, err))
        return 1;
    for (const QString& warning : print::FillMonth(page, content, sources))
        err << "datoria-cli: " << warning << '\n';
    for (int i = 1; i <= calendar::kCellCount; ++i)
        page.CellStorage(i).SetRtfText(content.cells[size_t(i - 1)]);
    return 0;
}

int ExportPdf(calendar::TCalendarPanel32& page, const QCommandLineParser& parser, QTextStream& err)
{
    print::PdfExportOptions options;
    if (parser.isSet(QStringLiteral("months"))) {
        bool ok = false;
        options.months = parser.value(QStringLiteral("months")).toInt(&ok);
        if (!ok || options.months < 1 || options.months > print::kMaxExportMonths) {
            err << "datoria-cli: --months must be a number from 1 to " << print::kMaxExportMonths << '\n';
            return 1;
        }
    }
    if (parser.isSet(QStringLiteral("resolution"))) {
        bool ok = false;
        options.resolution = parser.value(QStringLiteral("resolution")).toInt(&ok);
        if (!ok || options.resolution < print::kMinPdfResolution ||
            options.resolution > print::kMaxPdfResolution) {
            err << "datoria-cli: --resolution must be a number from " << print::kMinPdfResolution << " to "
                << print::kMaxPdfResolution << '\n';
            return 1;
        }
    }
    if (Fills(parser)) {
        options.fill = true;
        const int year = print::ContentOf(page).year;
        if (!ReadSources(parser, year, year + (options.months + 11) / 12, options.sources, err))
            return 1;
    }
    QStringList warnings;
    options.warnings = &warnings;
    const QString path = parser.value(QStringLiteral("o"));
    if (QFileInfo(path).suffix().toLower() != QLatin1String("pdf")) {
        err << "datoria-cli: the output file must end in .pdf: " << path << '\n';
        return 2;
    }
    QString error;
    const print::ExportResult result = print::ExportPdf(page, options, path, error);
    warnings.removeDuplicates();
    for (const QString& warning : warnings)
        err << "datoria-cli: " << warning << '\n';
    if (result != print::ExportResult::Written) {
        err << "datoria-cli: " << error << '\n';
        return 1;
    }
    return 0;
}

} // namespace cli
