#pragma once

#include <QDialog>

class QLineEdit;

namespace design {

/** The dialog that asks for a label's text: "Enter Text" over one line of text, with Ok, Cancel and Help. */
class TGetLabelText : public QDialog
{
    Q_OBJECT

public:
    explicit TGetLabelText(QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);
    QLineEdit* Edit() const { return m_edit; }

private:
    QLineEdit* m_edit = nullptr;
};

/** Centres a dialog over the program's main window (or its parent). */
void CentreOverMainWindow(QWidget* dialog);

} // namespace design
