#include "supertext/TSuperTextProperties.h"

#include "controls/TColorDropButton.h"
#include "design/TGetLabelText.h"
#include "platform/Help.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "platform/SymbolFonts.h"
#include "supertext/SampleArea.h"
#include "supertext/TQelSuperText.h"
#include "supertext/TSuperTextBrushImageBrowser.h"
#include "supertext/TSuperTextGetSymbol.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace supertext {

namespace {

QComboBox* List(QWidget* parent, const char* name, const QStringList& items)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(items);
    return box;
}

controls::TColorDropButton* ColorButton(QWidget* parent, const char* name)
{
    auto* button = new controls::TColorDropButton(parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

QSpinBox* Spinner(QWidget* parent, const char* name)
{
    auto* spinner = new QSpinBox(parent);
    spinner->setObjectName(QLatin1String(name));
    spinner->setRange(0, 10);
    return spinner;
}

// The list offers the first six pen styles; an outline drawn inside the frame is a solid line.
int StyleIndex(TPenStyle style)
{
    return style == psInsideFrame ? int(psSolid) : int(style);
}

QFrame* Panel(QWidget* parent, const char* name)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    return panel;
}

} // namespace

TSuperTextProperties::TSuperTextProperties(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SuperTextProperties"));
    setWindowTitle(tr("SuperText Properties"));
    auto* layout = new QVBoxLayout(this);

    // The example sits on a white sample panel that scrolls when the example grows beyond it.
    m_samplePanel = new QScrollArea(this);
    m_samplePanel->setObjectName(QStringLiteral("SamplePanel"));
    m_samplePanel->setMinimumSize(460, 150);
    m_samplePanel->setBackgroundRole(QPalette::Base);
    m_sampleArea = new SampleArea;
    m_example = new TQelSuperText(m_sampleArea);
    m_example->setObjectName(QStringLiteral("Example"));
    m_example->setGeometry(0, 0, 100, 100);
    m_sampleArea->Track(m_example);
    m_samplePanel->setWidget(m_sampleArea);
    layout->addWidget(m_samplePanel, 1);

    auto* textRow = new QHBoxLayout;
    textRow->addWidget(new QLabel(tr("Text"), this));
    m_captionText = new QLineEdit(this);
    m_captionText->setObjectName(QStringLiteral("CaptionText"));
    textRow->addWidget(m_captionText, 1);
    auto* sizeArrows = new QWidget(this);
    sizeArrows->setObjectName(QStringLiteral("RapidChangeFontSize"));
    sizeArrows->setToolTip(tr("Font size"));
    auto* arrows = new QVBoxLayout(sizeArrows);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    for (const bool up : {true, false}) {
        auto* arrow = new QToolButton(sizeArrows);
        arrow->setObjectName(up ? QStringLiteral("RapidChangeFontSizeUp")
                                : QStringLiteral("RapidChangeFontSizeDown"));
        arrow->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
        arrow->setFixedSize(18, 12);
        connect(arrow, &QToolButton::clicked, this, [this, up] { ChangeFontSize(up); });
        arrows->addWidget(arrow);
    }
    textRow->addWidget(sizeArrows);
    auto* fontButton = new QPushButton(tr("Select Font"), this);
    fontButton->setObjectName(QStringLiteral("Fontbutton"));
    connect(fontButton, &QPushButton::clicked, this, &TSuperTextProperties::SelectFont);
    textRow->addWidget(fontButton);
    auto* symbolButton = new QPushButton(tr("Select Symbol"), this);
    symbolButton->setObjectName(QStringLiteral("SelectSymbolbutton"));
    connect(symbolButton, &QPushButton::clicked, this, &TSuperTextProperties::SelectSymbol);
    textRow->addWidget(symbolButton);
    layout->addLayout(textRow);

    auto* settings = new QHBoxLayout;
    // Surface: the type, and the panel of that type (all three in one place).
    auto* surface = new QGroupBox(tr("Surface"), this);
    auto* surfaceGrid = new QGridLayout(surface);
    m_surfaceType = List(surface, "SurfaceTypeCombo",
                         {tr("Normal"), tr("Transparent"), tr("Texture"), tr("Gradient Fill")});
    surfaceGrid->addWidget(m_surfaceType, 0, 0);
    m_fillPanel = Panel(surface, "FillPanel");
    auto* fill = new QGridLayout(m_fillPanel);
    fill->setContentsMargins(0, 0, 0, 0);
    m_fillDirection =
        List(m_fillPanel, "FillDirectionCombo", {tr("Up"), tr("Down"), tr("Left"), tr("Right")});
    m_gradientFrom = ColorButton(m_fillPanel, "GradientFromcolorButton");
    m_gradientTo = ColorButton(m_fillPanel, "GradientToColorButton");
    fill->addWidget(new QLabel(tr("Direction"), m_fillPanel), 0, 0);
    fill->addWidget(m_fillDirection, 0, 1);
    fill->addWidget(new QLabel(tr("From"), m_fillPanel), 1, 0);
    fill->addWidget(m_gradientFrom, 1, 1);
    fill->addWidget(new QLabel(tr("To"), m_fillPanel), 2, 0);
    fill->addWidget(m_gradientTo, 2, 1);
    m_imagePanel = Panel(surface, "ImagePanel");
    auto* image = new QVBoxLayout(m_imagePanel);
    image->setContentsMargins(0, 0, 0, 0);
    auto* loadImage = new QPushButton(tr("Load Texture"), m_imagePanel);
    loadImage->setObjectName(QStringLiteral("LoadImageButton"));
    connect(loadImage, &QPushButton::clicked, this, &TSuperTextProperties::LoadTexture);
    image->addWidget(loadImage);
    image->addStretch();
    m_fontColorPanel = Panel(surface, "FontcolorPanel");
    auto* fontColor = new QGridLayout(m_fontColorPanel);
    fontColor->setContentsMargins(0, 0, 0, 0);
    m_fontColor = ColorButton(m_fontColorPanel, "FontColorButton");
    fontColor->addWidget(new QLabel(tr("Font Color"), m_fontColorPanel), 0, 0);
    fontColor->addWidget(m_fontColor, 0, 1);
    fontColor->setRowStretch(1, 1);
    for (QFrame* panel : {m_fillPanel, m_imagePanel, m_fontColorPanel})
        surfaceGrid->addWidget(panel, 1, 0);
    surfaceGrid->setRowStretch(2, 1);
    settings->addWidget(surface);

    auto* outline = new QGroupBox(tr("Outline"), this);
    auto* outlineGrid = new QGridLayout(outline);
    m_outlineColor = ColorButton(outline, "OutlineColorButton");
    m_outlineStyle = List(outline, "OutlineStyleCombo",
                          {tr("Solid Line"), tr("Dash Line"), tr("Dotted Line"), tr("DashDot Line"),
                           tr("DashDotDot Line"), tr("Clear")});
    m_outlineWidth = Spinner(outline, "OutLineWidthSpinner");
    outlineGrid->addWidget(new QLabel(tr("Color"), outline), 0, 0);
    outlineGrid->addWidget(m_outlineColor, 0, 1);
    outlineGrid->addWidget(new QLabel(tr("Style"), outline), 1, 0);
    outlineGrid->addWidget(m_outlineStyle, 1, 1);
    outlineGrid->addWidget(new QLabel(tr("Width"), outline), 2, 0);
    outlineGrid->addWidget(m_outlineWidth, 2, 1);
    settings->addWidget(outline);

    auto* shadow = new QGroupBox(tr("Shadow"), this);
    auto* shadowGrid = new QGridLayout(shadow);
    m_shadowColor = ColorButton(shadow, "ShadowColorButton");
    m_shadowOrientation =
        List(shadow, "ShadowOrientationCombo",
             {tr("None"), tr("Right"), tr("Left"), tr("Down and Right"), tr("Down and Left"), tr("Down")});
    m_shadowDepth = Spinner(shadow, "ShadowDepthSpinner");
    shadowGrid->addWidget(new QLabel(tr("Color"), shadow), 0, 0);
    shadowGrid->addWidget(m_shadowColor, 0, 1);
    shadowGrid->addWidget(new QLabel(tr("Direction"), shadow), 1, 0);
    shadowGrid->addWidget(m_shadowOrientation, 1, 1);
    shadowGrid->addWidget(new QLabel(tr("Depth"), shadow), 2, 0);
    shadowGrid->addWidget(m_shadowDepth, 2, 1);
    settings->addWidget(shadow);
    layout->addLayout(settings);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(tr("Ok"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Cancelbutton"));
    auto* help = new QPushButton(tr("Help"), this);
    help->setObjectName(QStringLiteral("Helpbutton"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &TSuperTextProperties::okClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { platform::ShowHelpTopic(this, 40014); });

    // Every control acts on the example at once.
    connect(m_captionText, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_example->SetCaption(text);
        m_captionChanged = true;
    });
    connect(m_surfaceType, &QComboBox::currentIndexChanged, this, &TSuperTextProperties::surfaceTypeChosen);
    connect(m_fillDirection, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_initialising && i >= 0)
            m_example->SetFillDirection(TFillDirection(i));
    });
    connect(m_gradientFrom, &controls::TColorDropButton::colorChosen, this,
            [this](platform::TColor c) { m_example->SetGradientFromColor(c); });
    connect(m_gradientTo, &controls::TColorDropButton::colorChosen, this,
            [this](platform::TColor c) { m_example->SetGradientToColor(c); });
    connect(m_fontColor, &controls::TColorDropButton::colorChosen, this,
            [this](platform::TColor c) { m_example->Font()->SetColor(c); });
    connect(m_outlineColor, &controls::TColorDropButton::colorChosen, this,
            [this](platform::TColor c) { m_example->SetOutlineColor(c); });
    connect(m_outlineStyle, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_initialising && i >= 0)
            m_example->SetOutlineStyle(TPenStyle(i));
    });
    connect(m_outlineWidth, &QSpinBox::valueChanged, this, [this](int v) {
        if (!m_initialising)
            m_example->SetOutlineWidth(v);
    });
    connect(m_shadowColor, &controls::TColorDropButton::colorChosen, this,
            [this](platform::TColor c) { m_example->SetShadowcolor(c); });
    connect(m_shadowOrientation, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_initialising && i >= 0)
            m_example->SetShadowOrientation(TShadowOrientation(i));
    });
    connect(m_shadowDepth, &QSpinBox::valueChanged, this, [this](int v) {
        if (!m_initialising)
            m_example->SetShadowDepth(v);
    });

    // Typing refits the example at most five times a second.
    m_fitTimer.setInterval(200);
    connect(&m_fitTimer, &QTimer::timeout, this, &TSuperTextProperties::fitTimerFired);
    m_fitTimer.start();
}

