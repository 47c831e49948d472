#pragma once

#include <QString>

class QWidget;

namespace platform {

/**
 * Opens the program's help page at the topic with that context number (its anchor "topic-N") in the browser;
 * an information box says so when the help page is not installed.
 */
void ShowHelpTopic(QWidget* parent, int context);

/** The folder of the program's shipped data (help page, icon libraries, textures). */
QString DataFolder();

} // namespace platform
