#pragma once

#include "platform/TColor.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace controls {
class TColorButton;
}
namespace platform {
class TFont;
}

namespace calendar {

class TQelFlatCalendar;

/**
 * "Floating Calendar Properties": every setting of a floating calendar, edited on a live sample. Nothing
 * reaches the edited calendar until Ok; the caller then takes the sample's settings.
 */
class TFlatCalendarEditor : public QDialog
{
    Q_OBJECT

public:
    explicit TFlatCalendarEditor(QWidget* parent = nullptr);
    ~TFlatCalendarEditor() override;

    /** The dialog made at start-up that every floating calendar uses; nullptr when there is none. */
    static TFlatCalendarEditor* Shared();
    /** Makes this dialog the shared one (until it is destroyed). */
    void MakeShared();

    TQelFlatCalendar* Sample() const { return m_sample; }
    /** Copies every setting of the object into the sample, and its size at zoom 1 as the sample's size. */
    void EditObject(const TQelFlatCalendar& object);
    /** Puts the sample's settings into the controls, as the dialog does when it appears. */
    void FillFromSample();

    // The controls, for tests.
    QComboBox* MonthList() const { return m_month; }
    QSpinBox* YearSpin() const { return m_year; }
    QComboBox* WeekStartList() const { return m_weekStart; }
    QComboBox* HeaderStyleList() const { return m_headerStyle; }
    QComboBox* CalendarBorderList() const { return m_calendarBorder; }
    QComboBox* HeaderBorderList() const { return m_headerBorder; }
    QComboBox* CellBorderList() const { return m_cellBorder; }
    controls::TColorButton* TitleBackground() const { return m_titleColor; }
    controls::TColorButton* HeaderBackground() const { return m_headerColor; }
    controls::TColorButton* BodyBackground() const { return m_bodyColor; }
    controls::TColorButton* ShadowColorButton() const { return m_shadowColor; }
    QCheckBox* TransparentBox() const { return m_transparent; }
    QComboBox* OrientationList() const { return m_orientation; }
    QSpinBox* DepthSpin() const { return m_depth; }
    QComboBox* LanguageList() const { return m_language; }
    QCheckBox* ShowYearBox() const { return m_showYear; }
    QPushButton* FontButton(int which) const { return m_fontButtons[which]; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QComboBox* list(const QStringList& items, const std::function<void(int)>& apply);
    QPushButton* fontButton(const QString& caption, platform::TFont* (TQelFlatCalendar::*font)() const);
    controls::TColorButton* colorButton(const QString& caption,
                                        const std::function<void(platform::TColor)>& apply);
    void placeSample();

    TQelFlatCalendar* m_sample = nullptr;
    QScrollArea* m_sampleArea = nullptr;
    QWidget* m_sampleCanvas = nullptr;
    QComboBox* m_month = nullptr;
    QSpinBox* m_year = nullptr;
    QComboBox* m_weekStart = nullptr;
    QComboBox* m_headerStyle = nullptr;
    QComboBox* m_calendarBorder = nullptr;
    QComboBox* m_headerBorder = nullptr;
    QComboBox* m_cellBorder = nullptr;
    controls::TColorButton* m_titleColor = nullptr;
    controls::TColorButton* m_headerColor = nullptr;
    controls::TColorButton* m_bodyColor = nullptr;
    controls::TColorButton* m_shadowColor = nullptr;
    QCheckBox* m_transparent = nullptr;
    QComboBox* m_orientation = nullptr;
    QSpinBox* m_depth = nullptr;
    QComboBox* m_language = nullptr;
    QCheckBox* m_showYear = nullptr;
    QPushButton* m_fontButtons[3] = {};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    // Until the dialog first appears, and while it fills its controls, changes of the controls do nothing.
    bool m_initialising = true;
    bool m_filling = false;
};

} // namespace calendar
