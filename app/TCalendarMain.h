#pragma once

#include "persist/formats/Preferences.h"
#include "platform/TRect.h"
#include "richtext/CharAttributes.h"

#include <QMainWindow>
#include <QPointF>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>

class QAction;
class QActionGroup;
class QFrame;
class QMenu;
class QMimeData;
class QScrollArea;
class QTimer;
class QToolBar;

namespace calendar {
class TCalendarPanel32;
}
namespace print {
class PagePrinter;
class TReportSystem;
struct PdfExportOptions;
} // namespace print
namespace richtext {
class TVelRichEdit;
class TVelRichRenderer;
class TVelRichToolBar;
class TVelRtfStorage;
} // namespace richtext

namespace app {

class DocumentHistory;
class StartPage;
class TExportPdfDialog;
class TFloatingPalette;

/**
 * The program's document window: one calendar page in a scroll area with the in-cell editor over it, the
 * rich-text and design tool bars, the menus, the document commands, zoom, preferences, window placement and
 * the recent-files list.
 */
class TCalendarMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TCalendarMain(QWidget* parent = nullptr);
    ~TCalendarMain() override;

    calendar::TCalendarPanel32* Page() const { return m_page; }
    richtext::TVelRichEdit* CellEditor() const { return m_cellEditor; }
    richtext::TVelRichToolBar* RichToolBar() const { return m_richBar; }
    QString CurrentFileName() const { return m_currentFileName; }
    bool Modified() const { return m_modified; }
    /** True until the first activation has run (and while a calendar file is being opened). */
    bool StartingUp() const { return m_startingUp; }
    void SetModified(bool modified);
    int CurrentCell() const { return m_currentCell; }
    const persist::MruList& RecentFiles() const { return m_mru; }
    const persist::Preferences& Prefs() const { return m_prefs; }
    QAction* Action(const char* name) const;

    /** The document's undo history. */
    DocumentHistory* History() const { return m_history; }
    /** Undoes or redoes one step of the document, keeping the zoom and the scroll position. */
    void Undo();
    void Redo();

    // Document commands.
    void New();
    /** The properties dialog on the page's style; true when it ended with OK. */
    bool Properties();
    void Open();
    void OpenRecent(const QString& path);
    void Save();
    /** Save for a calendar with a file, Save As for one without (the tool bar's Save, Ctrl+S). */
    void SaveOrSaveAs();
    /** The save dialog, then the save; true when the calendar was saved. */
    bool SaveAs();
    void CancelChanges();
    /** Writes the page as shown (without placed objects) to a BMP file; true when written. */
    bool SaveAsBitmap();
    /** The user title dialog; OK sets the page's title (empty for the default one). */
    void UserDefinedTitle();
    /**
     * Reads a calendar file; true when it was opened. A missing or unreadable file is reported and leaves the
     * calendar that was open as it was (no document when there was none).
     */
    bool OpenCalendarFile(const QString& path);
    /** Writes the calendar at zoom 1; false (with a message) when the file cannot be written. */
    bool SaveCalendarFile(const QString& path);
    /**
     * Asks "Save changes?" when modified; false when the command that asked must stop: the answer was Cancel,
     * or Yes but nothing was saved.
     */
    bool CheckSaveNeeded();

    // Files from the desktop.
    /** The calendar file named on the command line, opened at start instead of the most recent one. */
    void SetStartFile(const QString& path);
    /**
     * Opens the calendar among files dropped on the window or named by a later start, once the window is free
     * (after start-up, with no dialog open): asks to save changes first; a message when there is none.
     */
    void OpenFromOutside(const QStringList& paths);

    /** The windows that live beside the main window for the whole run: the floating-calendar dialog. */
    void CreateFloatingWindows();

    // The icon tool palette.
    TFloatingPalette* IconPalette() const { return m_palette; }
    /** Shows the palette when hidden, hides it otherwise; IconToolVisible follows. */
    void ShowHideIconTool();
    /** Hides the palette when the page uses no day cells; shows it again when it should be visible. */
    void CheckFloaterStatus();

    void ZoomIn();
    void ZoomOut();
    void SetCaption();
    void SetButtons();

    // Day cells.
    void CalendarPanelClickedInCellEvent(const platform::TRect& rFree, int iCell,
                                         richtext::TVelRtfStorage& storage);
    void DoSaveRichtext();
    void PuttextOnDay(int day, const QString& text);
    void ClearAllCellContents();
    void DefaultEditorFont();
    void SetDefaultFontNow();
    /** The default editor font as character attributes, its colour the highest equal table entry. */
    richtext::CharAttributes DefaultEditorAttributes() const;
    void FillWithRecurringDates();
    /** Pictures are what can be dropped onto day cells and into the cell editor. */
    static bool IsPictureDrag(const QMimeData* data);
    /** A picture may be dropped at a point of the page (page coordinates) that lies in a day cell. */
    bool PageDragOver(const QPoint& point, const QMimeData* data) const;
    /** Opens the editor on the cell at the point and inserts the picture at its caret. */
    void PageDrop(const QPoint& point, const QMimeData* data);
    /** Inserts a dropped picture at the editor's caret. */
    void EditorDrop(const QMimeData* data);
    void EditRecurringDates();
    /** Puts the events of an iCalendar file that the user picks from the month's on their days. */
    void ImportEventsFromIcs();
    /** Writes the recurring dates as an iCalendar file; true when written. */
    bool ExportRecurringDatesAsIcs();

