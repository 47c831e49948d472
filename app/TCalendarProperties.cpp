#include "app/TCalendarProperties.h"

#include "app/TSetTimeDialog.h"
#include "app/WindowPlacement.h"
#include "calendar/DateRules.h"
#include "calendar/TCalendarPanel32.h"
#include "controls/TColorButton.h"
#include "persist/formats/StyleSheet.h"
#include "persist/stream/StreamError.h"
#include "platform/Help.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "platform/TFont.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>

namespace app {

namespace {

const QString kPlacementClass = QStringLiteral("TCalendarProperties");
const QString kStyleFilter = QStringLiteral("Calendar Style Sheet (*.KVS)");
constexpr float kMarginInches[6] = {0.25f, 0.5f, 0.75f, 1.0f, 1.25f, 1.5f};

struct Language
{
    const char* button;
    std::array<const char*, 7> days;
    std::array<const char*, 12> months;
};

const Language kLanguages[] = {
    {"English",
     {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
     {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
      "November", "December"}},
    {"Français",
     {"Dimanche", "Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi"},
     {"Janvier", "Février", "Mars", "Avril", "Mai", "Juin", "Juillet", "Août", "Septembre", "Octobre",
      "Novembre", "Décembre"}},
    {"Deutsch",
     {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag ", "Samstag"},
     {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September", "Oktober",
      "November", "Dezember"}},
    {"L'italiano",
     {"Domenica", "Lunedì", "Martedì", "Mercoledì", "Giovedì", "Venerdì", "Sabato"},
     {"Gennaio", "Febbraio", "Marzo", "Aprile", "Maggio", "Giugno", "Luglio", "Agosto", "Settembre",
      "Ottobre", "Novembre", "Dicembre"}},
    {"Español",
     {"Domingo", "Lunes", "Martes", "Miércoles", "Jueves", "Viernes", "Sábado"},
     {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio", "Agosto", "Septiembre", "Octubre",
      "Noviembre", "Diciembre"}},
};

QButtonGroup* RadioGroup(const QString& title, const QStringList& items, QWidget* parent, QWidget** box)
{
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(group);
    auto* buttons = new QButtonGroup(group);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], group);
        buttons->addButton(radio, i);
        layout->addWidget(radio);
    }
    *box = group;
    return buttons;
}

QComboBox* Combo(const QStringList& items, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->addItems(items);
    return combo;
}

bool IsPlanner(calendar::TCalendarLayout layout)
{
    return layout > calendar::loMC60MonthLS;
}

QTime DayTime(double fraction)
{
    int hour = 0, minute = 0;
    calendar::DecodeTime(fraction, hour, minute);
    return QTime(hour, minute);
}

} // namespace

