#include "platform/Printers.h"

#include <QPrinterInfo>

namespace platform {

namespace {
std::optional<PrinterList> g_override;
} // namespace

PrinterList SystemPrinters()
{
    if (g_override)
        return *g_override;
    PrinterList list;
    list.names = QPrinterInfo::availablePrinterNames();
    list.defaultName = QPrinterInfo::defaultPrinterName();
    return list;
}

void SetPrinterListOverride(std::optional<PrinterList> printers)
{
    g_override = std::move(printers);
}

} // namespace platform
