#pragma once

#include <QString>

namespace platform {

/** How many characters of a name taken from a file a message shows. */
inline constexpr qsizetype kShownNameLength = 64;
/** How many characters of a path taken from a file a message shows; longer ones are not real paths. */
inline constexpr qsizetype kShownPathLength = 260;

/**
 * Text read from a file, fit to be shown in a message: every character that is not printable is written as
 * \xHH (or \uHHHH, \UHHHHHHHH), and text longer than maxLength characters is cut there and ends in "...".
 * Printable text that fits comes back unchanged.
 */
QString PrintableName(const QString& text, qsizetype maxLength = kShownNameLength);

} // namespace platform