TCalendarProperties::TCalendarProperties(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CalendarProperties"));
    setWindowTitle(tr("Calendar Properties"));

    m_example = new calendar::TCalendarPanel32;
    m_example->setObjectName(QStringLiteral("ExampleCalendar"));

    m_notebook = new QTabWidget(this);
    m_notebook->addTab(buildLayoutPage(), tr("Layout"));
    m_notebook->addTab(buildDatePage(), tr("Date"));
    m_notebook->addTab(buildFontsPage(), tr("Fonts && Colors"));
    m_notebook->addTab(buildMiniFontsPage(), tr("Mini Fonts && Colors"));
    m_notebook->addTab(buildHeaderStylesPage(), tr("Header Styles"));
    m_notebook->addTab(buildLineStylesPage(), tr("Line Styles"));
    m_notebook->addTab(buildDayPlannerPage(), tr("Day Planner"));
    m_notebook->addTab(buildLanguagePage(), tr("Language"));
    m_notebook->addTab(buildMarginsPage(), tr("Margins"));
    // Nine tabs do not fit in one row beside the example; a list names every page at a glance instead.
    m_notebook->tabBar()->hide();
    m_pageList = new QListWidget(this);
    m_pageList->setObjectName(QStringLiteral("PageList"));
    for (int i = 0; i < m_notebook->count(); ++i)
        m_pageList->addItem(m_notebook->tabText(i).replace(QStringLiteral("&&"), QStringLiteral("&")));
    m_pageList->setCurrentRow(0);
    m_pageList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pageList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pageList->setSpacing(3);
    m_pageList->setFixedWidth(m_pageList->sizeHintForColumn(0) + 2 * m_pageList->frameWidth() + 16);
    m_pageList->setMinimumHeight((m_pageList->sizeHintForRow(0) + 6) * m_pageList->count() +
                                 2 * m_pageList->frameWidth());
    connect(m_pageList, &QListWidget::currentRowChanged, m_notebook, &QTabWidget::setCurrentIndex);
    connect(m_notebook, &QTabWidget::currentChanged, m_pageList,
            [this](int page) { m_pageList->setCurrentRow(page); });

    // The example page with its zoom buttons beside the notebook.
    auto* exampleBox = new QVBoxLayout;
    auto* scroll = new QScrollArea(this);
    scroll->setBackgroundRole(QPalette::Dark);
    scroll->setWidget(m_example);
    scroll->setMinimumSize(360, 300);
    exampleBox->addWidget(scroll, 1);
    auto* zoomRow = new QHBoxLayout;
    auto* zoomOut = new QPushButton(tr("-"), this);
    zoomOut->setObjectName(QStringLiteral("ZoomOutButton"));
    zoomOut->setToolTip(tr("Zoom Out"));
    auto* zoomIn = new QPushButton(tr("+"), this);
    zoomIn->setObjectName(QStringLiteral("ZoomInButton"));
    zoomIn->setToolTip(tr("Zoom In"));
    m_zoomLabel = new QLabel(this);
    connect(zoomOut, &QPushButton::clicked, this, [this] { ZoomExample(false); });
    connect(zoomIn, &QPushButton::clicked, this, [this] { ZoomExample(true); });
    zoomRow->addWidget(zoomOut);
    zoomRow->addWidget(zoomIn);
    zoomRow->addWidget(m_zoomLabel);
    zoomRow->addStretch();
    exampleBox->addLayout(zoomRow);

    auto* top = new QHBoxLayout;
    top->addWidget(m_pageList);
    top->addWidget(m_notebook);
    top->addLayout(exampleBox, 1);

    auto* bottom = new QHBoxLayout;
    auto addButton = [this, bottom](const QString& caption, const char* name, auto slot) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, slot);
        bottom->addWidget(button);
        return button;
    };
    addButton(tr("&Ok"), "OkButton", [this] { accept(); })->setDefault(true);
    addButton(tr("&Cancel"), "CancelButton", [this] { reject(); });
    addButton(tr("&Save As Style Sheet"), "SaveStyleButton", [this] { SaveStyleSheet(); });
    addButton(tr("&Load Style Sheet"), "LoadStyleButton", [this] { LoadStyleSheet(); });
    addButton(tr("&Default Style"), "DefaultStyleButton", [this] { DefaultStyle(); });
    addButton(tr("&Help"), "HelpButton",
              [this] { platform::ShowHelpTopic(this, 2100 + m_notebook->currentIndex()); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
    resize(1000, 540);
}

QPushButton* TCalendarProperties::Button(const char* name) const
{
    return findChild<QPushButton*>(QLatin1String(name));
}

// ---- pages

QWidget* TCalendarProperties::buildLayoutPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    m_layoutList = new QListWidget(page);
    m_layoutList->setObjectName(QStringLiteral("LayoutList"));
    m_layoutList->addItems(
        {tr("1 Month Calendar "), tr("1 Month Calendar, 2 Mini Calendars"),
         tr("1 Month Calendar, 6 Mini Calendars Before & After "),
         tr("1 Month Calendar, 12 Mini Calendars After "), tr("6 Month Calendar (Mini Calendars)"),
         tr("12 Month Calendar (Mini Calendars)"), tr("24 Month Calendar (Mini Calendars)"),
         tr("48 Month Calendar (Mini Calendars)"), tr("60 Month Calendar (Mini Calendars)"),
         tr("One Week Planner"), tr("Two Week Planner"), tr("Day Planner (10 hours) "),
         tr("Day Planner (15 hours) ")});
    layout->addWidget(m_layoutList);
    auto* row = new QHBoxLayout;
    QWidget* paperBox = nullptr;
    m_orientation = RadioGroup(tr("Orientation"), {tr("Portrait"), tr("Landscape")}, page, &m_orientationBox);
    m_paper = RadioGroup(tr("Paper"), {tr("Letter"), tr("A4")}, page, &paperBox);
    row->addWidget(m_orientationBox);
    row->addWidget(paperBox);
    layout->addLayout(row);
    // Any change of the current row, by mouse or by the arrow keys, chooses the layout.
    connect(m_layoutList, &QListWidget::currentRowChanged, this, [this] { LayoutChanged(); });
    connect(m_orientation, &QButtonGroup::idClicked, this, [this] { LayoutChanged(); });
    connect(m_paper, &QButtonGroup::idClicked, this, [this] { LayoutChanged(); });
    return page;
}

