#include "tests/support/TestEnvironment.h"

#include "platform/Clock.h"
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
}

} // namespace testsupport
