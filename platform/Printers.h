#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

/** The printers the system lists and the one it prints on by default (empty when none is chosen). */
struct PrinterList
{
    QStringList names;
    QString defaultName;
};

/** The system's printers, from Qt's print support (CUPS on Linux), or the list pinned for tests. */
PrinterList SystemPrinters();

/** Pins what SystemPrinters() answers (tests); nothing returns to the system's own list. */
void SetPrinterListOverride(std::optional<PrinterList> printers);

} // namespace platform