    // Printing and PDF export.
    print::TReportSystem& ReportSystem() const { return *m_report; }
    /** Prints the page at full size through the print engine's job, then gives it back its zoom. */
    void PrintCalendar();
    /** The printer set-up dialog of the print engine's printer. */
    void PrintSetup();
    /** Shows the page as it will print, through the same print routine, with the print engine's printer. */
    void PrintPreview();
    /** Asks for the months and a file name, then writes them as one PDF file; true when written. */
    bool ExportAsPdf();

    /**
     * The name a save dialog proposes: the current file's name with the extension, or without a file the
     * month's first three letters and the year (Dec1997.KVF).
     */
    QString ProposedFileName(const QString& extension) const;

    /** The path of KV.ini in the program folder. */
    static QString IniPath();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void buildEditMenu();
    void stepThroughHistory(bool forward);
    /** Starts a new step at a press, a key or a menu item and names it; true when the event is taken. */
    bool historyEvent(QObject* watched, QEvent* event);
    /** Writes the open cell's text to its storage, leaving the editor open. */
    void saveCellEditorNow();
    void buildToolBars();
    void rebuildRecentMenu();
    void firstActivation();
    void loadPreferences();
    void savePreferences();
    void restorePlacement();
    void savePlacement();
    void showAbout();
    void toggleHints();
    /** Names every tool bar button after its hint, for screen readers; menus show their hints. */
    void nameToolBarButtons();
    /** Gives each greyed-out command the reason as its hint. */
    void explainDisabledCommands();
    void setZoom(float factor);
    void layoutCanvas();
    void buildIconTool();
    void syncIconTool();
    /** Hides the palette while a dialog runs; gives back whether it was shown. */
    bool hidePaletteFor();
    /** The print preview over parent, its pages drawn by pages at full size; printing from it prints them. */
    void showPreview(QWidget* parent, const std::function<void(print::TReportSystem&)>& pages);
    /** The export's options as the dialog sets them; false (after saying why) when they cannot be met. */
    bool exportOptions(const TExportPdfDialog& dialog, print::PdfExportOptions& options);
    /** Gives the print engine's printer the calendar's paper and orientation when they changed. */
    void matchPrinterToCalendar();
    void buildShortcuts();
    void buildDesktopFiles();
    /** The start page shows while the window has no calendar. */
    void syncStartPage();
    bool outsideBusy() const;
    void openOutsideFiles();
    bool isCalendarFileDrag(const QMimeData* data) const;

    calendar::TCalendarPanel32* m_page = nullptr;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_canvas = nullptr;
    QFrame* m_pageBorder = nullptr;
    richtext::TVelRichEdit* m_cellEditor = nullptr;
    richtext::TVelRichToolBar* m_richBar = nullptr;
    richtext::TVelRichRenderer* m_masterRichText = nullptr;
    TFloatingPalette* m_palette = nullptr;
    QMenu* m_fileMenu = nullptr;
    QToolBar* m_designBar = nullptr;
    QList<QAction*> m_recentActions;
    QActionGroup* m_tools = nullptr;

    persist::Preferences m_prefs;
    persist::MruList m_mru{5};
    QString m_currentFileName;
    /** The name a calendar recovered from a damaged file is shown under and first saved as; it has no file.
     */
    QString m_recoveredName;
    bool m_modified = false;
    bool m_startingUp = true;
    bool m_zoomBusy = false;
    int m_currentCell = 0;
    richtext::TVelRtfStorage* m_editedStorage = nullptr;
    bool m_editingCell = false;
    bool m_trackChanges = false;
    bool m_newCalendarMode = false;
    /** The calendar's paper and orientation the printer was last given; the user's choice stands until they
     * change. */
    std::pair<int, int> m_printerPaperOf{-1, -1};
    bool m_printRan = false;
    std::unique_ptr<print::TReportSystem> m_report;
    std::unique_ptr<print::PagePrinter> m_pagePrinter;
    DocumentHistory* m_history = nullptr;
    quint64 m_lastPressTime = 0;
    QPointF m_lastPressPoint;
    StartPage* m_startPage = nullptr;
    QString m_startFile;
    QStringList m_outsideFiles;
    QTimer* m_outsideTimer = nullptr;
    bool m_openingOutside = false;
};

} // namespace app
