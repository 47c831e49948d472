#pragma once

#include "platform/Printers.h"

#include <QString>

class QWidget;

namespace print {

/** The message the printer check gives for a list of printers: empty when there is a default printer. */
QString PrinterCheckMessage(const platform::PrinterList& printers);

/** Checks once that the system has a printer and a default one; shows the message and gives false otherwise.
 */
bool CheckPrinters(QWidget* parent);

} // namespace print
