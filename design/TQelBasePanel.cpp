#include "design/TQelBasePanel.h"

#include <QCoreApplication>

#include <cmath>

namespace design {

TQelBasePanel::TQelBasePanel(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(false);
}

void TQelBasePanel::SetZoom(float x)
{
    if (x == m_zoom)
        return;
    m_zooming = true;
    if (m_zoom * 10 == 0)
        m_zoom = 1.0f;
    const float f = x / m_zoom;
    const int w = static_cast<int>(std::nearbyint(double(width()) * double(f)));
    const int h = static_cast<int>(std::nearbyint(double(height()) * double(f)));
    resize(w, h);
    m_zoom = x;
    ZoomChanged();
    update();
    QCoreApplication::processEvents();
    m_zooming = false;
}

} // namespace design
