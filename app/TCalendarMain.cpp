#include "app/TCalendarMain.h"

#include "app/DocumentHistory.h"
#include "app/MainPageDefaults.h"
#include "app/TFloatingPalette.h"
#include "app/WindowPlacement.h"
#include "app/ZoomSteps.h"
#include "calendar/TCalendarPanel32.h"
#include "calendar/TFlatCalendarEditor.h"
#include "controls/TIconListBox.h"
#include "persist/formats/Preferences.h"
#include "platform/Help.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "platform/Screen.h"
#include "platform/WebBrowser.h"
#include "print/PagePrinter.h"
#include "print/TReportSystem.h"
#include "recurring/RecurringStore.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichRenderer.h"
#include "richtext/TVelRichToolBar.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <cmath>

namespace app {

namespace {
constexpr int kPageOffset = 5;
const QString kMruSection = QStringLiteral("MRU");
const QString kPlacementClass = QStringLiteral("TCalendarMain");
} // namespace

QString TCalendarMain::IniPath()
{
    return platform::ProgramFolder() + QStringLiteral("KV.ini");
}

TCalendarMain::TCalendarMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("CalendarMain"));
    setWindowTitle(QStringLiteral("Datoria"));
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    setFont(font);
    resize(635, 378);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox"));
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_canvas = new QWidget;
    // The page sits in a one-pixel single border at 5, 5; its drawing starts inside the border.
    m_pageBorder = new QFrame(m_canvas);
    m_pageBorder->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_pageBorder->setLineWidth(1);
    m_pageBorder->move(kPageOffset, kPageOffset);
    m_pageBorder->hide();
    m_page = new calendar::TCalendarPanel32(m_canvas);
    m_page->setObjectName(QStringLiteral("CalendarPanel"));
    m_page->SetOwnsClipboardFile(true);
    SetMainPageDefaults(*m_page);
    m_page->move(kPageOffset + 1, kPageOffset + 1);
    m_page->hide();
    m_history = new DocumentHistory(*m_page, this, this);
    m_cellEditor = new richtext::TVelRichEdit(m_canvas);
    m_cellEditor->setObjectName(QStringLiteral("CellEditor"));
    m_cellEditor->SetWordWrap(true);
    // A cell's text scrolls with the caret; scroll bars would cover most of a small cell.
    m_cellEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_cellEditor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_cellEditor->hide();
    // The hidden renderer that rich-text labels find by this name and paint through.
    m_masterRichText = new richtext::TVelRichRenderer(this);
    m_masterRichText->setObjectName(QStringLiteral("MasterVelRichText"));
    m_scroll->setWidget(m_canvas);
    setCentralWidget(m_scroll);
    m_report = std::make_unique<print::TReportSystem>(this);
    m_pagePrinter = std::make_unique<print::PagePrinter>();

    buildToolBars();
    buildMenus();
    buildIconTool();
    buildShortcuts();
    buildDesktopFiles();
    nameToolBarButtons();

    m_page->SetClickedInCellEvent(
        [this](const platform::TRect&, const platform::TRect& rFree, int cell, int,
               richtext::TVelRtfStorage& storage) { CalendarPanelClickedInCellEvent(rFree, cell, storage); });
    m_page->SetDroppedObjectEvent([this](const platform::TRect&) {
        m_history->ChangeReported();
        SetModified(true);
        Action("Pointerbutton")->setChecked(true);
    });
    // A gesture whose object was cancelled returns to pointing too.
    connect(m_page, &calendar::TCalendarPanel32::panelStateChanged, this,
            [this](calendar::TLPanelState state) {
                if (state == calendar::psPointing)
                    Action("Pointerbutton")->setChecked(true);
            });
    m_page->setAcceptDrops(true);
    connect(m_cellEditor, &richtext::TVelRichEdit::dragOver, this, [](QDragMoveEvent* event, bool& handled) {
        if (IsPictureDrag(event->mimeData())) {
            event->acceptProposedAction();
            handled = true;
        }
    });
    connect(m_cellEditor, &richtext::TVelRichEdit::dropped, this, [this](QDropEvent* event, bool& handled) {
        if (IsPictureDrag(event->mimeData())) {
            EditorDrop(event->mimeData());
            event->acceptProposedAction();
            handled = true;
        }
    });
    m_page->SetLabelChangedEvent([this](QObject*) {
        // Reading a recorded document back is no change of its own.
        if (m_history->Restoring())
            return;
        m_history->ChangeReported();
        SetModified(true);
    });
    connect(m_cellEditor, &QTextEdit::textChanged, this, [this] {
        if (m_trackChanges)
            SetModified(true);
    });
    connect(m_cellEditor, &richtext::TVelRichEdit::entered, this, [this] {
        if (!m_editingCell)
            return;
        m_richBar->setEnabled(true);
        m_cellEditor->AttachToolBar(m_richBar);
        if (m_cellEditor->IsEmpty())
            SetDefaultFontNow();
    });

    loadPreferences();
    SetModified(false);
    m_page->SetZoom(PercentToZoom(m_prefs.mainZoomPercent));
    layoutCanvas();
    platform::IniFile ini(IniPath());
    m_mru.Load(ini, kMruSection);
    rebuildRecentMenu();
    Action("mnuShowHints")->setChecked(m_prefs.hintsOn);
    qApp->installEventFilter(this);
    // A conversion that cannot be written keeps the older store, to be converted at the next start.
    if (!recurring::ConvertOldStore(recurring::OldStorePath(), recurring::StorePath()))
        platform::Prompts::Current().Information(this, tr("Unable to save %1").arg(recurring::StorePath()));
    SetButtons();
    SetCaption();
}

