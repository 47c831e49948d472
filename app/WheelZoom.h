#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace app {

/**
 * Turns Ctrl+wheel over an area (and every widget in it, the cell editor too) into zoom steps: one step per
 * notch, up zooms in. The wheel with Ctrl held never scrolls the area or zooms a text box's own font.
 */
class WheelZoom : public QObject
{
    Q_OBJECT

public:
    /** zoom gets +1 for a step in and -1 for a step out. */
    WheelZoom(QWidget* area, std::function<void(int)> zoom);
    ~WheelZoom() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_area;
    std::function<void(int)> m_zoom;
    int m_pending = 0; // wheel angle not yet a whole notch (fine-grained wheels and touch pads)
};

} // namespace app
