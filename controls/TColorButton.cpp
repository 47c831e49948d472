#include "controls/TColorButton.h"

#include "platform/Prompts.h"

#include <QPainter>
#include <QPixmap>

namespace controls {

TColorButton::TColorButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setIconSize(QSize(24, 14));
    connect(this, &QPushButton::clicked, this, &TColorButton::choose);
    SetColor(m_color);
}

void TColorButton::SetColor(platform::TColor color)
{
    m_color = color;
    QPixmap swatch(iconSize());
    swatch.fill(platform::ToQColor(color));
    QPainter painter(&swatch);
    painter.setPen(Qt::black);
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    painter.end();
    setIcon(QIcon(swatch));
}

void TColorButton::choose()
{
    if (const std::optional<platform::TColor> chosen =
            platform::Prompts::Current().ChooseColor(this, m_color)) {
        SetColor(*chosen);
        Q_EMIT colorChosen(*chosen);
    }
}

} // namespace controls
