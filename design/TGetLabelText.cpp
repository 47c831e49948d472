#include "design/TGetLabelText.h"

#include "platform/Help.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace design {

void CentreOverMainWindow(QWidget* dialog)
{
    QWidget* main = dialog->parentWidget() ? dialog->parentWidget()->window() : QApplication::activeWindow();
    if (!main || main == dialog)
        return;
    dialog->adjustSize();
    const QRect m = main->frameGeometry();
    dialog->move(m.left() + (m.width() - dialog->width()) / 2, m.top() + (m.height() - dialog->height()) / 2);
}

TGetLabelText::TGetLabelText(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("GetLabelText"));
    setWindowTitle(tr("Text"));
    QFont small(QStringLiteral("Arial"));
    small.setPointSize(8);
    setFont(small);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Enter Text"), this));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Edit"));
    m_edit->setMinimumWidth(321);
    layout->addWidget(m_edit);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(tr("Ok"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(tr("Help"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { platform::ShowHelpTopic(this, 40004); });
    layout->addWidget(buttons);
    resize(356, 133);
    m_edit->setFocus();
    CentreOverMainWindow(this);
}

QString TGetLabelText::Text() const
{
    return m_edit->text();
}

void TGetLabelText::SetText(const QString& text)
{
    m_edit->setText(text);
    m_edit->selectAll();
}

} // namespace design
