#include "supertext/SampleArea.h"

#include <QEvent>

namespace supertext {

SampleArea::SampleArea(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void SampleArea::Track(QWidget* example)
{
    m_example = example;
    example->installEventFilter(this);
    fit();
}

void SampleArea::fit()
{
    resize(std::max(m_example->x() + m_example->width(), 1),
           std::max(m_example->y() + m_example->height(), 1));
}

bool SampleArea::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_example && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        fit();
    return QWidget::eventFilter(watched, event);
}

} // namespace supertext
