#pragma once

#include <QString>

namespace platform {

/**
 * The folder the program keeps its files in (preferences, clipboard and scratch files): the executable's
 * folder when it is a portable copy (its data folder beside it) and writable, a per-user data folder
 * otherwise (an installed program). Always ends with a slash.
 */
QString ProgramFolder();

/** The program folder for an executable in that folder: the folder itself when it is a writable portable
 * copy, else per user. */
QString ProgramFolderFor(const QString& executableFolder, bool writable);

/** Pins the program folder (tests, portable runs); an empty path returns to the normal rule. */
void SetProgramFolderOverride(const QString& folder);

/** The folder of the program's shipped data (help pages, icon libraries, textures). */
QString DataFolder();

/**
 * The shipped data of an executable in that folder: its "data" folder beside it (the build tree, a portable
 * copy), else the installed share folder relative to it, else the share folder of the system's data folders.
 */
QString DataFolderFor(const QString& executableFolder);

} // namespace platform
