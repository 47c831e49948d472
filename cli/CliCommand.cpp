#include "cli/CliCommand.h"

#include "calendar/DateRules.h"
#include "calendar/TCalendarPanel32.h"
#include "cli/ExchangeCommands.h"
#include "cli/HolidayCommands.h"
#include "cli/PageOptions.h"
#include "cli/PageReport.h"
#include "cli/PdfCommand.h"
#include "cli/PictureCommands.h"
#include "persist/formats/CalendarFile.h"
#include "persist/formats/StyleSheet.h"
#include "persist/stream/StreamDump.h"
#include "persist/stream/StreamError.h"
#include "recurring/RecurringFormula.h"
#include "recurring/RecurringStore.h"
#include "richtext/RichTextRenderer.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "richtext/TVelRichRenderer.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QJsonDocument>
#include <QPainter>
#include <QSaveFile>
#include <QTextDocument>

#include <cmath>
#include <optional>

namespace cli {

namespace {

const char* const kUsage =
    "usage: datoria-cli render [--file FILE.KVF|FILE.KVS] [--objects] [--recurring STORE] [options] -o "
    "OUT.png\n"
    "       datoria-cli pdf [--file FILE.KVF|FILE.KVS] [--months N] [--resolution DPI] [--recurring STORE] "
    "[options] -o "
    "OUT.pdf\n"
    "       datoria-cli inspect [--file FILE.KVF|FILE.KVS] [options] --json\n"
    "       datoria-cli new [options] -o FILE.KVF\n"
    "       datoria-cli dump FILE\n"
    "       datoria-cli rtf IN.rtf --to text|html|rtf|png [--width PX] -o OUT\n"
    "       datoria-cli dates [--store FILE] --month M --year Y\n"
    "       datoria-cli dates --formula FORMULA --year Y\n"
    "       datoria-cli dates --ics FILE.ics --month M --year Y\n"
    "       datoria-cli ics [--store FILE] [--from Y] [--years N] -o OUT.ics\n"
    "       datoria-cli holidays --list [CC]\n"
    "       datoria-cli holidays CC[-RR] --year Y [--lang xx] [--types "
    "public,bank,school,optional,observance]\n"
    "       datoria-cli image IN --to png -o OUT.png\n"
    "       datoria-cli icons FILE [--index I -o OUT.png]\n"
    "options: --layout N  --paper letter|a4  --margins L,T,R,B  --month M --year Y [--day D]\n"
    "         --week-start sunday|monday  --zoom Z  --number-position center|upper-right\n"
    "         --headers-style first|three|whole  --title TEXT  --today YYYY-MM-DD\n"
    "         --ics FILE.ics  (the file's events of the month on their days)\n"
    "         --holidays CC[-RR] [--lang xx] [--types ...]  (the holidays of a country or region)\n"
    "         -h, --help  print this usage\n";

bool WriteImage(const QImage& image, const QString& path, QString& error)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("bmp")) {
        error = QStringLiteral("the output file must end in .png or .bmp: %1").arg(path);
        return false;
    }
    // Written to a temporary file and renamed, so a failed export never leaves half an image.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    QImageWriter writer(&file, suffix.toLatin1());
    if (!writer.write(image)) {
        error = QStringLiteral("cannot write %1: %2").arg(path, writer.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

/** Sets the page up from --file (a calendar, or a style sheet on a new page) and the options. */
bool SetUpPage(calendar::TCalendarPanel32& page, QObject* owner, const QString& file,
               const PageOptions& options, QString& error)
{
    if (file.isEmpty()) {
        ApplyPageOptions(page, options);
        return true;
    }
    const QString suffix = QFileInfo(file).suffix().toUpper();
    if (suffix != QLatin1String("KVF") && suffix != QLatin1String("KVS")) {
        error = QStringLiteral("--file must name a calendar (.KVF) or a style sheet (.KVS): %1").arg(file);
        return false;
    }
    PageOptions none;
    none.today = options.today;
    ApplyPageOptions(page, none);
    try {
        if (suffix == QLatin1String("KVF")) {
            page.ClearAllCells();
            page.SetUserTitle(QString());
            if (const auto damage = persist::LoadCalendarFile(page, file, owner)) {
                // Output drawn from part of a calendar would pass for the whole of it.
                error = QStringLiteral("cannot read %1: %2").arg(file, persist::DamageMessage(*damage));
                return false;
            }
        } else {
            persist::LoadStyleSheet(page, file);
            page.Relayout(true);
        }
    } catch (const persist::StreamError& e) {
        error = QStringLiteral("cannot read %1: %2").arg(file, e.message());
        return false;
    }
    ApplyOptionsToDocument(page, options);
    return true;
}

/** Converts an RTF file with the rich-text engine: read, then write or render. */
int ConvertRtf(const QString& in, const QString& to, const QString& widthText, const QString& outPath,
               QTextStream& err)
{
    QFile input(in);
    if (!input.open(QIODevice::ReadOnly)) {
        err << "datoria-cli: cannot read " << in << ": " << input.errorString() << '\n';
        return 1;
    }
    bool ok = true;
    const int width = widthText.isEmpty() ? 600 : widthText.toInt(&ok);
    if (!ok || width < 16 || width > 10000) {
        err << "datoria-cli: --width must be a number of pixels from 16 to 10000\n";
        return 2;
    }
    const QByteArray rtf = input.readAll();
    // Plain text is read without a document: no formats are built, no pictures decoded, no fonts needed.
    const bool textOnly = to == QLatin1String("text");
    QString text;
    std::optional<QTextDocument> document;
    if (!textOnly)
        document.emplace();
    const richtext::RtfReadResult read =
        textOnly ? richtext::ReadRtfText(rtf, text) : richtext::ReadRtf(rtf, *document);
    if (!read.hasDocument) {
        err << "datoria-cli: " << in << " is not an RTF file\n";
        return 1;
    }
    // A file cut short is converted as far as it goes; then the tool says so and fails, as for damaged files.
    const auto done = [&] {
        if (read.openGroups == 0)
            return 0;
        err << "datoria-cli: " << in << ": the text ended early, the file is cut short after byte "
            << rtf.size() << "; the output holds what was read\n";
        return 1;
    };
    QByteArray bytes;
    if (textOnly) {
        bytes = text.toUtf8();
    } else if (to == QLatin1String("html")) {
        bytes = document->toHtml().toUtf8();
    } else if (to == QLatin1String("rtf")) {
        bytes = richtext::WriteRtf(*document);
    } else if (to == QLatin1String("png")) {
        document->setDocumentMargin(0);
        document->setTextWidth(width);
        const int height = std::max(1, int(std::ceil(document->size().height())));
        QImage image(width, std::min(height, 20000), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        richtext::RenderDocument(painter, *document, image.rect(), 100);
        painter.end();
        QString error;
        return WriteImage(image, outPath, error) ? done() : (err << "datoria-cli: " << error << '\n', 1);
    } else {
        err << "datoria-cli: --to must be text, html, rtf or png\n";
        return 2;
    }
    QSaveFile file(outPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        err << "datoria-cli: cannot write " << outPath << '\n';
        return 1;
    }
    return done();
}

/** Days of recurring dates: of a store (the built-in holidays without one) in a month, or of a formula in a
 * year. */
int Dates(const QCommandLineParser& parser, QTextStream& out, QTextStream& err)
{
    bool ok = false;
    const int year = parser.value(QStringLiteral("year")).toInt(&ok);
    if (!parser.isSet(QStringLiteral("year")) || !ok || year < calendar::kMinYear ||
        year > calendar::kMaxYear) {
        err << "datoria-cli: dates needs --year Y (1 to 9999)\n";
        return 2;
    }
    auto print = [&out](int y, int m, int d, const QString& text) {
        if (d >= 1 && d <= calendar::DaysInMonth(y, m))
            out << QDate(y, m, d).toString(Qt::ISODate) << '\t' << text << '\n';
    };
    if (parser.isSet(QStringLiteral("formula"))) {
        const QString formula = parser.value(QStringLiteral("formula"));
        for (int m = 1; m <= 12; ++m) {
            for (int d : recurring::Resolve(formula, m, year))
                print(year, m, d, recurring::Describe(formula));
        }
        return 0;
    }
    const int month = parser.value(QStringLiteral("month")).toInt(&ok);
    if (!parser.isSet(QStringLiteral("month")) || !ok || month < 1 || month > 12) {
        err << "datoria-cli: dates needs --month M (1 to 12) or --formula\n";
        return 2;
    }
    if (parser.isSet(QStringLiteral("ics")))
        return IcsDates(parser, month, year, out, err);
    QStringList lines = recurring::HolidayLines();
    if (parser.isSet(QStringLiteral("store"))) {
        const QString path = parser.value(QStringLiteral("store"));
        if (!QFile::exists(path)) {
            err << "datoria-cli: no store file " << path << '\n';
            return 1;
        }
        lines = recurring::ReadStore(path);
    }
    for (const recurring::MonthMatch& match : recurring::LinesInMonth(lines, month, year)) {
        for (int d : match.days)
            print(year, month, d, recurring::LineDescription(match.line));
    }
    return 0;
}

int Dump(const QString& path, QTextStream& out, QTextStream& err)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "datoria-cli: cannot read " << path << ": " << file.errorString() << '\n';
        return 1;
    }
    out << persist::DumpStream(&file);
    return 0;
}

/** The tool's options, for running a command line and for telling what it needs. */
void AddOptions(QCommandLineParser& parser)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    AddPageOptions(parser);
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("Output file."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("json"), QStringLiteral("Print JSON.")});
    parser.addOption(
        {QStringLiteral("objects"), QStringLiteral("render: draw the placed objects over the page.")});
    parser.addOption({QStringLiteral("file"), QStringLiteral("Calendar or style sheet to start from."),
                      QStringLiteral("FILE")});
    parser.addOption(
        {QStringLiteral("to"), QStringLiteral("rtf: text, html, rtf or png."), QStringLiteral("FORMAT")});
    parser.addOption(
        {QStringLiteral("width"), QStringLiteral("rtf: page width in pixels."), QStringLiteral("PX")});
    parser.addOption(
        {QStringLiteral("store"), QStringLiteral("dates: a recurring-dates store."), QStringLiteral("FILE")});
    parser.addOption(
        {QStringLiteral("formula"), QStringLiteral("dates: one formula."), QStringLiteral("FORMULA")});
    AddExchangeOptions(parser);
    AddHolidayOptions(parser);
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Print the usage.")});
    AddPdfOptions(parser);
    parser.addOption(
        {QStringLiteral("index"), QStringLiteral("icons: the icon to write."), QStringLiteral("I")});
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("render, inspect, new, dump or rtf"));
}

} // namespace

