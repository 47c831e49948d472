#pragma once

#include "platform/TColor.h"

#include <QComboBox>

namespace design {

/** A colour drop-down: the sixteen classic colours by name, and "Other..." for any colour. */
class ColorBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ColorBox(QWidget* parent = nullptr);

    platform::TColor Color() const { return m_color; }
    void SetColor(platform::TColor color);

Q_SIGNALS:
    void colorChosen(platform::TColor color);

private:
    void showColor();

    platform::TColor m_color = platform::clBlack;
};

} // namespace design