QWidget* TCalendarProperties::buildDatePage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    m_dateCaption = new QLabel(page);
    m_dateLabel = new QLabel(page);
    QFont bold = m_dateLabel->font();
    bold.setBold(true);
    m_dateLabel->setFont(bold);
    layout->addWidget(m_dateCaption);
    layout->addWidget(m_dateLabel);
    auto* steps = new QHBoxLayout;
    auto step = [this, steps, page](const QString& caption, const char* name, int months) {
        auto* button = new QPushButton(caption, page);
        button->setObjectName(QLatin1String(name));
        connect(button, &QPushButton::clicked, this, [this, months] {
            const QDate shown = m_datePicker->selectedDate();
            m_datePicker->setSelectedDate(months == 0 ? QDate::currentDate() : shown.addMonths(months));
        });
        steps->addWidget(button);
    };
    step(tr("<<"), "PreviousYearButton", -12);
    step(tr("<"), "PreviousMonthButton", -1);
    step(tr("Now"), "NowButton", 0);
    step(tr(">"), "NextMonthButton", 1);
    step(tr(">>"), "NextYearButton", 12);
    layout->addLayout(steps);
    m_datePicker = new QCalendarWidget(page);
    m_datePicker->setObjectName(QStringLiteral("Calendar"));
    m_datePicker->setGridVisible(true);
    // A page's year lies in 1..9999.
    m_datePicker->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    layout->addWidget(m_datePicker);
    m_yearBox = m_datePicker->findChild<QSpinBox*>();
    if (m_yearBox)
        m_yearBox->installEventFilter(this);
    connect(m_datePicker, &QCalendarWidget::selectionChanged, this, [this] { DateChanged(); });
    // A month or year chosen in the picker's own title (a year typed there too) is the date chosen.
    connect(m_datePicker, &QCalendarWidget::currentPageChanged, this, [this](int year, int month) {
        const QDate selected = m_datePicker->selectedDate();
        const QDate first(year, month, 1);
        m_datePicker->setSelectedDate(first.addDays(std::min(selected.day(), first.daysInMonth()) - 1));
    });
    m_weekStartsOn = RadioGroup(tr("Week Starts On"), {tr("Sunday"), tr("Monday")}, page, &m_weekStartsBox);
    layout->addWidget(m_weekStartsBox);
    connect(m_weekStartsOn, &QButtonGroup::idClicked, this, [this](int id) {
        if (m_initialising)
            return;
        m_example->SetStartOfWeek(id + 1);
        repaintExample();
    });
    m_showYear = new QCheckBox(tr("Show Year in Title"), page);
    m_miniShowYear = new QCheckBox(tr("Show Year in Mini Title"), page);
    layout->addWidget(m_showYear);
    layout->addWidget(m_miniShowYear);
    connect(m_showYear, &QCheckBox::toggled, this, [this](bool on) {
        if (m_initialising)
            return;
        m_example->SetTitleShowYear(on);
        repaintExample();
    });
    connect(m_miniShowYear, &QCheckBox::toggled, this, [this](bool on) {
        if (m_initialising)
            return;
        m_example->SetMiniShowYear(on);
        repaintExample();
    });
    return page;
}

namespace {

/** A font button: the font dialog starts from the example's font, which takes the choice. */
QPushButton* FontButton(QWidget* parent, TCalendarProperties* dialog,
                        platform::TFont* (calendar::TCalendarPanel32::*font)() const, const char* name)
{
    auto* button = new QPushButton(QObject::tr("Font..."), parent);
    button->setObjectName(QLatin1String(name));
    QObject::connect(button, &QPushButton::clicked, dialog, [dialog, button, font] {
        calendar::TCalendarPanel32* example = dialog->ExampleCalendar();
        platform::TFont* target = (example->*font)();
        if (const auto chosen =
                platform::Prompts::Current().ChooseFont(button, platform::FontForDialog(*target), {}))
            platform::TakeDialogFont(*target, *chosen);
        example->update();
    });
    return button;
}

} // namespace

void TCalendarProperties::editsExample(QComboBox* combo, const std::function<void(int)>& apply)
{
    connect(combo, &QComboBox::activated, this, [this, apply](int index) {
        if (m_initialising)
            return;
        apply(index);
        repaintExample();
    });
}