void TSuperTextProperties::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    takeExampleValues();
    design::CentreOverMainWindow(this);
}

void TSuperTextProperties::takeExampleValues()
{
    m_initialising = true;
    m_surfaceType->setCurrentIndex(m_example->SurfaceType());
    m_fillDirection->setCurrentIndex(m_example->FillDirection());
    m_gradientFrom->SetColor(m_example->GradientFromColor());
    m_gradientTo->SetColor(m_example->GradientToColor());
    m_fontColor->SetColor(m_example->Font()->Color());
    m_outlineColor->SetColor(m_example->OutlineColor());
    m_outlineStyle->setCurrentIndex(StyleIndex(m_example->OutlineStyle()));
    m_outlineWidth->setValue(m_example->OutlineWidth());
    m_shadowColor->SetColor(m_example->Shadowcolor());
    m_shadowOrientation->setCurrentIndex(m_example->ShadowOrientation());
    m_shadowDepth->setValue(m_example->ShadowDepth());
    m_initialising = false;
    showSurfacePanel();
    if (m_example->Image().width() > 0)
        m_lastUsedImage = m_example->Image();
    m_captionText->setText(m_example->Caption());
    showCaptionFace();
}

void TSuperTextProperties::showSurfacePanel()
{
    const int type = m_surfaceType->currentIndex();
    m_fillPanel->setVisible(type == stGradientFill);
    m_imagePanel->setVisible(type == stBrushImage);
    m_fontColorPanel->setVisible(type == stNormal);
}

