#include "calendar/TFlatCalendarEditor.h"

#include "calendar/TQelFlatCalendar.h"
#include "controls/TColorButton.h"
#include "design/TGraphicPanel.h"
#include "platform/Clock.h"
#include "platform/Help.h"
#include "platform/Prompts.h"
#include "platform/TFont.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace calendar {

namespace {

QPointer<TFlatCalendarEditor> g_shared;

constexpr int kHelpTopic = 40020;
constexpr int kSampleMargin = 12;

const QStringList kBorders = {QStringLiteral("None"), QStringLiteral("All"), QStringLiteral("Top"),
                              QStringLiteral("Bottom"), QStringLiteral("Top & Bottom")};

void SetIndex(QComboBox* list, int index)
{
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

} // namespace

TFlatCalendarEditor* TFlatCalendarEditor::Shared()
{
    return g_shared;
}

void TFlatCalendarEditor::MakeShared()
{
    g_shared = this;
}

TFlatCalendarEditor::~TFlatCalendarEditor() = default;

QComboBox* TFlatCalendarEditor::list(const QStringList& items, const std::function<void(int)>& apply)
{
    auto* combo = new QComboBox(this);
    combo->addItems(items);
    connect(combo, &QComboBox::currentIndexChanged, this, [this, apply](int index) {
        if (m_initialising || m_filling || index < 0)
            return;
        apply(index);
    });
    return combo;
}

QPushButton* TFlatCalendarEditor::fontButton(const QString& caption,
                                             platform::TFont* (TQelFlatCalendar::*font)() const)
{
    auto* button = new QPushButton(caption, this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, button, font] {
        platform::TFont* target = (m_sample->*font)();
        if (const auto chosen =
                platform::Prompts::Current().ChooseFont(button, platform::FontForDialog(*target), {}))
            platform::TakeDialogFont(*target, *chosen);
    });
    return button;
}

controls::TColorButton* TFlatCalendarEditor::colorButton(const QString& caption,
                                                         const std::function<void(platform::TColor)>& apply)
{
    auto* button = new controls::TColorButton(caption, this);
    button->setAutoDefault(false);
    connect(button, &controls::TColorButton::colorChosen, this, [this, apply](platform::TColor color) {
        if (!m_initialising && !m_filling)
            apply(color);
    });
    return button;
}

