#pragma once

#include "platform/TColor.h"

#include <QFlags>
#include <QFont>

namespace platform {

/**
 * What a font dialog edits: the family name, size in points, bold, italic, underline and strike-out (held in
 * the QFont) and the colour of the text.
 */
struct FontChoice
{
    QFont font;
    TColor color = clWindowText;
};

enum class FontDialogOption
{
    /** Offer only fonts drawn from outlines at any size (no bitmap fonts). */
    ScalableOnly = 0x1,
};
Q_DECLARE_FLAGS(FontDialogOptions, FontDialogOption)

} // namespace platform

Q_DECLARE_OPERATORS_FOR_FLAGS(platform::FontDialogOptions)
