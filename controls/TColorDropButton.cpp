#include "controls/TColorDropButton.h"

#include "platform/Prompts.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace controls {

namespace {

QIcon Swatch(platform::TColor color, QSize size)
{
    QPixmap swatch(size);
    swatch.fill(platform::ToQColor(color));
    QPainter painter(&swatch);
    painter.setPen(Qt::black);
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    painter.end();
    return QIcon(swatch);
}

} // namespace

TColorDropButton::TColorDropButton(QWidget* parent) : QPushButton(parent)
{
    setIconSize(QSize(40, 14));
    // The arrow tells that a click drops a list down rather than acting at once.
    setText(QStringLiteral("\u25BE"));
    connect(this, &QPushButton::clicked, this, &TColorDropButton::ShowDropDown);
    SetColor(m_color);
}

void TColorDropButton::SetColor(platform::TColor color)
{
    m_color = color;
    setIcon(Swatch(color, iconSize()));
}

void TColorDropButton::SetPalette(const TColorArrayClass& palette)
{
    m_palette.Assign(palette);
    rebuildSwatches();
}

void TColorDropButton::SetCustomColors(const TColorArrayClass& colors)
{
    m_custom.Assign(colors);
    m_nextCustom = 0;
    rebuildSwatches();
}

void TColorDropButton::fillGrid(QGridLayout* grid, const TColorArrayClass& colors, const char* stem, int row0)
{
    for (int y = 1; y <= colors.YSize(); ++y) {
        for (int x = 1; x <= colors.XSize(); ++x) {
            auto* swatch = new QToolButton(m_dropDown);
            swatch->setObjectName(QStringLiteral("%1_%2_%3").arg(QLatin1String(stem)).arg(x).arg(y));
            swatch->setAutoRaise(true);
            swatch->setIconSize(QSize(16, 16));
            const platform::TColor color = colors.Cell(x, y);
            swatch->setIcon(Swatch(color, swatch->iconSize()));
            swatch->setToolTip(QColor(platform::ToQColor(color)).name());
            connect(swatch, &QToolButton::clicked, this, [this, color] { choose(color); });
            grid->addWidget(swatch, row0 + y - 1, x - 1);
        }
    }
}

void TColorDropButton::rebuildSwatches()
{
    if (!m_dropDown)
        return;
    // A swatch or button of the old list may be the sender of the signal being handled.
    m_dropDown->hide();
    m_dropDown->deleteLater();
    m_dropDown = nullptr;
}

QFrame* TColorDropButton::DropDown()
{
    if (m_dropDown)
        return m_dropDown;
    m_dropDown = new QFrame(this, Qt::Popup);
    m_dropDown->setObjectName(QStringLiteral("ColorDropDown"));
    m_dropDown->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* layout = new QVBoxLayout(m_dropDown);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    auto* fixed = new QGridLayout;
    fixed->setSpacing(1);
    fillGrid(fixed, m_palette, "Palette", 0);
    layout->addLayout(fixed);
    auto* other = new QPushButton(tr("Other..."), m_dropDown);
    other->setObjectName(QStringLiteral("OtherColor"));
    connect(other, &QPushButton::clicked, this, &TColorDropButton::chooseOther);
    layout->addWidget(other);
    auto* customCaption = new QLabel(tr("Custom colors"), m_dropDown);
    layout->addWidget(customCaption);
    auto* custom = new QGridLayout;
    custom->setSpacing(1);
    fillGrid(custom, m_custom, "Custom", 0);
    layout->addLayout(custom);
    return m_dropDown;
}

void TColorDropButton::ShowDropDown()
{
    QFrame* dropDown = DropDown();
    dropDown->adjustSize();
    QPoint at = mapToGlobal(QPoint(0, height()));
    // Keep the list on the screen: above the button when there is no room below it.
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        if (at.y() + dropDown->height() > area.bottom())
            at.setY(mapToGlobal(QPoint(0, 0)).y() - dropDown->height());
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - dropDown->width())));
    }
    dropDown->move(at);
    dropDown->show();
}

void TColorDropButton::choose(platform::TColor color)
{
    if (m_dropDown)
        m_dropDown->hide();
    SetColor(color);
    Q_EMIT colorChosen(color);
}

void TColorDropButton::chooseOther()
{
    if (m_dropDown)
        m_dropDown->hide();
    const std::optional<platform::TColor> chosen = platform::Prompts::Current().ChooseColor(this, m_color);
    if (!chosen)
        return;
    // The new colour takes the next custom place, the oldest giving way once all are used.
    const int count = m_custom.Count();
    if (count > 0) {
        const int n = m_nextCustom % count;
        m_custom.SetCell(n % m_custom.XSize() + 1, n / m_custom.XSize() + 1, *chosen);
        m_nextCustom = (n + 1) % count;
        rebuildSwatches();
    }
    choose(*chosen);
}

} // namespace controls
