#pragma once

#include "calendar/CalendarTypes.h"

#include "platform/TColor.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace calendar {
class TCalendarPanel32;
}
namespace controls {
class TColorButton;
}

namespace app {

/**
 * "Calendar Properties": every style attribute of a calendar, edited on a live example page. Nothing reaches
 * the real page here; the caller copies the example's style when the dialog ends with OK.
 */
class TCalendarProperties : public QDialog
{
    Q_OBJECT

public:
    explicit TCalendarProperties(QWidget* parent = nullptr);

    calendar::TCalendarPanel32* ExampleCalendar() const { return m_example; }
    void SetNewCalendar(bool value) { m_newCalendar = value; }
    void SetCellsHaveText(bool value) { m_cellsHaveText = value; }
    void SetPageFamily(int value) { m_pageFamily = value; }
    /**
     * The page's month and how many of its day cells hold text: OK on another month or year asks before that
     * text is removed.
     */
    void SetPageMonth(int month, int year, int filledCells)
    {
        m_pageMonth = month;
        m_pageYear = year;
        m_filledCells = filledCells;
    }
    bool PlannerSelected() const { return m_plannerSelected; }
    /** The question asked before another month removes the text of filledCells day cells. */
    static QString MonthChangeQuestion(int filledCells);

    // The controls, for the window's own code and for tests.
    QTabWidget* Notebook() const { return m_notebook; }
    /** The names of the notebook's pages beside it; choosing one shows its page. */
    QListWidget* PageList() const { return m_pageList; }
    QListWidget* LayoutList() const { return m_layoutList; }
    QButtonGroup* Orientation() const { return m_orientation; }
    QButtonGroup* Paper() const { return m_paper; }
    QCalendarWidget* DatePicker() const { return m_datePicker; }
    QLabel* DateCaption() const { return m_dateCaption; }
    QLabel* DateLabel() const { return m_dateLabel; }
    QButtonGroup* WeekStartsOn() const { return m_weekStartsOn; }
    QCheckBox* ShowYearInTitle() const { return m_showYear; }
    QCheckBox* ShowYearInMiniTitle() const { return m_miniShowYear; }
    QComboBox* HeaderStyleCombo() const { return m_headerStyle; }
    QComboBox* MiniHeaderStyleCombo() const { return m_miniHeaderStyle; }
    QComboBox* LineLayoutCombo() const { return m_lineLayout; }
    QComboBox* MiniLineLayoutCombo() const { return m_miniLineLayout; }
    QPushButton* StartingTimeButton() const { return m_timeButton; }
    QLabel* TimeLabel() const { return m_timeLabel; }
    QPlainTextEdit* MonthNames() const { return m_monthNames; }
    QPlainTextEdit* DayNames() const { return m_dayNames; }
    QComboBox* MarginList(int side) const { return m_margins[side]; }
    QRadioButton* UseMillimeters() const { return m_useMillimeters; }
    QLabel* ZoomLabel() const { return m_zoomLabel; }
    QPushButton* Button(const char* name) const;

    /** Puts the example's settings into the controls. */
    void FillFromExample();
    /** Applies the layout list, orientation and paper to the example. */
    void LayoutChanged();
    void DateChanged();
    void ApplyMonthNames();
    void ApplyDayNames();
    void SetLanguage(int language);
    void ZoomExample(bool in);
    void SaveStyleSheet();
    void LoadStyleSheet();
    void DefaultStyle();
    void StartingTime();

    /** The margin list entry for a margin in inches. */
    static int MarginIndex(float inches);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildLayoutPage();
    QWidget* buildDatePage();
    QWidget* buildFontsPage();
    QWidget* buildMiniFontsPage();
    QWidget* buildHeaderStylesPage();
    QWidget* buildLineStylesPage();
    QWidget* buildDayPlannerPage();
    QWidget* buildLanguagePage();
    QWidget* buildMarginsPage();
    /** Applies a list's choice to the example when the user makes it, then repaints the example. */
    void editsExample(QComboBox* combo, const std::function<void(int)>& apply);
    controls::TColorButton* colorButton(QWidget* parent, const std::function<void(platform::TColor)>& apply,
                                        const char* name);
    void applyEnabling();
    void repaintExample();
    void showZoom();
    void setMarginTexts(bool millimetres);

    calendar::TCalendarPanel32* m_example = nullptr;
    QTabWidget* m_notebook = nullptr;
    QListWidget* m_pageList = nullptr;
    QListWidget* m_layoutList = nullptr;
    QButtonGroup* m_orientation = nullptr;
    QButtonGroup* m_paper = nullptr;
    QCalendarWidget* m_datePicker = nullptr;
    QSpinBox* m_yearBox = nullptr; // the picker's own year box
    QLabel* m_dateCaption = nullptr;
    QLabel* m_dateLabel = nullptr;
    QButtonGroup* m_weekStartsOn = nullptr;
    QWidget* m_orientationBox = nullptr;
    QWidget* m_weekStartsBox = nullptr;
    QCheckBox* m_showYear = nullptr;
    QCheckBox* m_miniShowYear = nullptr;
    QPushButton* m_titleFont = nullptr;
    QPushButton* m_headerFont = nullptr;
    QPushButton* m_numberFont = nullptr;
    QPushButton* m_miniTitleFont = nullptr;
    QPushButton* m_miniHeaderFont = nullptr;
    QPushButton* m_miniNumberFont = nullptr;
    controls::TColorButton* m_titleColor = nullptr;
    controls::TColorButton* m_headerColor = nullptr;
    controls::TColorButton* m_miniHeaderColor = nullptr;
    controls::TColorButton* m_miniCalColor = nullptr;
    QComboBox* m_headerStyle = nullptr;
    QComboBox* m_miniHeaderStyle = nullptr;
    QComboBox* m_lineLayout = nullptr;
    QComboBox* m_miniLineLayout = nullptr;
    QPushButton* m_timeButton = nullptr;
    QLabel* m_timeLabel = nullptr;
    QPlainTextEdit* m_monthNames = nullptr;
    QPlainTextEdit* m_dayNames = nullptr;
    QComboBox* m_margins[4] = {};
    QRadioButton* m_useInches = nullptr;
    QRadioButton* m_useMillimeters = nullptr;
    QLabel* m_zoomLabel = nullptr;

    bool m_initialising = true;
    bool m_plannerSelected = false;
    bool m_newCalendar = false;
    bool m_cellsHaveText = false;
    int m_pageFamily = 1;
    int m_pageMonth = 0;
    int m_pageYear = 0;
    int m_filledCells = 0;
    bool m_activated = false;
};

} // namespace app
