#include "tests/support/TestEnvironment.h"

#include "platform/Clock.h"
#include "platform/Printers.h"
#include "platform/Screen.h"

#include <QLocale>
#include <QStandardPaths>

namespace testsupport {

void PinEnvironment(const QDate& today)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QStandardPaths::setTestModeEnabled(true);
    platform::SetPixelsPerInchOverride(96);
    platform::SetTodayOverride(today);
    // One default printer, whatever the machine has, so no printer message interrupts a window test.
    platform::SetPrinterListOverride(
        platform::PrinterList{{QStringLiteral("Test Printer")}, QStringLiteral("Test Printer")});
}

} // namespace testsupport
