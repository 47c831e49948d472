#pragma once

#include <QDialog>
#include <QStringList>

class QHBoxLayout;
class QListWidget;
class QPushButton;

namespace recurring {

/**
 * "Recurring Dates": the store's lines, sorted without regard to case, with New, Edit, Delete and Holidays;
 * Ok writes the store, Cancel loses the changes made in the dialog.
 */
class TEditRecurringDates : public QDialog
{
    Q_OBJECT

public:
    /** Loads the lines of the store file at path (none when it does not exist). */
    explicit TEditRecurringDates(const QString& path, QWidget* parent = nullptr);

    QStringList Lines() const { return m_lines; }
    QListWidget* DatesList() const { return m_list; }
    QString SelectedLine() const;

    void NewDate();
    void EditDate();
    void DeleteDate();
    void AddHolidays();
    /** Writes the store; false (after a message) when it cannot be written. */
    bool Save();

private:
    void showLines(const QString& select);
    void updateButtons();

    QString m_path;
    QStringList m_lines;
    QListWidget* m_list = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
};

/** A row of a check list: the text shown and the value it stands for. */
struct CheckRow
{
    QString text;
    QString value;
};

/** A dialog choosing some rows of a list, each row marked when chosen; Ok needs at least one. */
class CheckListDialog : public QDialog
{
    Q_OBJECT

public:
    /** Store lines as rows, shown by their row text, sorted without regard to case when asked. */
    CheckListDialog(const QString& caption, const QString& listName, const QStringList& lines, bool sorted,
                    QWidget* parent = nullptr);
    CheckListDialog(const QString& caption, const QString& listName, const QList<CheckRow>& rows,
                    QWidget* parent = nullptr);

    QListWidget* List() const { return m_list; }
    /** The values of the chosen rows, in the list's order. */
    QStringList Chosen() const;
    /** The values of all rows, in the list's order. */
    QStringList Values() const;
    void SelectAll(bool on);
    /** Replaces the rows; those whose value is in chosen start chosen. */
    void ShowRows(const QList<CheckRow>& rows, const QStringList& chosen = {});

protected:
    /** The row of buttons, for dialogs that add their own. */
    QHBoxLayout* Buttons() const { return m_buttons; }

private:
    QListWidget* m_list = nullptr;
    QHBoxLayout* m_buttons = nullptr;
};

/** Store lines as check-list rows, sorted without regard to case when asked. */
QList<CheckRow> LineRows(const QStringList& lines, bool sorted);

/**
 * "Holidays": the built-in holidays, none chosen at first. "Add Holidays of..." adds a country's holiday set,
 * its rows chosen.
 */
class TGetHolidays : public CheckListDialog
{
    Q_OBJECT

public:
    explicit TGetHolidays(QWidget* parent = nullptr);

    /** Adds the holidays of a country (ISO 3166 code) that the list lacks, and chooses all of its holidays.
     */
    void AddCountry(const QString& code);
    /** Asks for a country and adds its holidays. */
    void ChooseCountry();
};

/** "Add Holidays of": the countries with a holiday set, by name; Ok or a double click takes the current one.
 */
class TChooseHolidayCountry : public QDialog
{
    Q_OBJECT

public:
    explicit TChooseHolidayCountry(QWidget* parent = nullptr);

    QListWidget* Countries() const { return m_list; }
    /** The ISO 3166 code of the current row; empty when there is none. */
    QString Code() const;

private:
    QListWidget* m_list = nullptr;
};

/** "Select Recurring Dates To Use": the given lines, every one chosen when the dialog opens. */
class TSelectRecurringDates : public CheckListDialog
{
    Q_OBJECT

public:
    explicit TSelectRecurringDates(const QStringList& lines, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace recurring
