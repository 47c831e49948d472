#include "cli/CliCommand.h"

#include "calendar/TCalendarPanel32.h"
#include "cli/PageInspector.h"
#include "cli/PageOptions.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QImageWriter>
#include <QJsonDocument>
#include <QSaveFile>

namespace cli {

namespace {

const char* const kUsage =
    "usage: datoria-cli render [options] -o OUT.png|OUT.bmp\n"
    "       datoria-cli inspect [options] --json\n"
    "options: --layout N  --paper letter|a4  --margins L,T,R,B  --month M --year Y [--day D]\n"
    "         --week-start sunday|monday  --zoom Z  --number-position center|upper-right\n"
    "         --headers-style first|three|whole  --title TEXT  --today YYYY-MM-DD\n";

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

} // namespace

int RunCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    AddPageOptions(parser);
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("Output image."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("json"), QStringLiteral("Print JSON.")});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("render or inspect"));

    if (!parser.parse(QStringList{QStringLiteral("datoria-cli")} + arguments)) {
        err << "datoria-cli: " << parser.errorText() << '\n' << kUsage;
        return 2;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1 ||
        (positional[0] != QLatin1String("render") && positional[0] != QLatin1String("inspect"))) {
        err << "datoria-cli: expected one command, render or inspect\n" << kUsage;
        return 2;
    }
    const bool render = positional[0] == QLatin1String("render");
    if (render && !parser.isSet(QStringLiteral("o"))) {
        err << "datoria-cli: render needs an output file: -o OUT.png or -o OUT.bmp\n";
        return 2;
    }
    if (!render && !parser.isSet(QStringLiteral("json"))) {
        err << "datoria-cli: inspect prints JSON only; add --json\n";
        return 2;
    }

    QString error;
    const std::optional<PageOptions> options = ReadPageOptions(parser, error);
    if (!options) {
        err << "datoria-cli: " << error << '\n';
        return 2;
    }

    calendar::TCalendarPanel32 page;
    ApplyPageOptions(page, *options);
    const QImage image = page.RenderToBitmap();

    if (render) {
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