TCalendarMain::~TCalendarMain()
{
    qApp->removeEventFilter(this);
}

QAction* TCalendarMain::Action(const char* name) const
{
    return findChild<QAction*>(QLatin1String(name));
}

void TCalendarMain::buildToolBars()
{
    m_richBar = new richtext::TVelRichToolBar(this);
    m_richBar->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, m_richBar);
    addToolBarBreak();
    QToolBar* design = addToolBar(tr("Design"));
    design->setObjectName(QStringLiteral("DesignToolBar"));
    auto add = [this, design](const QString& text, const char* name, const QString& hint, auto slot) {
        QAction* action = design->addAction(text, this, slot);
        action->setObjectName(QLatin1String(name));
        action->setToolTip(hint);
        return action;
    };
    add(tr("+"), "ZoomPlusButton", tr("Zoom In"), [this] { ZoomIn(); });
    add(tr("-"), "ZoomMinusButton", tr("Zoom Out"), [this] { ZoomOut(); });
    add(tr("Properties"), "PropertiesButton", tr("Set/change Properties for the calendar"),
        [this] { Properties(); });
    add(tr("Print"), "Printbutton", tr("Print the calendar"), [this] { PrintCalendar(); });
    add(tr("Show Icon Tool"), "ShowHideIconTool", tr("Show or hide the Icons palette"),
        [this] { ShowHideIconTool(); });
    design->addSeparator();
    m_tools = new QActionGroup(this);
    QAction* pointer = add(tr("Select"), "Pointerbutton", tr("Selection tool"),
                           [this] { m_page->SetPanelState(calendar::psPointing); });
    QAction* text = add(tr("Text"), "DrawLabelButton", tr("Text tool"),
                        [this] { m_page->SetPanelState(calendar::psLabel); });
    QAction* clipArt = add(tr("Clip Art"), "DrawImageButton", tr("Clip Art Tool"),
                           [this] { m_page->SetPanelState(calendar::psImage); });
    QAction* richText =
        add(tr("Rich Text"), "DrawRichText", tr("Rich Text tool \nMixed fonts, colors and styles"),
            [this] { m_page->SetPanelState(calendar::psRichLabel); });
    QAction* superText = add(tr("SuperText"), "DrawSuperText",
                             tr("SuperText tool \nSpecial Effects Text - fill with gradients or bitmaps"),
                             [this] { m_page->SetPanelState(calendar::psSuperText); });
    QAction* floating = add(tr("Floating Calendar"), "PSpeedButton1",
                            tr("Floating Calendar tool \nMini Calendar that you can place anywhere"),
                            [this] { m_page->SetPanelState(calendar::psFlatCalendar); });
    for (QAction* tool : {pointer, text, clipArt, richText, superText, floating}) {
        tool->setCheckable(true);
        m_tools->addAction(tool);
    }
    pointer->setChecked(true);

    // Save and Cancel stand at the right end, shown only while there are changes.
    auto* spacer = new QWidget(design);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    design->addWidget(spacer);
    auto emphasise = [design](QAction* action, const QColor& colour) {
        QWidget* button = design->widgetForAction(action);
        QFont bold = button->font();
        bold.setBold(true);
        button->setFont(bold);
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, colour);
        button->setPalette(palette);
    };
    QAction* save =
        add(tr("&Save"), "Savebutton", tr("Save changes to the calendar"), [this] { SaveOrSaveAs(); });
    emphasise(save, Qt::darkGreen);
    QAction* cancel =
        add(tr("&Cancel"), "CancelButton", tr("Cancel all changes"), [this] { CancelChanges(); });
    emphasise(cancel, Qt::red);
    save->setVisible(false);
    cancel->setVisible(false);
    m_designBar = design;
    design->setMouseTracking(true);
}

