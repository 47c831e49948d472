#pragma once

#include "platform/ProgramFolder.h"

#include <QString>

class QWidget;

namespace platform {

/**
 * Opens the program's help window at the topic with that context number (0 for the contents); an
 * information box says so when the help pages are not installed.
 */
void ShowHelpTopic(QWidget* parent, int context);

} // namespace platform