void TSuperTextProperties::surfaceTypeChosen(int index)
{
    if (m_initialising || index < 0)
        return;
    m_example->SetSurfaceType(TSurfaceType(index));
    if (index == stBrushImage)
        m_example->SetImage(m_lastUsedImage);
    // Hollow text may just have had its outline turned solid.
    m_initialising = true;
    m_outlineStyle->setCurrentIndex(StyleIndex(m_example->OutlineStyle()));
    m_initialising = false;
    m_example->update();
    fitExample();
    showSurfacePanel();
}

void TSuperTextProperties::fitExample()
{
    m_example->FitToText();
    m_example->update();
}

void TSuperTextProperties::showCaptionFace()
{
    // The text is edited in its own face, so symbols read as symbols; the faces the program draws through a
    // code table have no face of their own to show here, so their codes show as letters.
    QFont font = m_captionText->font();
    const QString face = m_example->Font()->Name();
    font.setFamily(platform::IsTableSymbolFont(face) ? QApplication::font(m_captionText).family() : face);
    m_captionText->setFont(font);
}

void TSuperTextProperties::fitTimerFired()
{
    if (!m_captionChanged)
        return;
    m_fitTimer.stop();
    fitExample();
    m_captionChanged = false;
    m_fitTimer.start();
}

void TSuperTextProperties::okClicked()
{
    if (m_captionText->text().isEmpty()) {
        platform::Prompts::Current().Information(this, tr("Please enter some text"));
        m_captionText->setFocus();
        return;
    }
    accept();
}