void TCalendarMain::buildMenus()
{
    auto add = [this](QMenu* menu, const QString& caption, const char* name, auto slot) {
        QAction* action = menu->addAction(caption, this, slot);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    m_fileMenu = menuBar()->addMenu(tr("&File"));
    add(m_fileMenu, tr("&New "), "New1", [this] { New(); });
    add(m_fileMenu, tr("&Open"), "Open1", [this] { Open(); });
    m_fileMenu->addSeparator();
    add(m_fileMenu, tr("&Save "), "mnuSave", [this] {
        Save();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    add(m_fileMenu, tr("Save &As..."), "mnuSaveAs", [this] { SaveAs(); });
    add(m_fileMenu, tr("Save As &Bitmap "), "mnuSaveAsBitmap", [this] { SaveAsBitmap(); });
    add(m_fileMenu, tr("&Export as PDF..."), "mnuExportPdf", [this] { ExportAsPdf(); });
    m_fileMenu->addSeparator();
    add(m_fileMenu, tr("&Properties"), "mnuProperties", [this] { Properties(); });
    add(m_fileMenu, tr("User Defined Title"), "mnuUserDefinedTitle", [this] { UserDefinedTitle(); });
    add(m_fileMenu, tr("&Cancel Changes"), "mnuCancelChanges", [this] { CancelChanges(); });
    add(m_fileMenu, tr("Clear &All Cell Contents"), "mnuClearAllCellContents",
        [this] { ClearAllCellContents(); });
    add(m_fileMenu, tr("&Default Editor Font"), "mnuDefaultEditorFont", [this] { DefaultEditorFont(); });
    m_fileMenu->addSeparator();
    add(m_fileMenu, tr("Fill Calendar with Recurring Dates"), "mnuFillCalendarwithRecurringDates",
        [this] { FillWithRecurringDates(); });
    add(m_fileMenu, tr("Edit Recurring Dates"), "mnuEditrecurringDates", [this] { EditRecurringDates(); });
    add(m_fileMenu, tr("Import Events from iCalendar..."), "mnuImportEvents",
        [this] { ImportEventsFromIcs(); });
    add(m_fileMenu, tr("Export Recurring Dates as iCalendar..."), "mnuExportRecurringDates",
        [this] { ExportRecurringDatesAsIcs(); });
    m_fileMenu->addSeparator();
    add(m_fileMenu, tr("P&rint Calendar"), "mnuPrintCalendar", [this] {
        PrintCalendar();
    })->setShortcut(QKeySequence::Print);
    add(m_fileMenu, tr("Print Pre&view"), "mnuPrintPreview", [this] { PrintPreview(); });
    add(m_fileMenu, tr("Print Set&up"), "mnuPrintSetup", [this] { PrintSetup(); });
    m_fileMenu->addSeparator();
    add(m_fileMenu, tr("E&xit"), "mnuExit", [this] { close(); });
    buildEditMenu();

    QMenu* online = menuBar()->addMenu(tr("&Online"));
    add(online, tr("Visit Our Internet Website"), "mnuWebsite",
        [this] { platform::OpenWebPage(this, QUrl(QStringLiteral("https://datoria.app/"))); });
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    add(help, tr("&Contents"), "mnuContents", [this] { platform::ShowHelpTopic(this, 0); });
    add(help, tr("&About"), "mnuAbout", [this] { showAbout(); });
    QAction* hints = add(help, tr("&Show Hints"), "mnuShowHints", [this] { toggleHints(); });
    hints->setCheckable(true);
}

void TCalendarMain::rebuildRecentMenu()
{
    for (QAction* action : m_recentActions) {
        m_fileMenu->removeAction(action);
        delete action;
    }
    m_recentActions.clear();
    if (m_mru.Files().isEmpty())
        return;
    m_recentActions.append(m_fileMenu->addSeparator());
    int number = 1;
    for (const QString& file : m_mru.Files()) {
        QAction* action = m_fileMenu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(file));
        action->setObjectName(QStringLiteral("mnuRecent%1").arg(number - 1));
        connect(action, &QAction::triggered, this, [this, file] { OpenRecent(file); });
        m_recentActions.append(action);
    }
}

void TCalendarMain::SetModified(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    SetButtons();
}

void TCalendarMain::SetCaption()
{
    QString caption = QStringLiteral("Datoria");
    const QString shown = m_currentFileName.isEmpty() ? m_recoveredName : m_currentFileName;
    if (!shown.isEmpty())
        caption += QStringLiteral("  [") + QFileInfo(shown).fileName() + u']';
    caption += QStringLiteral("    [%1%]").arg(std::lround(double(m_page->Zoom()) * 100));
    setWindowTitle(caption);
}

void TCalendarMain::SetButtons()
{
    const bool visible = !m_page->isHidden();
    const bool cells = m_page->UsesDayCells();
    const bool named = !m_currentFileName.isEmpty();
    Action("mnuFillCalendarwithRecurringDates")->setEnabled(cells);
    Action("mnuImportEvents")->setEnabled(cells);
    Action("mnuClearAllCellContents")->setEnabled(cells);
    Action("mnuUserDefinedTitle")->setEnabled(cells);
    Action("mnuSave")->setEnabled(named);
    m_richBar->setEnabled(visible && m_editingCell && m_cellEditor->hasFocus());
    Action("mnuSaveAs")->setEnabled(visible);
    Action("mnuSaveAsBitmap")->setEnabled(visible);
    Action("mnuExportPdf")->setEnabled(visible);
    Action("mnuPrintSetup")->setEnabled(visible);
    Action("mnuPrintCalendar")->setEnabled(visible);
    Action("mnuPrintPreview")->setEnabled(visible);
    Action("Printbutton")->setEnabled(visible);
    Action("mnuProperties")->setEnabled(visible);
    Action("PropertiesButton")->setEnabled(visible);
    Action("mnuCancelChanges")->setEnabled(visible && named);
    Action("ZoomMinusButton")->setEnabled(visible);
    Action("ZoomPlusButton")->setEnabled(visible);
    Action("Savebutton")->setVisible(m_modified);
    Action("CancelButton")->setVisible(m_modified && named);
    syncIconTool();
    syncStartPage();
    explainDisabledCommands();
}

void TCalendarMain::CreateFloatingWindows()
{
    auto* flatCalendarEditor = new calendar::TFlatCalendarEditor(this);
    flatCalendarEditor->MakeShared();
}

void TCalendarMain::layoutCanvas()
{
    // Without a document the scroll box stays empty, with no scroll bars.
    m_pageBorder->setVisible(!m_page->isHidden());
    if (m_page->isHidden()) {
        m_canvas->resize(0, 0);
        return;
    }
    m_pageBorder->resize(m_page->width() + 2, m_page->height() + 2);
    m_canvas->resize(m_page->width() + 2 + 2 * kPageOffset, m_page->height() + 2 + 2 * kPageOffset);
}

void TCalendarMain::setZoom(float factor)
{
    // The history records objects at the zoom of the moment: a zoom change is no step.
    m_history->Flush();
    m_page->SetZoom(factor);
    m_history->Rebase();
    layoutCanvas();
}

void TCalendarMain::ZoomIn()
{
    if (m_zoomBusy)
        return;
    m_zoomBusy = true;
    if (double(m_page->Zoom()) <= 0.95) {
        DoSaveRichtext();
        QCoreApplication::processEvents();
        setZoom(ZoomInStep(m_page->Zoom()));
        SetCaption();
    }
    m_zoomBusy = false;
}

void TCalendarMain::ZoomOut()
{
    if (m_zoomBusy)
        return;
    m_zoomBusy = true;
    if (double(m_page->Zoom()) > 0.6) {
        DoSaveRichtext();
        QCoreApplication::processEvents();
        setZoom(ZoomOutStep(m_page->Zoom()));
        SetCaption();
    }
    m_zoomBusy = false;
}

// ---- preferences and placement

void TCalendarMain::loadPreferences()
{
    platform::IniFile ini(IniPath());
    m_prefs = persist::LoadPreferences(ini, platform::ProgramFolder());
}

void TCalendarMain::savePreferences()
{
    platform::IniFile ini(IniPath());
    if (m_palette) {
        m_prefs.iconsVisible = m_palette->isVisible();
        m_prefs.iconFile = m_palette->Grid()->FileName();
    }
    persist::SavePreferences(ini, m_prefs);
    if (!ini.Save())
        platform::Prompts::Current().Information(this, tr("Unable to save %1").arg(ini.Path()));
}

void TCalendarMain::restorePlacement()
{
    // Without a stored placement the window takes most of the screen rather than its small design size.
    if (!HasStoredPlacement(kPlacementClass) && screen())
        setGeometry(FirstPlacement(screen()->availableGeometry()));
    else
        RestorePlacement(*this, kPlacementClass);
    savePlacement();
}

void TCalendarMain::savePlacement()
{
    SavePlacement(*this, kPlacementClass);
}

// ---- start and close

void TCalendarMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_startingUp)
        QTimer::singleShot(0, this, [this] {
            if (m_startingUp)
                firstActivation();
        });
}

