#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace recurring {

/**
 * The formula dialog: a description and the formula of one recurring date, chosen as days of the week, a day
 * of the month, the nth weekday of a month, days from (Orthodox) Easter, or a weekday on or after a date. Ok
 * succeeds only when a valid formula can be built.
 */
class TEditRecurringDateFormula : public QDialog
{
    Q_OBJECT

public:
    explicit TEditRecurringDateFormula(QWidget* parent = nullptr);

    QString Description() const;
    void SetDescription(const QString& description);
    QString Formula() const { return m_formula; }
    /** Takes a formula to show; the controls are set from it when the dialog opens. */
    void SetFormula(const QString& formula) { m_formula = formula; }

    /** Loads the formula into the controls. */
    void SetEmUp();
    /** Enables the controls of the checked kind and shows its caption bold. */
    void SetRecurType();
    /** Builds the formula from the controls; false (with a message, if any) when they hold none. */
    bool DetermineFormulaString();

    QLineEdit* Event() const { return m_event; }
    QRadioButton* DayOfWeekButton() const { return m_rbDayOfWeek; }
    QRadioButton* DayOfMonthButton() const { return m_rbDayOfMonth; }
    QRadioButton* SpecialButton() const { return m_rbSpecial; }
    QCheckBox* Weekday(int index) const { return m_days[index]; } // 0 Sunday .. 6 Saturday
    QCheckBox* AllDays() const { return m_allDays; }
    QSpinBox* DayOfMonthDay() const { return m_day; }
    QComboBox* DayOfMonthMonth() const { return m_month; }
    QComboBox* SpecialOccurrance() const { return m_occurrence; }
    QComboBox* SpecialDayOfWeek() const { return m_weekday; }
    QComboBox* SpecialMonth() const { return m_specialMonth; }
    QRadioButton* EasterButton() const { return m_rbEaster; }
    QSpinBox* EasterDays() const { return m_easterDays; }
    QComboBox* EasterDirection() const { return m_easterDirection; } // after, before
    QComboBox* EasterFeast() const { return m_easterFeast; }         // Easter, Orthodox Easter
    QRadioButton* OnOrAfterButton() const { return m_rbOnOrAfter; }
    QComboBox* OnOrAfterWeekday() const { return m_afterWeekday; }
    QSpinBox* OnOrAfterDay() const { return m_afterDay; }
    QComboBox* OnOrAfterMonth() const { return m_afterMonth; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString m_formula = QStringLiteral("@");
    QLineEdit* m_event = nullptr;
    QRadioButton* m_rbDayOfWeek = nullptr;
    QRadioButton* m_rbDayOfMonth = nullptr;
    QRadioButton* m_rbSpecial = nullptr;
    QCheckBox* m_days[7] = {};
    QCheckBox* m_allDays = nullptr;
    QSpinBox* m_day = nullptr;
    QComboBox* m_month = nullptr;
    QComboBox* m_occurrence = nullptr;
    QComboBox* m_weekday = nullptr;
    QComboBox* m_specialMonth = nullptr;
    QRadioButton* m_rbEaster = nullptr;
    QSpinBox* m_easterDays = nullptr;
    QComboBox* m_easterDirection = nullptr;
    QComboBox* m_easterFeast = nullptr;
    QRadioButton* m_rbOnOrAfter = nullptr;
    QComboBox* m_afterWeekday = nullptr;
    QSpinBox* m_afterDay = nullptr;
    QComboBox* m_afterMonth = nullptr;
};

} // namespace recurring
