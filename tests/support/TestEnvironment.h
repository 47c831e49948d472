#pragma once

#include <QDate>

namespace testsupport {

/**
 * Pins what page tests depend on: the locale (English, United States), 96 pixels per inch, test-mode standard
 * paths and "today".
 */
void PinEnvironment(const QDate& today = QDate(2026, 12, 7));

} // namespace testsupport
