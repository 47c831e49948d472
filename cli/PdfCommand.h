#pragma once

#include <QCommandLineParser>
#include <QTextStream>

namespace calendar {
class TCalendarPanel32;
}

namespace cli {

/** Adds --months and --recurring, the options of "pdf" (and --recurring of "render"). */
void AddPdfOptions(QCommandLineParser& parser);

/** render --recurring: fills the page's own day cells from the store. Returns the exit code (0, or 1). */
int FillFromStore(calendar::TCalendarPanel32& page, const QCommandLineParser& parser, QTextStream& err);

/** pdf: the page and the months after it as one PDF file. Returns the exit code. */
int ExportPdf(calendar::TCalendarPanel32& page, const QCommandLineParser& parser, QTextStream& err);

} // namespace cli
