#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

/**
 * Runs one datoria-cli command line (arguments without the program name): "render" writes a page image,
 * "inspect" prints the page as JSON. Returns the exit code; messages go to err.
 */
int RunCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

/** How much of Qt a command line needs: the core alone, graphics without widgets, or widgets. */
enum class ApplicationKind
{
    Core,
    Gui,
    Widgets,
};

/**
 * What RunCommand needs for these arguments: commands that draw nothing (the usage, dump, dates, holidays,
 * ics, RTF to text) start without graphics, those that draw off screen without widgets, only the page's
 * widgets.
 */
ApplicationKind NeededApplication(const QStringList& arguments);

} // namespace cli