controls::TColorButton* TCalendarProperties::colorButton(QWidget* parent,
                                                         const std::function<void(platform::TColor)>& apply,
                                                         const char* name)
{
    auto* button = new controls::TColorButton(tr("Background Color..."), parent);
    button->setObjectName(QLatin1String(name));
    connect(button, &controls::TColorButton::colorChosen, this, [this, apply](platform::TColor color) {
        if (m_initialising)
            return;
        apply(color);
        repaintExample();
    });
    return button;
}

QWidget* TCalendarProperties::buildFontsPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* title = new QGroupBox(tr("Title"), page);
    auto* titleRow = new QHBoxLayout(title);
    m_titleFont = FontButton(title, this, &calendar::TCalendarPanel32::TitleFont, "TitleFontButton");
    m_titleColor = colorButton(
        title, [this](platform::TColor c) { m_example->SetTitleBGColor(c); }, "TitleColorButton");
    titleRow->addWidget(m_titleFont);
    titleRow->addWidget(m_titleColor);
    auto* header = new QGroupBox(tr("Header"), page);
    auto* headerRow = new QHBoxLayout(header);
    m_headerFont = FontButton(header, this, &calendar::TCalendarPanel32::HeadersFont, "HeaderFontButton");
    m_headerColor = colorButton(
        header, [this](platform::TColor c) { m_example->SetHeadersBGColor(c); }, "HeaderColorButton");
    headerRow->addWidget(m_headerFont);
    headerRow->addWidget(m_headerColor);
    auto* cells = new QGroupBox(tr("Number Cells"), page);
    auto* cellsRow = new QHBoxLayout(cells);
    m_numberFont = FontButton(cells, this, &calendar::TCalendarPanel32::CellFont, "NumberFontButton");
    cellsRow->addWidget(m_numberFont);
    cellsRow->addStretch();
    layout->addWidget(title);
    layout->addWidget(header);
    layout->addWidget(cells);
    layout->addStretch();
    return page;
}

QWidget* TCalendarProperties::buildMiniFontsPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto group = [page, layout](const QString& caption) {
        auto* box = new QGroupBox(caption, page);
        auto* row = new QHBoxLayout(box);
        layout->addWidget(box);
        return std::make_pair(box, row);
    };
    auto [title, titleRow] = group(tr("Mini Title"));
    m_miniTitleFont =
        FontButton(title, this, &calendar::TCalendarPanel32::MiniTitleFont, "MiniTitleFontButton");
    titleRow->addWidget(m_miniTitleFont);
    titleRow->addStretch();
    auto [header, headerRow] = group(tr("Mini Header"));
    m_miniHeaderFont =
        FontButton(header, this, &calendar::TCalendarPanel32::MiniHeadersFont, "MiniHeaderFontButton");
    m_miniHeaderColor = colorButton(
        header, [this](platform::TColor c) { m_example->SetMiniHeadersBGColor(c); }, "MiniHeaderColorButton");
    headerRow->addWidget(m_miniHeaderFont);
    headerRow->addWidget(m_miniHeaderColor);
    auto [cells, cellsRow] = group(tr("Mini Number Cells"));
    m_miniNumberFont =
        FontButton(cells, this, &calendar::TCalendarPanel32::MiniCellFont, "MiniNumberFontButton");
    cellsRow->addWidget(m_miniNumberFont);
    cellsRow->addStretch();
    auto [background, backgroundRow] = group(tr("Mini Calendar Background Color"));
    m_miniCalColor = colorButton(
        background, [this](platform::TColor c) { m_example->SetMiniCalBGColor(c); }, "MiniCalColorButton");
    m_miniCalColor->setText(tr("Color..."));
    backgroundRow->addWidget(m_miniCalColor);
    backgroundRow->addStretch();
    layout->addStretch();
    return page;
}