ApplicationKind NeededApplication(const QStringList& arguments)
{
    QCommandLineParser parser;
    AddOptions(parser);
    // What the tool does not know may be an option of Qt's own that a graphical application takes away.
    if (!parser.parse(QStringList{QStringLiteral("datoria-cli")} + arguments))
        return ApplicationKind::Widgets;
    if (parser.isSet(QStringLiteral("help")))
        return ApplicationKind::Core;
    const QString command = parser.positionalArguments().value(0);
    if (command == QLatin1String("rtf"))
        return parser.value(QStringLiteral("to")) == QLatin1String("text") ? ApplicationKind::Core
                                                                           : ApplicationKind::Gui;
    if (command == QLatin1String("image") || command == QLatin1String("icons"))
        return ApplicationKind::Gui;
    // The page is a widget: it is drawn, laid out and read as the window shows it.
    if (command == QLatin1String("render") || command == QLatin1String("pdf") ||
        command == QLatin1String("inspect") || command == QLatin1String("new"))
        return ApplicationKind::Widgets;
    return ApplicationKind::Core; // dump, dates, holidays, ics, and the usage for anything else
}

int RunCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    AddOptions(parser);

    if (!parser.parse(QStringList{QStringLiteral("datoria-cli")} + arguments)) {
        err << "datoria-cli: " << parser.errorText() << '\n' << kUsage;
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << kUsage;
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    const QString command = positional.value(0);
    if (command == QLatin1String("dump")) {
        if (positional.size() != 2) {
            err << "datoria-cli: dump needs one file\n" << kUsage;
            return 2;
        }
        return Dump(positional[1], out, err);
    }
    if (command == QLatin1String("dates")) {
        if (positional.size() != 1) {
            err << "datoria-cli: dates takes options only\n" << kUsage;
            return 2;
        }
        return Dates(parser, out, err);
    }
    if (command == QLatin1String("holidays"))
        return Holidays(parser, out, err);
    if (command == QLatin1String("ics")) {
        if (positional.size() != 1 || !parser.isSet(QStringLiteral("o"))) {
            err << "datoria-cli: ics needs an output file: -o FILE.ics\n" << kUsage;
            return 2;
        }
        return ExportIcs(parser, out, err);
    }
    if (command == QLatin1String("rtf")) {
        if (positional.size() != 2 || !parser.isSet(QStringLiteral("to")) ||
            !parser.isSet(QStringLiteral("o"))) {
            err << "datoria-cli: rtf needs an input file, --to and -o\n" << kUsage;
            return 2;
        }
        return ConvertRtf(positional[1], parser.value(QStringLiteral("to")),
                          parser.value(QStringLiteral("width")), parser.value(QStringLiteral("o")), err);
    }
    if (command == QLatin1String("image")) {
        if (positional.size() != 2 || !parser.isSet(QStringLiteral("to")) ||
            !parser.isSet(QStringLiteral("o"))) {
            err << "datoria-cli: image needs an input file, --to and -o\n" << kUsage;
            return 2;
        }
        return ConvertPicture(positional[1], parser.value(QStringLiteral("to")),
                              parser.value(QStringLiteral("o")), err);
    }
    if (command == QLatin1String("icons")) {
        if (positional.size() != 2) {
            err << "datoria-cli: icons needs one file\n" << kUsage;
            return 2;
        }
        return Icons(positional[1], parser.value(QStringLiteral("index")), parser.value(QStringLiteral("o")),
                     out, err);
    }
    const QStringList commands = {QStringLiteral("render"), QStringLiteral("inspect"), QStringLiteral("new"),
                                  QStringLiteral("pdf")};
    if (positional.size() != 1 || !commands.contains(command)) {
        err << "datoria-cli: expected one command, render, pdf, inspect, new, dump, rtf, dates, ics, "
               "holidays, image or icons\n"
            << kUsage;
        return 2;
    }
    if (command != QLatin1String("inspect") && !parser.isSet(QStringLiteral("o"))) {
        err << "datoria-cli: " << command << " needs an output file: -o FILE\n";
        return 2;
    }
    if (command == QLatin1String("inspect") && !parser.isSet(QStringLiteral("json"))) {
        err << "datoria-cli: inspect prints JSON only; add --json\n";
        return 2;
    }
    if (command == QLatin1String("new") && parser.isSet(QStringLiteral("file"))) {
        err << "datoria-cli: new starts from a new document; --file is for render and inspect\n";
        return 2;
    }

    QString error;
    const std::optional<PageOptions> options = ReadPageOptions(parser, error);
    if (!options) {
        err << "datoria-cli: " << error << '\n';
        return 2;
    }

    QObject owner;
    calendar::TCalendarPanel32 page;
    // Rich-text labels on the page paint through the renderer of their window, which the page is here.
    richtext::TVelRichRenderer masterRichText(&page);
    masterRichText.setObjectName(QStringLiteral("MasterVelRichText"));
    if (!SetUpPage(page, &owner, parser.value(QStringLiteral("file")), *options, error)) {
        err << "datoria-cli: " << error << '\n';
        return 1;
    }

    if (command == QLatin1String("pdf"))
        return ExportPdf(page, parser, err);
    if (const int code = FillPageCells(page, parser, err))
        return code;

    if (command == QLatin1String("new")) {
        const QString path = parser.value(QStringLiteral("o"));
        if (QFileInfo(path).suffix().toUpper() != QLatin1String("KVF")) {
            err << "datoria-cli: a calendar file must end in .KVF: " << path << '\n';
            return 2;
        }
        // Files always hold the geometry of zoom 1.
        page.SetZoom(1.0f);
        try {
            persist::SaveCalendarFile(page, path);
        } catch (const persist::StreamError& e) {
            err << "datoria-cli: cannot write " << path << ": " << e.message() << '\n';
            return 1;
        }
        return 0;
    }

    QImage image = page.RenderToBitmap();
    if (command == QLatin1String("render") && parser.isSet(QStringLiteral("objects"))) {
        // The page as the window shows it: the calendar and the objects placed on it.
        image = QImage(page.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        page.render(&image);
    }
    if (command == QLatin1String("render")) {
        if (!WriteImage(image, parser.value(QStringLiteral("o")), error)) {
            err << "datoria-cli: " << error << '\n';
            return 1;
        }
        return 0;
    }
    out << QJsonDocument(InspectPage(page)).toJson(QJsonDocument::Indented);
    return 0;
}

} // namespace cli
