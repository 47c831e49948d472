#pragma once

#include <QString>

namespace platform {

/**
 * The folder the program keeps its files in (preferences, clipboard and scratch files): the executable's
 * folder when it is writable, a per-user data folder otherwise. Always ends with a slash.
 */
QString ProgramFolder();

/** Pins the program folder (tests, portable runs); an empty path returns to the normal rule. */
void SetProgramFolderOverride(const QString& folder);

} // namespace platform