QWidget* TCalendarProperties::buildHeaderStylesPage()
{
    auto* page = new QWidget;
    auto* layout = new QFormLayout(page);
    const QStringList styles = {tr("First Character"), tr("First Three Characters"), tr("Whole Word")};
    m_headerStyle = Combo(styles, page);
    m_headerStyle->setObjectName(QStringLiteral("CalHeaderStyleCombo"));
    m_miniHeaderStyle = Combo(styles, page);
    m_miniHeaderStyle->setObjectName(QStringLiteral("MiniHeadersStyleCombo"));
    layout->addRow(tr("Calendar Headers"), m_headerStyle);
    layout->addRow(tr("Mini Calendar Headers"), m_miniHeaderStyle);
    editsExample(m_headerStyle,
                 [this](int index) { m_example->SetHeadersStyle(calendar::TCalHeadersStyle(index)); });
    editsExample(m_miniHeaderStyle,
                 [this](int index) { m_example->SetMiniHeadersStyle(calendar::TCalHeadersStyle(index)); });
    return page;
}

QWidget* TCalendarProperties::buildLineStylesPage()
{
    auto* page = new QWidget;
    auto* layout = new QFormLayout(page);
    m_lineLayout = Combo({tr("Full"), tr("Headers & Cells"), tr("Cells Only")}, page);
    m_lineLayout->setObjectName(QStringLiteral("CalendarLineLayoutCombo"));
    m_miniLineLayout = Combo({tr("Full"), tr("Boxed"), tr("Minimal")}, page);
    m_miniLineLayout->setObjectName(QStringLiteral("MiniCalendarLineLayoutCombo"));
    layout->addRow(tr("Calendar Lines"), m_lineLayout);
    layout->addRow(tr("Mini Calendar Lines"), m_miniLineLayout);
    editsExample(m_lineLayout, [this](int index) {
        m_example->SetCalendarLineLayout(calendar::TCalendarLineLayout(index));
    });
    editsExample(m_miniLineLayout, [this](int index) {
        m_example->SetMiniCalendarLineLayout(calendar::TMiniCalendarLineLayout(index));
    });
    return page;
}

QWidget* TCalendarProperties::buildDayPlannerPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* box = new QGroupBox(tr("Starting Time (for day planners)"), page);
    auto* row = new QHBoxLayout(box);
    m_timeButton = new QPushButton(tr("Set Time..."), box);
    m_timeButton->setObjectName(QStringLiteral("StartingTimeButton"));
    m_timeLabel = new QLabel(box);
    row->addWidget(m_timeButton);
    row->addWidget(m_timeLabel);
    row->addStretch();
    connect(m_timeButton, &QPushButton::clicked, this, [this] { StartingTime(); });
    layout->addWidget(box);
    auto* note =
        new QLabel(tr("*(Note: This setting only applies if you have selected one of the two Day Planners "
                      "from the Layout tab)"),
                   page);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addStretch();
    return page;
}

QWidget* TCalendarProperties::buildLanguagePage()
{
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    m_monthNames = new QPlainTextEdit(page);
    m_monthNames->setObjectName(QStringLiteral("MonthNames"));
    m_dayNames = new QPlainTextEdit(page);
    m_dayNames->setObjectName(QStringLiteral("DayNames"));
    for (QPlainTextEdit* memo : {m_monthNames, m_dayNames}) {
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo->setFixedWidth(110);
        memo->installEventFilter(this);
    }
    layout->addWidget(new QLabel(tr("Month Names"), page), 0, 0);
    layout->addWidget(new QLabel(tr("Day Names"), page), 0, 1);
    layout->addWidget(m_monthNames, 1, 0);
    layout->addWidget(m_dayNames, 1, 1);
    auto* buttons = new QVBoxLayout;
    for (int i = 0; i < int(std::size(kLanguages)); ++i) {
        auto* button = new QPushButton(QString::fromUtf8(kLanguages[i].button), page);
        connect(button, &QPushButton::clicked, this, [this, i] { SetLanguage(i); });
        buttons->addWidget(button);
    }
    buttons->addStretch();
    layout->addLayout(buttons, 1, 2);
    return page;
}

QWidget* TCalendarProperties::buildMarginsPage()
{
    auto* page = new QWidget;
    auto* layout = new QFormLayout(page);
    m_useInches = new QRadioButton(tr("Use Inches"), page);
    m_useMillimeters = new QRadioButton(tr("Use Millimeters"), page);
    m_useInches->setChecked(true);
    layout->addRow(m_useInches);
    layout->addRow(m_useMillimeters);
    connect(m_useMillimeters, &QRadioButton::toggled, this, [this](bool on) { setMarginTexts(on); });
    const QString captions[4] = {tr("Left Margin"), tr("Top Margin"), tr("Right Margin"),
                                 tr("Bottom Margin")};
    for (int side = 0; side < 4; ++side) {
        m_margins[side] = new QComboBox(page);
        layout->addRow(captions[side], m_margins[side]);
        connect(m_margins[side], &QComboBox::activated, this, [this](int) {
            if (m_initialising)
                return;
            auto inches = [this](int side) {
                const int index = m_margins[side]->currentIndex();
                return index < 0 ? 0.0f : kMarginInches[index];
            };
            m_example->SetLeftMarginInch(inches(0));
            m_example->SetTopMarginInch(inches(1));
            m_example->SetRightMarginInch(inches(2));
            m_example->SetBottomMarginInch(inches(3));
            repaintExample();
        });
    }
    setMarginTexts(false);
    return page;
}

