#pragma once

#include <QDialog>
#include <QStringList>

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

/** A dialog choosing some of a list of store lines, each row marked when chosen; Ok needs at least one. */
class CheckListDialog : public QDialog
{
    Q_OBJECT

public:
    CheckListDialog(const QString& caption, const QString& listName, const QStringList& lines, bool sorted,
                    QWidget* parent = nullptr);

    QListWidget* List() const { return m_list; }
    /** The chosen lines, in the list's order. */
    QStringList Chosen() const;
    void SelectAll(bool on);

private:
    QListWidget* m_list = nullptr;
};

/** "Holidays": the built-in holidays, none chosen at first. */
class TGetHolidays : public CheckListDialog
{
    Q_OBJECT

public:
    explicit TGetHolidays(QWidget* parent = nullptr);
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
