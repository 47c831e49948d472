#pragma once

#include "platform/TColor.h"

#include <QPushButton>

namespace controls {

/** A button that shows a colour beside its caption and opens the colour choice when clicked. */
class TColorButton : public QPushButton
{
    Q_OBJECT

public:
    explicit TColorButton(const QString& caption, QWidget* parent = nullptr);

    platform::TColor Color() const { return m_color; }
    /** Shows the colour without reporting a choice. */
    void SetColor(platform::TColor color);

Q_SIGNALS:
    /** The user chose a colour. */
    void colorChosen(platform::TColor color);

private:
    void choose();

    platform::TColor m_color = platform::clWhite;
};

} // namespace controls
