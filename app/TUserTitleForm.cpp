#include "app/TUserTitleForm.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

TUserTitleForm::TUserTitleForm(const QString& title, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("UserTitleForm"));
    setWindowTitle(tr("User Defined Title"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Enter calendar title (leave blank for default):"), this));
    m_titleText = new QLineEdit(title, this);
    m_titleText->setObjectName(QStringLiteral("TitleText"));
    layout->addWidget(m_titleText);
    layout->addStretch();
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(tr("Ok"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setFixedSize(358, 135);
}

QString TUserTitleForm::Title() const
{
    return m_titleText->text();
}

} // namespace app