TFlatCalendarEditor::TFlatCalendarEditor(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FlatCalendarEditor"));
    setWindowTitle(tr("Floating Calendar Properties"));

    using F = TQelFlatCalendar;
    QStringList months;
    for (const QString& name : FlatMonthNames(fclEnglish))
        months.append(name);
    m_month = list(months, [this](int i) { m_sample->SetMonth(i + 1); });
    m_year = new QSpinBox(this);
    m_year->setRange(1950, 2500);
    // The current year until the dialog shows a calendar's own.
    const QDate today = platform::Today();
    m_year->setValue(today.isValid() ? today.year() : 1998);
    connect(m_year, &QSpinBox::valueChanged, this, [this](int year) {
        if (!m_initialising && !m_filling)
            m_sample->SetYear(year);
    });
    m_weekStart = list({tr("Sunday"), tr("Monday")}, [this](int i) { m_sample->SetStartOfWeek(i + 1); });
    m_headerStyle = list({tr("First Character"), tr("First Three Characters"), tr("Whole Word")},
                         [this](int i) { m_sample->SetDayNameStyle(TFlatCalHeadersStyle(i)); });
    m_calendarBorder =
        list(kBorders, [this](int i) { m_sample->SetCalendarBorderStyle(TFlatCalBorderStyle(i)); });
    m_headerBorder =
        list(kBorders, [this](int i) { m_sample->SetDayNameBorderStyle(TFlatCalBorderStyle(i)); });
    m_cellBorder = list(kBorders, [this](int i) { m_sample->SetCellBorderStyle(TFlatCalBorderStyle(i)); });
    m_titleColor =
        colorButton(tr("Title Background"), [this](platform::TColor c) { m_sample->SetTitleBGColor(c); });
    m_headerColor =
        colorButton(tr("Header Background "), [this](platform::TColor c) { m_sample->SetDayNameBGColor(c); });
    m_bodyColor =
        colorButton(tr("Body Background "), [this](platform::TColor c) { m_sample->SetBackgroundColor(c); });
    m_shadowColor = colorButton(tr("Color"), [this](platform::TColor c) { m_sample->SetShadowColor(c); });
    m_transparent = new QCheckBox(tr("Transparent"), this);
    connect(m_transparent, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_initialising && !m_filling)
            m_sample->SetCalTransparent(on);
    });
    m_orientation = list({tr("Lower Right"), tr("Lower Left"), tr("UpperRight"), tr("UpperLeft")},
                         [this](int i) { m_sample->SetShadowPosition(TFlatShadowPosition(i)); });
    m_depth = new QSpinBox(this);
    m_depth->setRange(0, 10);
    connect(m_depth, &QSpinBox::valueChanged, this, [this](int depth) {
        if (!m_initialising && !m_filling)
            m_sample->SetShadowDepth(depth);
    });
    m_language = list({QStringLiteral("English"), QStringLiteral("Deutsch"), QStringLiteral("Fran\u00E7ais"),
                       QStringLiteral("L'italiano"), QStringLiteral("Espa\u00F1ol")},
                      [this](int i) { m_sample->SetLanguage(TFlatCalLanguage(i)); });
    m_showYear = new QCheckBox(tr("Show Year in Title"), this);
    connect(m_showYear, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_initialising && !m_filling)
            m_sample->SetShowYear(on);
    });

    auto* date = new QGroupBox(tr("Date"), this);
    auto* dateForm = new QFormLayout(date);
    dateForm->addRow(tr("Month"), m_month);
    dateForm->addRow(tr("Year"), m_year);
    dateForm->addRow(tr("Week Starts On"), m_weekStart);
    dateForm->addRow(tr("Language"), m_language);
    dateForm->addRow(m_showYear);

    auto* lines = new QGroupBox(tr("Borders"), this);
    auto* linesForm = new QFormLayout(lines);
    linesForm->addRow(tr("Calendar "), m_calendarBorder);
    linesForm->addRow(tr("Header"), m_headerBorder);
    linesForm->addRow(tr("Cell "), m_cellBorder);
    linesForm->addRow(tr("Header Style"), m_headerStyle);

    auto* colours = new QGroupBox(tr("Colors"), this);
    auto* coloursLayout = new QVBoxLayout(colours);
    for (QWidget* w : {static_cast<QWidget*>(m_titleColor), static_cast<QWidget*>(m_headerColor),
                       static_cast<QWidget*>(m_bodyColor), static_cast<QWidget*>(m_transparent)})
        coloursLayout->addWidget(w);

    auto* shadow = new QGroupBox(tr("Shadow"), this);
    auto* shadowForm = new QFormLayout(shadow);
    shadowForm->addRow(m_shadowColor);
    shadowForm->addRow(tr("Orientation"), m_orientation);
    shadowForm->addRow(tr("Depth"), m_depth);

    auto* fonts = new QGroupBox(tr("Fonts"), this);
    auto* fontsLayout = new QVBoxLayout(fonts);
    m_fontButtons[0] = fontButton(tr("Title Font"), &F::TitleFont);
    m_fontButtons[1] = fontButton(tr("Header Font"), &F::DayNameFont);
    m_fontButtons[2] = fontButton(tr("Cell Font"), &F::CellFont);
    for (QPushButton* b : m_fontButtons)
        fontsLayout->addWidget(b);

    // The sample: the calendar as it will look, on white paper.
    m_sampleArea = new QScrollArea(this);
    m_sampleArea->setObjectName(QStringLiteral("SampleArea"));
    m_sampleArea->setAlignment(Qt::AlignCenter);
    m_sampleArea->setBackgroundRole(QPalette::Base);
    QPalette white = m_sampleArea->palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Window, Qt::white);
    m_sampleArea->setPalette(white);
    m_sampleCanvas = new QWidget;
    m_sample = new TQelFlatCalendar(m_sampleCanvas);
    m_sample->setObjectName(QStringLiteral("Sample"));
    m_sample->resize(180, 150);
    m_sampleArea->setWidget(m_sampleCanvas);
    placeSample();

    auto* sampleCaption = new design::TGraphicPanel(this);
    sampleCaption->setObjectName(QStringLiteral("SampleCaption"));
    sampleCaption->SetCaption(tr("Sample"));
    sampleCaption->setFixedHeight(24);
    auto* sample = new QVBoxLayout;
    sample->setSpacing(0);
    sample->addWidget(sampleCaption);
    sample->addWidget(m_sampleArea, 1);

    auto* grid = new QGridLayout;
    grid->addWidget(date, 0, 0);
    grid->addWidget(lines, 1, 0);
    grid->addWidget(colours, 0, 1);
    grid->addWidget(shadow, 1, 1);
    grid->addWidget(fonts, 2, 1);
    grid->addLayout(sample, 0, 2, 3, 1);
    grid->setColumnStretch(2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(tr("Ok"), this);
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    m_cancel->setAutoDefault(false);
    auto* help = new QPushButton(tr("Help"), this);
    help->setObjectName(QStringLiteral("HelpButton"));
    help->setAutoDefault(false);
    for (QPushButton* b : {m_ok, m_cancel, help})
        buttons->addWidget(b);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { platform::ShowHelpTopic(this, kHelpTopic); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
}

void TFlatCalendarEditor::placeSample()
{
    m_sample->move(kSampleMargin, kSampleMargin);
    m_sampleCanvas->resize(m_sample->width() + 2 * kSampleMargin, m_sample->height() + 2 * kSampleMargin);
    // Room for the whole sample where the screen allows; a larger one scrolls.
    const int frame = 2 * m_sampleArea->frameWidth() + 2;
    m_sampleArea->setMinimumSize(std::clamp(m_sampleCanvas->width() + frame, 260, 560),
                                 std::clamp(m_sampleCanvas->height() + frame, 220, 440));
}

void TFlatCalendarEditor::EditObject(const TQelFlatCalendar& object)
{
    m_sample->AssignProperties(object);
    const float zoom = object.ZoomFactor() > 0 ? object.ZoomFactor() : 1.0f;
    m_sample->resize(std::max(1, static_cast<int>(std::trunc(object.width() / double(zoom)))),
                     std::max(1, static_cast<int>(std::trunc(object.height() / double(zoom)))));
    placeSample();
    if (isVisible())
        FillFromSample();
}

void TFlatCalendarEditor::FillFromSample()
{
    m_filling = true;
    SetIndex(m_month, m_sample->Month() - 1);
    m_year->setValue(m_sample->Year());
    SetIndex(m_weekStart, m_sample->StartOfWeek() - 1);
    SetIndex(m_headerStyle, m_sample->DayNameStyle());
    SetIndex(m_calendarBorder, m_sample->CalendarBorderStyle());
    SetIndex(m_headerBorder, m_sample->DayNameBorderStyle());
    SetIndex(m_cellBorder, m_sample->CellBorderStyle());
    m_titleColor->SetColor(m_sample->TitleBGColor());
    m_headerColor->SetColor(m_sample->DayNameBGColor());
    m_bodyColor->SetColor(m_sample->BackgroundColor());
    m_shadowColor->SetColor(m_sample->ShadowColor());
    m_transparent->setChecked(m_sample->CalTransparent());
    SetIndex(m_orientation, m_sample->ShadowPosition());
    m_depth->setValue(m_sample->ShadowDepth());
    SetIndex(m_language, m_sample->Language());
    m_showYear->setChecked(m_sample->ShowYear());
    m_filling = false;
}

void TFlatCalendarEditor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FillFromSample();
    m_initialising = false;
    m_ok->setFocus();
}

} // namespace calendar
