#include "design/ColorBox.h"

#include "platform/Prompts.h"

#include <QPainter>
#include <QPixmap>

namespace design {

namespace {

struct Named
{
    const char* name;
    platform::TColor color;
};

constexpr Named kColors[] = {
    {"Black", platform::clBlack}, {"Maroon", platform::clMaroon},   {"Green", platform::clGreen},
    {"Olive", platform::clOlive}, {"Navy", platform::clNavy},       {"Purple", platform::clPurple},
    {"Teal", platform::clTeal},   {"Gray", platform::clGray},       {"Silver", platform::clSilver},
    {"Red", platform::clRed},     {"Lime", platform::clLime},       {"Yellow", platform::clYellow},
    {"Blue", platform::clBlue},   {"Fuchsia", platform::clFuchsia}, {"Aqua", platform::clAqua},
    {"White", platform::clWhite},
};
constexpr int kNamed = int(std::size(kColors));

QIcon Swatch(platform::TColor color)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(platform::ToQColor(color));
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, 13, 13);
    return QIcon(pixmap);
}

} // namespace

ColorBox::ColorBox(QWidget* parent) : QComboBox(parent)
{
    for (const Named& c : kColors)
        addItem(Swatch(c.color), tr(c.name), QVariant::fromValue(c.color));
    addItem(tr("Other..."));
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index < kNamed) {
            m_color = itemData(index).value<platform::TColor>();
        } else {
            const auto chosen = platform::Prompts::Current().ChooseColor(this, m_color);
            if (chosen)
                m_color = *chosen;
            showColor();
        }
        Q_EMIT colorChosen(m_color);
    });
    showColor();
}

void ColorBox::SetColor(platform::TColor color)
{
    m_color = color;
    showColor();
}

void ColorBox::showColor()
{
    for (int i = 0; i < kNamed; ++i) {
        if (kColors[i].color == m_color) {
            setCurrentIndex(i);
            setItemText(kNamed, tr("Other..."));
            return;
        }
    }
    setItemIcon(kNamed, Swatch(m_color));
    setCurrentIndex(kNamed);
}

} // namespace design
