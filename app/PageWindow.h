#pragma once

#include <QMainWindow>

class QScrollArea;

namespace calendar {
class TCalendarPanel32;
}

namespace app {

/** The program's window: a new-document calendar page in a scroll area, zoomed with Page Down and Page Up. */
class PageWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit PageWindow(QWidget* parent = nullptr);

    calendar::TCalendarPanel32* Page() const { return m_page; }
    void ZoomIn();
    void ZoomOut();

private:
    void setZoom(float factor);
    void updateCaption();

    QScrollArea* m_scroll = nullptr;
    QWidget* m_canvas = nullptr;
    calendar::TCalendarPanel32* m_page = nullptr;
    bool m_zoomBusy = false;
};

} // namespace app