void TCalendarProperties::setMarginTexts(bool millimetres)
{
    const QStringList inches = {QStringLiteral("¼ Inch"),  QStringLiteral("½ Inch"),
                                QStringLiteral("¾ Inch"),  QStringLiteral("1 Inch"),
                                QStringLiteral("1¼ Inch"), QStringLiteral("1½ Inch")};
    const QStringList mm = {QStringLiteral("6 mm"),  QStringLiteral("13 mm"), QStringLiteral("19 mm"),
                            QStringLiteral("25 mm"), QStringLiteral("32 mm"), QStringLiteral("38 mm")};
    for (QComboBox* list : m_margins) {
        const int selected = list->currentIndex();
        list->clear();
        list->addItems(millimetres ? mm : inches);
        list->setCurrentIndex(selected);
    }
}

int TCalendarProperties::MarginIndex(float inches)
{
    const double value = double(inches);
    if (value < 0.5)
        return 0;
    if (value < 0.75)
        return 1;
    if (value < 1)
        return 2;
    if (value < 1.25)
        return 3;
    if (value < 1.5)
        return 4;
    return 5;
}

// ---- behaviour

void TCalendarProperties::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    showZoom();
    RestorePlacement(*this, kPlacementClass, parentWidget());
    if (m_newCalendar)
        m_example->ResetToNew();
    FillFromExample();
    m_initialising = false;
    LayoutChanged();
}

void TCalendarProperties::FillFromExample()
{
    const bool was = m_initialising;
    m_initialising = true;
    const calendar::TCalendarLayout layout = m_example->CalendarLayout();
    if (layout < calendar::loWeek) {
        m_layoutList->setCurrentRow(int(layout) / 2);
        m_orientation->button(int(layout) % 2)->setChecked(true);
    } else {
        m_layoutList->setCurrentRow(9 + int(layout) - int(calendar::loWeek));
        m_orientation->button(0)->setChecked(true);
    }
    if (QAbstractButton* paper = m_paper->button(m_example->PaperSize()))
        paper->setChecked(true);
    m_plannerSelected = IsPlanner(layout);
    m_dateCaption->setText(m_plannerSelected ? tr("Select Starting Date") : tr("Select Month & Year"));
    m_datePicker->setSelectedDate(
        QDate(m_example->MainCalYear(), m_example->MainCalMonth(), std::max(1, m_example->MainCalDay())));
    QStringList months, days;
    for (int i = 1; i <= 12; ++i) {
        QString name;
        m_example->GetMonthName(i, name);
        months.append(name);
    }
    for (int i = 1; i <= 7; ++i) {
        QString name;
        m_example->GetDayName(i, name);
        days.append(name);
    }
    m_monthNames->setPlainText(months.join(u'\n'));
    m_dayNames->setPlainText(days.join(u'\n'));
    if (QAbstractButton* start = m_weekStartsOn->button(m_example->StartOfWeek() - 1))
        start->setChecked(true);
    m_titleColor->SetColor(m_example->TitleBGColor());
    m_headerColor->SetColor(m_example->HeadersBGColor());
    m_miniHeaderColor->SetColor(m_example->MiniHeadersBGColor());
    m_miniCalColor->SetColor(m_example->MiniCalBGColor());
    m_headerStyle->setCurrentIndex(int(m_example->HeadersStyle()));
    m_miniHeaderStyle->setCurrentIndex(int(m_example->MiniHeadersStyle()));
    m_lineLayout->setCurrentIndex(int(m_example->CalendarLineLayout()));
    m_miniLineLayout->setCurrentIndex(int(m_example->MiniCalendarLineLayout()));
    m_dateLabel->setText(QLocale().toString(m_datePicker->selectedDate(), QStringLiteral("MMMM yyyy")));
    m_timeLabel->setText(QLocale().toString(DayTime(m_example->DayStartTime()), QLocale::ShortFormat));
    m_showYear->setChecked(m_example->TitleShowYear());
    m_miniShowYear->setChecked(m_example->MiniShowYear());
    m_margins[0]->setCurrentIndex(MarginIndex(m_example->LeftMarginInch()));
    m_margins[1]->setCurrentIndex(MarginIndex(m_example->TopMarginInch()));
    m_margins[2]->setCurrentIndex(MarginIndex(m_example->RightMarginInch()));
    m_margins[3]->setCurrentIndex(MarginIndex(m_example->BottomMarginInch()));
    m_initialising = was;
}

