#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

/**
 * Runs one datoria-cli command line (arguments without the program name): "render" writes a page image,
 * "inspect" prints the page as JSON. Returns the exit code; messages go to err.
 */
int RunCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace cli