void TCalendarMain::firstActivation()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    restorePlacement();
    m_page->ResetToNew();
    layoutCanvas();
    // A file named on the command line opens instead of the most recent one, once start-up is over.
    if (!m_startFile.isEmpty())
        OpenFromOutside({m_startFile});
    else if (!m_mru.Files().isEmpty() && QFileInfo::exists(m_mru.Files().first()))
        OpenCalendarFile(m_mru.Files().first());
    QCoreApplication::processEvents();
    m_page->setVisible(!m_currentFileName.isEmpty());
    layoutCanvas();
    Action("mnuSave")->setEnabled(false);
    m_history->Reset();
    SetModified(false);
    m_startingUp = false;
    SetButtons();
    SetCaption();
    QApplication::restoreOverrideCursor();
    CheckFloaterStatus();
    if (m_prefs.iconsVisible)
        m_palette->show();
    SetButtons();
    m_page->SetSuspendPaint(false);
    m_page->update();
}

void TCalendarMain::closeEvent(QCloseEvent* event)
{
    // A Yes to "Save changes?" that did not save keeps the window open, so the changes stay.
    if (!CheckSaveNeeded()) {
        event->ignore();
        return;
    }
    m_prefs.mainZoomPercent = ZoomToPercent(m_page->Zoom());
    savePreferences();
    savePlacement();
    m_palette->hide();
    event->accept();
}

