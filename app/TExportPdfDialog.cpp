#include "app/TExportPdfDialog.h"

#include "print/PdfExport.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace app {

TExportPdfDialog::TExportPdfDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ExportPdfDialog"));
    setWindowTitle(tr("Export as PDF"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    m_thisMonth = new QRadioButton(tr("&This month"), this);
    m_thisMonth->setObjectName(QStringLiteral("ThisMonth"));
    m_thisMonth->setChecked(true);
    m_run = new QRadioButton(this);
    m_run->setObjectName(QStringLiteral("RunOfMonths"));
    m_count = new QSpinBox(this);
    m_count->setObjectName(QStringLiteral("MonthCount"));
    m_count->setRange(1, print::kMaxExportMonths);
    m_count->setValue(12);
    m_count->setEnabled(false);
    auto* after = new QLabel(tr("&months from this month"), this);
    after->setBuddy(m_count);
    grid->addWidget(m_thisMonth, 0, 0, 1, 3);
    grid->addWidget(m_run, 1, 0);
    grid->addWidget(m_count, 1, 1);
    grid->addWidget(after, 1, 2);
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);
    connect(m_run, &QRadioButton::toggled, m_count, &QWidget::setEnabled);
    // Typing a count means a run of months.
    connect(m_count, &QSpinBox::valueChanged, m_run, [this] { m_run->setChecked(true); });

    m_fill = new QCheckBox(tr("&Fill recurring dates"), this);
    m_fill->setObjectName(QStringLiteral("FillRecurring"));
    layout->addWidget(m_fill);
    layout->addStretch();

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(tr("Ok"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CancelButton"));
    QPushButton* preview = buttons->addButton(tr("Pre&view..."), QDialogButtonBox::ActionRole);
    preview->setObjectName(QStringLiteral("PreviewButton"));
    connect(preview, &QPushButton::clicked, this, &TExportPdfDialog::PreviewRequested);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

int TExportPdfDialog::Months() const
{
    return m_run->isChecked() ? m_count->value() : 1;
}

bool TExportPdfDialog::FillRecurring() const
{
    return m_fill->isChecked();
}

} // namespace app
