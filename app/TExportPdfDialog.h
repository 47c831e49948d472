#pragma once

#include <QDialog>

class QCheckBox;
class QRadioButton;
class QSpinBox;

namespace app {

/** "Export as PDF": this month alone or a run of months from it, and whether to fill in the recurring dates.
 */
class TExportPdfDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TExportPdfDialog(QWidget* parent = nullptr);

    /** 1 for "This month", otherwise the count of the run. */
    int Months() const;
    bool FillRecurring() const;

    QRadioButton* ThisMonth() const { return m_thisMonth; }
    QRadioButton* RunOfMonths() const { return m_run; }
    QSpinBox* MonthCount() const { return m_count; }
    QCheckBox* FillRecurringBox() const { return m_fill; }

Q_SIGNALS:
    /** "Preview" was clicked: the pages as chosen are to be shown, the window staying open. */
    void PreviewRequested();

private:
    QRadioButton* m_thisMonth = nullptr;
    QRadioButton* m_run = nullptr;
    QSpinBox* m_count = nullptr;
    QCheckBox* m_fill = nullptr;
};

} // namespace app