bool TCalendarMain::eventFilter(QObject* watched, QEvent* event)
{
    if (historyEvent(watched, event))
        return true;
    // Menus keep their hints: they say why an item is greyed out.
    if (event->type() == QEvent::ToolTip && !m_prefs.hintsOn && !qobject_cast<QMenu*>(watched))
        return true;
    if (watched == m_page && (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove)) {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (PageDragOver(drag->position().toPoint(), drag->mimeData()))
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    if (watched == m_page && event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        PageDrop(drop->position().toPoint(), drop->mimeData());
        drop->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::HoverMove) {
        // A busy or tool pointer left behind is put back to the arrow over the design tool bar.
        auto* over = qobject_cast<QWidget*>(watched);
        const QCursor* pointer = QApplication::overrideCursor();
        if (over && pointer && (over == m_designBar || m_designBar->isAncestorOf(over)) &&
            pointer->shape() != Qt::ArrowCursor && pointer->shape() != Qt::DragMoveCursor)
            QApplication::changeOverrideCursor(Qt::ArrowCursor);
        return false;
    }
    if (event->type() != QEvent::KeyPress || QApplication::activeModalWidget())
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // Each key once, at the widget it was sent to, and only for this window.
    if (!widget || widget->window() != this ||
        (QApplication::focusWidget() && widget != QApplication::focusWidget()))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // The Save item is greyed out while the calendar has no file; its key then does what the tool bar's Save
    // does rather than nothing.
    if (key->matches(QKeySequence::Save) && !Action("mnuSave")->isEnabled()) {
        if (Action("mnuSaveAs")->isEnabled())
            SaveOrSaveAs();
        return true;
    }
    if (key->key() == Qt::Key_PageDown) {
        ZoomIn();
    } else if (key->key() == Qt::Key_PageUp) {
        ZoomOut();
    } else if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && m_cellEditor->isVisible() &&
               m_cellEditor->hasFocus()) {
        if (key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier))
            m_page->ClickPreviousCell(m_currentCell);
        else
            m_page->ClickNextCell(m_currentCell);
        return true;
    }
    return false;
}

void TCalendarMain::toggleHints()
{
    m_prefs.hintsOn = Action("mnuShowHints")->isChecked();
    savePreferences();
}

void TCalendarMain::showAbout()
{
    QDialog about(this);
    about.setWindowTitle(tr("About Datoria"));
    auto* layout = new QVBoxLayout(&about);
    auto* name = new QLabel(QStringLiteral("Datoria"), &about);
    QFont big = name->font();
    big.setPointSize(16);
    big.setBold(true);
    name->setFont(big);
    layout->addWidget(name);
    layout->addWidget(new QLabel(tr("Version 3.0"), &about));
    auto* buttons = new QDialogButtonBox(&about);
    buttons->addButton(tr("Ok"), QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
    layout->addWidget(buttons);
    about.exec();
}

} // namespace app
