#include "app/PageWindow.h"

#include "app/ZoomSteps.h"
#include "calendar/TCalendarPanel32.h"

#include <QAction>
#include <QKeySequence>
#include <QMenuBar>
#include <QScrollArea>

#include <cmath>

namespace app {

namespace {
constexpr int kPageOffset = 5;
}

PageWindow::PageWindow(QWidget* parent) : QMainWindow(parent)
{
    m_scroll = new QScrollArea(this);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_canvas = new QWidget;
    m_page = new calendar::TCalendarPanel32(m_canvas);
    m_page->setObjectName(QStringLiteral("CalendarPanel"));
    m_page->move(kPageOffset, kPageOffset);
    m_page->ResetToNew();
    m_scroll->setWidget(m_canvas);
    setCentralWidget(m_scroll);

    QMenu* view = menuBar()->addMenu(tr("&View"));
    QAction* zoomIn = view->addAction(tr("Zoom &In"), this, &PageWindow::ZoomIn);
    zoomIn->setObjectName(QStringLiteral("actZoomIn"));
    zoomIn->setShortcuts({QKeySequence(Qt::Key_PageDown), QKeySequence::ZoomIn});
    QAction* zoomOut = view->addAction(tr("Zoom &Out"), this, &PageWindow::ZoomOut);
    zoomOut->setObjectName(QStringLiteral("actZoomOut"));
    zoomOut->setShortcuts({QKeySequence(Qt::Key_PageUp), QKeySequence::ZoomOut});

    setZoom(PercentToZoom(60));
    resize(1000, 760);
}

void PageWindow::ZoomIn()
{
    setZoom(ZoomInStep(m_page->Zoom()));
}

void PageWindow::ZoomOut()
{
    setZoom(ZoomOutStep(m_page->Zoom()));
}

void PageWindow::setZoom(float factor)
{
    if (m_zoomBusy)
        return;
    m_zoomBusy = true;
    m_page->SetZoom(factor);
    m_canvas->resize(m_page->width() + 2 * kPageOffset, m_page->height() + 2 * kPageOffset);
    updateCaption();
    m_zoomBusy = false;
}

void PageWindow::updateCaption()
{
    const int percent = static_cast<int>(std::lround(double(m_page->Zoom()) * 100));
    setWindowTitle(QStringLiteral("Datoria    [%1%]").arg(percent));
}

} // namespace app