void TCalendarProperties::LayoutChanged()
{
    if (m_initialising)
        return;
    m_plannerSelected = false;
    m_example->SetPaperSize(std::max(0, m_paper->checkedId()));
    calendar::TCalendarLayout layout = m_example->CalendarLayout();
    const int row = m_layoutList->currentRow();
    if (row >= 9)
        layout = calendar::TCalendarLayout(int(calendar::loWeek) + row - 9);
    else if (row >= 0)
        layout = calendar::TCalendarLayout(2 * row + (m_orientation->checkedId() == 1 ? 1 : 0));
    m_plannerSelected = IsPlanner(layout);
    DateChanged();
    m_example->SetCalendarLayout(layout);
    m_example->Relayout(true);
    repaintExample();
    applyEnabling();
}

void TCalendarProperties::DateChanged()
{
    const QDate date = m_datePicker->selectedDate();
    m_dateLabel->setText(m_plannerSelected ? QLocale().toString(date, QLocale::LongFormat)
                                           : QLocale().toString(date, QStringLiteral("MMMM yyyy")));
    if (m_initialising)
        return;
    m_example->SetMainCalMonth(date.month());
    m_example->SetMainCalYear(date.year());
    m_example->SetMainCalDay(date.day());
    repaintExample();
}

void TCalendarProperties::applyEnabling()
{
    const int l = int(m_example->CalendarLayout());
    const int family = m_example->LayoutFamily();
    m_orientationBox->setEnabled(family == 0 || family == 1);
    m_weekStartsBox->setEnabled(l < 18);
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_showYear, m_titleColor, m_numberFont, m_lineLayout})
        control->setEnabled(l < 8);
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_miniShowYear, m_miniTitleFont, m_miniHeaderFont, m_miniNumberFont, m_miniHeaderColor,
             m_miniCalColor, m_miniHeaderStyle, m_miniLineLayout})
        control->setEnabled(l >= 2 && l <= 17);
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_titleFont, m_headerFont, m_headerColor, m_headerStyle})
        control->setEnabled(l < 8 || l > 17);
    m_timeButton->setEnabled(family == 4 || family == 5);
    m_dateCaption->setText(l < 18 ? tr("Select Month & Year") : tr("Select Starting Date"));
}

void TCalendarProperties::repaintExample()
{
    m_example->update();
}

bool TCalendarProperties::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_yearBox && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // The picker takes the typed year when its box loses the focus; the key must not press OK.
            m_datePicker->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut) {
        if (watched == m_monthNames)
            ApplyMonthNames();
        else if (watched == m_dayNames)
            ApplyDayNames();
    }
    return QDialog::eventFilter(watched, event);
}