void TSuperTextProperties::ChangeFontSize(bool up)
{
    platform::TFont* font = m_example->Font();
    if (up && font->Size() < 150)
        font->SetSize(font->Size() + 5);
    else if (!up && font->Size() > 10)
        font->SetSize(font->Size() - 5);
    fitExample();
}

void TSuperTextProperties::SelectFont()
{
    const std::optional<platform::FontChoice> chosen = platform::Prompts::Current().ChooseFont(
        this, platform::FontForDialog(*m_example->Font()), platform::FontDialogOption::ScalableOnly);
    if (!chosen)
        return;
    platform::TakeDialogFont(*m_example->Font(), *chosen);
    fitExample();
    showCaptionFace();
}

void TSuperTextProperties::SelectSymbol()
{
    TSuperTextGetSymbol selector(this);
    if (selector.exec() == QDialog::Accepted) {
        m_captionText->setText(selector.Character());
        m_example->SetCaption(selector.Character());
        m_example->Font()->SetName(selector.FontName());
        fitExample();
        showCaptionFace();
    }
}

QString TSuperTextProperties::TextureStart() const
{
    if (!m_lastTexturePath.isEmpty() && QFileInfo(m_lastTexturePath).isFile())
        return m_lastTexturePath;
    const QString program = platform::ProgramFolder();
    const QString shipped = platform::DataFolder() + u'/';
    for (const QString& folder :
         {program + QStringLiteral("bmbrush"), program + QStringLiteral("Textures"),
          shipped + QStringLiteral("bmbrush"), shipped + QStringLiteral("Textures")}) {
        if (QFileInfo(folder).isDir())
            return QDir::cleanPath(folder);
    }
    return QDir::cleanPath(program);
}

void TSuperTextProperties::LoadTexture()
{
    const QString workingFolder = QDir::currentPath();
    TSuperTextBrushImageBrowser browser(this);
    browser.SuperTextExample()->CopyFrom(*m_example);
    browser.OpenAt(TextureStart());
    if (browser.exec() == QDialog::Accepted && !browser.ChosenFile().isEmpty()) {
        m_example->SetImage(browser.SuperTextExample()->Image());
        m_lastUsedImage = browser.SuperTextExample()->Image();
        m_lastTexturePath = browser.ChosenFile();
    }
    QDir::setCurrent(workingFolder);
    fitExample();
}

} // namespace supertext
