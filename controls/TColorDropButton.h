#pragma once

#include "controls/TColorArrayClass.h"
#include "platform/TColor.h"

#include <QPushButton>

class QFrame;
class QGridLayout;

namespace controls {

/**
 * A colour drop-down button: it shows its colour, and a click drops down a grid of fixed colours (4 x 5), the
 * user's custom colours (8 x 2) and "Other..." for the colour dialog, whose choice joins the custom colours.
 */
class TColorDropButton : public QPushButton
{
    Q_OBJECT

public:
    explicit TColorDropButton(QWidget* parent = nullptr);

    platform::TColor Color() const { return m_color; }
    /** Shows the colour without reporting a choice. */
    void SetColor(platform::TColor color);

    const TColorArrayClass& Palette() const { return m_palette; }
    void SetPalette(const TColorArrayClass& palette);
    const TColorArrayClass& CustomColors() const { return m_custom; }
    void SetCustomColors(const TColorArrayClass& colors);

    /** The drop-down, built on first use; its swatches are named "Palette_x_y" and "Custom_x_y". */
    QFrame* DropDown();
    void ShowDropDown();

Q_SIGNALS:
    /** The user chose a colour. */
    void colorChosen(platform::TColor color);

private:
    void choose(platform::TColor color);
    void chooseOther();
    void fillGrid(QGridLayout* grid, const TColorArrayClass& colors, const char* stem, int row0);
    void rebuildSwatches();

    platform::TColor m_color = platform::clBlack;
    TColorArrayClass m_palette = TColorArrayClass::DefaultPalette();
    TColorArrayClass m_custom = TColorArrayClass::DefaultCustomColors();
    int m_nextCustom = 0;
    QFrame* m_dropDown = nullptr;
};

} // namespace controls
