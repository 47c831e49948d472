#pragma once

#include <QDialog>

class QLineEdit;

namespace app {

/** "User Defined Title": one line of text for the calendar's title; empty gives the month-and-year title. */
class TUserTitleForm : public QDialog
{
    Q_OBJECT

public:
    explicit TUserTitleForm(const QString& title, QWidget* parent = nullptr);

    QLineEdit* TitleText() const { return m_titleText; }
    QString Title() const;

private:
    QLineEdit* m_titleText = nullptr;
};

} // namespace app
