#include "supertext/TQelFont3DEffects.h"

#include "design/ColorBox.h"
#include "design/TGetLabelText.h"
#include "design/TQelBaseLabel.h"
#include "platform/Help.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace supertext {

using namespace design;

namespace {

QComboBox* List(QWidget* parent, const char* name, const QStringList& items)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(items);
    return box;
}

QStringList Depths()
{
    QStringList depths;
    for (int i = 0; i <= 10; ++i)
        depths.append(QString::number(i));
    return depths;
}

} // namespace

TQelFont3DEffects::TQelFont3DEffects(TQelBaseLabel* label, QWidget* parent) : QDialog(parent), m_label(label)
{
    setObjectName(QStringLiteral("Font3DEffects"));
    setWindowTitle(tr("Text 3D Effects"));
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setFixedSize(360, 90);
    m_sample = new TZubLabel(frame);
    m_sample->setObjectName(QStringLiteral("Sample"));
    m_sample->SetCaption(tr("Text"));
    m_sample->SetTransparent(true);
    layout->addWidget(frame);

    auto* grid = new QGridLayout;
    m_shadowDirection =
        List(this, "ShadowDirection",
             {tr("None"), tr("Right"), tr("Left"), tr("Lower Right"), tr("Lower Left"), tr("Down")});
    m_shadowDepth = List(this, "ShadowDepth", Depths());
    m_shadowColor = new ColorBox(this);
    m_shadowColor->setObjectName(QStringLiteral("ShadowColorCombo"));
    m_highlightDirection =
        List(this, "HighlightDirection",
             {tr("None"), tr("Right"), tr("Left"), tr("Upper Right"), tr("Upper Left"), tr("Up")});
    m_highlightDepth = List(this, "HighLightDepth", Depths());
    m_highlightColor = new ColorBox(this);
    m_highlightColor->setObjectName(QStringLiteral("HighLightColorCombo"));
    m_fontColor = new ColorBox(this);
    m_fontColor->setObjectName(QStringLiteral("FontColorCombo"));
    grid->addWidget(new QLabel(tr("Shadow Direction"), this), 0, 0);
    grid->addWidget(new QLabel(tr("Shadow Depth"), this), 0, 1);
    grid->addWidget(new QLabel(tr("Shadow Color"), this), 0, 2);
    grid->addWidget(m_shadowDirection, 1, 0);
    grid->addWidget(m_shadowDepth, 1, 1);
    grid->addWidget(m_shadowColor, 1, 2);
    grid->addWidget(new QLabel(tr("Highlight Direction"), this), 2, 0);
    grid->addWidget(new QLabel(tr("Highlight Depth"), this), 2, 1);
    grid->addWidget(new QLabel(tr("Highlight Color"), this), 2, 2);
    grid->addWidget(m_highlightDirection, 3, 0);
    grid->addWidget(m_highlightDepth, 3, 1);
    grid->addWidget(m_highlightColor, 3, 2);
    grid->addWidget(new QLabel(tr("Font Color"), this), 4, 0);
    grid->addWidget(m_fontColor, 5, 0);
    layout->addLayout(grid);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(tr("Ok"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("Ok"));
    ok->setDefault(true);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("Cancel"));
    QPushButton* help = buttons->addButton(tr("Help"), QDialogButtonBox::HelpRole);
    connect(help, &QPushButton::clicked, this, [this] { platform::ShowHelpTopic(this, 40008); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        apply();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // The sample starts as the label and follows every choice at once.
    m_sample->Font()->Assign(*label->Font());
    m_sample->SetDepthHighlight(label->DepthHighlight());
    m_sample->SetDepthShadow(label->DepthShadow());
    m_sample->SetDirectionHighlight(label->DirectionHighlight());
    m_sample->SetDirectionShadow(label->DirectionShadow());
    m_sample->SetColorHighlight(label->ColorHighlight());
    m_sample->SetColorShadow(label->ColorShadow());
    m_sample->setGeometry(frame->contentsRect());
    m_highlightColor->SetColor(label->ColorHighlight());
    m_shadowColor->SetColor(label->ColorShadow());
    m_fontColor->SetColor(label->Font()->Color());
    m_shadowDirection->setCurrentIndex(label->DirectionShadow());
    m_shadowDepth->setCurrentIndex(std::clamp(label->DepthShadow(), 0, 10));
    m_highlightDirection->setCurrentIndex(label->DirectionHighlight());
    m_highlightDepth->setCurrentIndex(std::clamp(label->DepthHighlight(), 0, 10));

    connect(m_shadowDirection, &QComboBox::currentIndexChanged, this,
            [this](int i) { m_sample->SetDirectionShadow(TShadowDirection(i)); });
    connect(m_shadowDepth, &QComboBox::currentIndexChanged, this,
            [this](int i) { m_sample->SetDepthShadow(i); });
    connect(m_highlightDirection, &QComboBox::currentIndexChanged, this,
            [this](int i) { m_sample->SetDirectionHighlight(THighlightDirection(i)); });
    connect(m_highlightDepth, &QComboBox::currentIndexChanged, this,
            [this](int i) { m_sample->SetDepthHighlight(i); });
    connect(m_shadowColor, &ColorBox::colorChosen, this,
            [this](platform::TColor c) { m_sample->SetColorShadow(c); });
    connect(m_highlightColor, &ColorBox::colorChosen, this,
            [this](platform::TColor c) { m_sample->SetColorHighlight(c); });
    connect(m_fontColor, &ColorBox::colorChosen, this,
            [this](platform::TColor c) { m_sample->Font()->SetColor(c); });
    CentreOverMainWindow(this);
}

void TQelFont3DEffects::apply()
{
    m_label->Font()->Assign(*m_sample->Font());
    m_label->SetDepthHighlight(m_sample->DepthHighlight());
    m_label->SetDepthShadow(m_sample->DepthShadow());
    m_label->SetDirectionHighlight(m_sample->DirectionHighlight());
    m_label->SetDirectionShadow(m_sample->DirectionShadow());
    m_label->SetColorHighlight(m_sample->ColorHighlight());
    m_label->SetColorShadow(m_sample->ColorShadow());
}

bool TQelFont3DEffects::Edit(TQelBaseLabel* label, QWidget* parent)
{
    TQelFont3DEffects dialog(label, parent);
    return dialog.exec() == QDialog::Accepted;
}

void TQelFont3DEffects::Install()
{
    TQelBaseLabel::SetEffectsDialog([](TQelBaseLabel* label) { return Edit(label, label->window()); });
}

} // namespace supertext