namespace {

/** A memo's lines; a line break at the end closes the last line and starts no empty one. */
QStringList MemoLines(const QPlainTextEdit& memo)
{
    QStringList lines = memo.toPlainText().split(u'\n');
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

void TCalendarProperties::ApplyMonthNames()
{
    const QStringList lines = MemoLines(*m_monthNames);
    for (int i = 1; i <= 12 && i <= lines.size(); ++i)
        m_example->SetMonthName(i, lines[i - 1]);
    repaintExample();
}

void TCalendarProperties::ApplyDayNames()
{
    const QStringList lines = MemoLines(*m_dayNames);
    for (int i = 1; i <= 7 && i <= lines.size(); ++i)
        m_example->SetDayName(i, lines[i - 1]);
    repaintExample();
}

void TCalendarProperties::SetLanguage(int language)
{
    const Language& chosen = kLanguages[language];
    QStringList days, months;
    for (const char* day : chosen.days)
        days.append(QString::fromUtf8(day));
    for (const char* month : chosen.months)
        months.append(QString::fromUtf8(month));
    m_dayNames->setPlainText(days.join(u'\n'));
    m_monthNames->setPlainText(months.join(u'\n'));
    ApplyMonthNames();
    ApplyDayNames();
}

void TCalendarProperties::StartingTime()
{
    QTime time = QLocale().toTime(m_timeLabel->text(), QLocale::ShortFormat);
    if (!time.isValid()) {
        time = QTime::currentTime();
        m_timeLabel->setText(QLocale().toString(time, QLocale::ShortFormat));
    }
    TSetTimeDialog dialog(time, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_timeLabel->setText(QLocale().toString(dialog.Time(), QLocale::ShortFormat));
    m_example->SetDayStartTime(calendar::EncodeTime(dialog.Time().hour(), dialog.Time().minute()));
    repaintExample();
}

void TCalendarProperties::ZoomExample(bool in)
{
    const double factor = double(m_example->Zoom());
    if (in && factor < 1.0)
        m_example->SetZoom(float(factor + 0.1));
    else if (!in && factor > 0.2)
        m_example->SetZoom(float(factor - 0.1));
    showZoom();
}

void TCalendarProperties::showZoom()
{
    m_zoomLabel->setText(QStringLiteral("%1%").arg(std::lround(double(m_example->Zoom()) * 100)));
}

void TCalendarProperties::SaveStyleSheet()
{
    const auto path = platform::Prompts::Current().SaveFileName(
        this, tr("Save As Calendar Style Sheet"), platform::ProgramFolder() + QStringLiteral("MyStyle.KVS"),
        kStyleFilter);
    if (!path)
        return;
    // A name typed without an extension is a style sheet's name.
    const QString file = QFileInfo(*path).suffix().isEmpty() ? *path + QStringLiteral(".KVS") : *path;
    if (QFileInfo(file).suffix().toUpper() != QStringLiteral("KVS")) {
        platform::Prompts::Current().Information(this, tr("Must save as a Calendar Style Sheet (*.KVS)"));
        return;
    }
    try {
        persist::SaveStyleSheet(*m_example, file);
    } catch (const persist::StreamError&) {
        platform::Prompts::Current().Information(this, tr("Unable to save %1").arg(file));
    }
}

void TCalendarProperties::LoadStyleSheet()
{
    const auto path = platform::Prompts::Current().OpenFileName(this, tr("Open Calendar Style Sheet"),
                                                                platform::ProgramFolder(), kStyleFilter);
    if (!path)
        return;
    if (QFileInfo(*path).suffix().toUpper() != QStringLiteral("KVS")) {
        platform::Prompts::Current().Information(this, tr("Must be a Calendar Style Sheet (*.KVS)"));
        return;
    }
    m_initialising = true;
    try {
        persist::LoadStyleSheet(*m_example, *path);
    } catch (const persist::StreamError&) {
        platform::Prompts::Current().Information(
            this,
            tr("Unable to open %1. Possibly \ncorrupted, possibly not a Calendar Style file").arg(*path));
    }
    FillFromExample();
    m_initialising = false;
    LayoutChanged();
}

void TCalendarProperties::DefaultStyle()
{
    m_initialising = true;
    m_example->ResetToNew();
    FillFromExample();
    m_initialising = false;
    LayoutChanged();
}

QString TCalendarProperties::MonthChangeQuestion(int filledCells)
{
    return filledCells == 1 ? tr("The text of 1 day will be removed. Change the month?")
                            : tr("The text of %1 days will be removed. Change the month?").arg(filledCells);
}

void TCalendarProperties::done(int result)
{
    if (result == QDialog::Accepted && m_cellsHaveText && m_example->LayoutFamily() != m_pageFamily &&
        !platform::Prompts::Current().Question(
            this, tr("WARNING"),
            tr("Warning: changing to this type of layout\nwill erase all text "
               "and icons from the current\ncalendar. Proceed?")))
        return;
    // Within the same kind of page, another month moves the day cells to other days: their text goes.
    const bool monthChanged =
        m_example->MainCalMonth() != m_pageMonth || m_example->MainCalYear() != m_pageYear;
    if (result == QDialog::Accepted && m_filledCells > 0 && m_example->LayoutFamily() == m_pageFamily &&
        m_example->LayoutFamily() != 1 && monthChanged &&
        !platform::Prompts::Current().Question(this, tr("Change the Month"),
                                               MonthChangeQuestion(m_filledCells)))
        return;
    SavePlacement(*this, kPlacementClass);
    QDialog::done(result);
}

} // namespace app
