// The main window and the desktop: the start page of an empty window, calendar files dropped on the window,
// and files named on the command line or by a later start of the program.

#include "app/TCalendarMain.h"

#include "app/DesktopFiles.h"
#include "app/StartPage.h"
#include "calendar/TCalendarPanel32.h"
#include "platform/Prompts.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichToolBar.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QScrollArea>
#include <QTimer>

#include <utility>

namespace app {

namespace {

// How often a file handed over looks again whether the window is free (started, no dialog open).
constexpr int kRetryMs = 200;

} // namespace

void TCalendarMain::buildDesktopFiles()
{
    m_startPage = new StartPage(m_scroll->viewport());
    m_startPage->hide();
    connect(m_startPage, &StartPage::newRequested, this, [this] { New(); });
    connect(m_startPage, &StartPage::openRequested, this, [this] { Open(); });
    connect(m_startPage, &StartPage::recentRequested, this,
            [this](const QString& path) { OpenRecent(path); });

    m_outsideTimer = new QTimer(this);
    m_outsideTimer->setSingleShot(true);
    connect(m_outsideTimer, &QTimer::timeout, this, [this] { openOutsideFiles(); });

    setAcceptDrops(true);
    // Calendar files dragged over the cell editor are the window's, not text for the cell.
    connect(m_cellEditor, &richtext::TVelRichEdit::dragOver, this,
            [this](QDragMoveEvent* event, bool& handled) {
                if (isCalendarFileDrag(event->mimeData())) {
                    event->ignore();
                    handled = true;
                }
            });
}

void TCalendarMain::syncStartPage()
{
    if (!m_startPage)
        return;
    const bool empty = m_page->isHidden() && !m_startingUp;
    if (empty)
        m_startPage->SetRecentFiles(m_mru.Files());
    if (empty != m_startPage->isVisible()) {
        m_startPage->setVisible(empty);
        if (empty)
            m_startPage->raise();
    }
}

void TCalendarMain::SetStartFile(const QString& path)
{
    m_startFile = path;
}

void TCalendarMain::OpenFromOutside(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    // The newest request replaces one still waiting, so nothing is opened twice.
    m_outsideFiles = paths;
    m_outsideTimer->start(0);
}

bool TCalendarMain::outsideBusy() const
{
    return m_startingUp || m_openingOutside || QApplication::activeModalWidget();
}

void TCalendarMain::openOutsideFiles()
{
    if (m_outsideFiles.isEmpty())
        return;
    if (outsideBusy()) {
        m_outsideTimer->start(kRetryMs);
        return;
    }
    const CalendarChoice choice = ChooseCalendarFile(std::exchange(m_outsideFiles, QStringList()));
    platform::Prompts& prompts = platform::Prompts::Current();
    if (choice.file.isEmpty()) {
        prompts.Information(this, tr("Must be a Calendar file (*.KVF)"));
        return;
    }
    m_openingOutside = true;
    DoSaveRichtext();
    if (CheckSaveNeeded() && OpenCalendarFile(choice.file) && choice.others > 0)
        prompts.Information(this,
                            tr("Only one calendar can be open at a time: %1 was opened, the other files "
                               "were not.")
                                .arg(QFileInfo(choice.file).fileName()));
    m_openingOutside = false;
}

bool TCalendarMain::isCalendarFileDrag(const QMimeData* data) const
{
    // Picture data goes to the day cells even when it comes with a file name.
    return data && data->hasUrls() && !IsPictureDrag(data) && !LocalFiles(data->urls()).isEmpty();
}

void TCalendarMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (isCalendarFileDrag(event->mimeData()) && !outsideBusy() && m_outsideFiles.isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TCalendarMain::dragMoveEvent(QDragMoveEvent* event)
{
    if (isCalendarFileDrag(event->mimeData()) && !outsideBusy() && m_outsideFiles.isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TCalendarMain::dropEvent(QDropEvent* event)
{
    if (!isCalendarFileDrag(event->mimeData()) || outsideBusy() || !m_outsideFiles.isEmpty()) {
        event->ignore();
        return;
    }
    // The file opens once the drop is over: the program that the file came from waits for the drop to end,
    // and opening may ask to save changes first.
    OpenFromOutside(LocalFiles(event->mimeData()->urls()));
    event->acceptProposedAction();
}

} // namespace app
