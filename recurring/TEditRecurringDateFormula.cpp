#include "recurring/TEditRecurringDateFormula.h"

#include "platform/Prompts.h"
#include "recurring/RecurringFormula.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cstdlib>

namespace recurring {

namespace {

QStringList MonthItems()
{
    QStringList items{QStringLiteral("Each Month")};
    for (int m = 1; m <= 12; ++m)
        items.append(QLocale().monthName(m, QLocale::LongFormat));
    return items;
}

} // namespace

TEditRecurringDateFormula::TEditRecurringDateFormula(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("EditRecurringDateFormula"));
    setWindowTitle(tr("Recurring Date - Formulas"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Recurring event (birthday, anniversary, etc)"), this));
    m_event = new QLineEdit(this);
    m_event->setObjectName(QStringLiteral("Event"));
    layout->addWidget(m_event);

    auto* grid = new QGridLayout;
    m_rbDayOfWeek = new QRadioButton(tr("Day of the &Week"), this);
    m_rbDayOfWeek->setObjectName(QStringLiteral("rbDayOfweek"));
    m_rbDayOfMonth = new QRadioButton(tr("Day of the &Month"), this);
    m_rbDayOfMonth->setObjectName(QStringLiteral("rbDayOfMonth"));
    m_rbSpecial = new QRadioButton(tr("&Special"), this);
    m_rbSpecial->setObjectName(QStringLiteral("rbSpecial"));

    grid->addWidget(m_rbDayOfWeek, 0, 0);
    auto* days = new QHBoxLayout;
    static const char* const kNames[7][2] = {{"Sunday", "Sun"},    {"Monday", "Mon"},   {"Tuesday", "Tues"},
                                             {"Wednesday", "Wed"}, {"Thursday", "Thu"}, {"Friday", "Fri"},
                                             {"Saturday", "Sat"}};
    for (int i = 0; i < 7; ++i) {
        m_days[i] = new QCheckBox(tr(kNames[i][1]), this);
        m_days[i]->setObjectName(QLatin1String(kNames[i][0]));
        m_days[i]->setChecked(i >= 1 && i <= 5);
        days->addWidget(m_days[i]);
    }
    m_allDays = new QCheckBox(tr("All Days"), this);
    m_allDays->setObjectName(QStringLiteral("AllDaysCheck"));
    days->addWidget(m_allDays);
    grid->addLayout(days, 0, 1);

    grid->addWidget(m_rbDayOfMonth, 1, 0);
    auto* dayOfMonth = new QHBoxLayout;
    m_day = new QSpinBox(this);
    m_day->setObjectName(QStringLiteral("DayOfMonthDay"));
    m_day->setRange(1, 31);
    m_day->setValue(1);
    m_month = new QComboBox(this);
    m_month->setObjectName(QStringLiteral("DayOfMonthMonth"));
    m_month->addItems(MonthItems());
    dayOfMonth->addWidget(m_day);
    dayOfMonth->addWidget(new QLabel(tr("of"), this));
    dayOfMonth->addWidget(m_month);
    grid->addLayout(dayOfMonth, 1, 1);

    grid->addWidget(m_rbSpecial, 2, 0);
    auto* special = new QHBoxLayout;
    m_occurrence = new QComboBox(this);
    m_occurrence->setObjectName(QStringLiteral("SpecialOccurrance"));
    m_occurrence->addItems({tr("1st"), tr("2nd"), tr("3rd"), tr("4th"), tr("5th"), tr("Last")});
    m_weekday = new QComboBox(this);
    m_weekday->setObjectName(QStringLiteral("SpecialDayOfWeek"));
    for (int i = 0; i < 7; ++i)
        m_weekday->addItem(tr(kNames[i][0]));
    m_weekday->addItem(tr("Day (any day)"));
    m_specialMonth = new QComboBox(this);
    m_specialMonth->setObjectName(QStringLiteral("SpecialMonth"));
    m_specialMonth->addItems(MonthItems());
    special->addWidget(m_occurrence);
    special->addWidget(m_weekday);
    special->addWidget(new QLabel(tr("of"), this));
    special->addWidget(m_specialMonth);
    grid->addLayout(special, 2, 1);

    m_rbEaster = new QRadioButton(tr("&Easter"), this);
    m_rbEaster->setObjectName(QStringLiteral("rbEaster"));
    grid->addWidget(m_rbEaster, 3, 0);
    auto* easter = new QHBoxLayout;
    m_easterDays = new QSpinBox(this);
    m_easterDays->setObjectName(QStringLiteral("EasterDays"));
    m_easterDays->setRange(0, kMaxEasterOffset);
    m_easterDirection = new QComboBox(this);
    m_easterDirection->setObjectName(QStringLiteral("EasterDirection"));
    m_easterDirection->addItems({tr("after"), tr("before")});
    m_easterFeast = new QComboBox(this);
    m_easterFeast->setObjectName(QStringLiteral("EasterFeast"));
    m_easterFeast->addItems({tr("Easter"), tr("Orthodox Easter")});
    easter->addWidget(m_easterDays);
    easter->addWidget(new QLabel(tr("days"), this));
    easter->addWidget(m_easterDirection);
    easter->addWidget(m_easterFeast);
    easter->addStretch();
    grid->addLayout(easter, 3, 1);

    m_rbOnOrAfter = new QRadioButton(tr("Weekday &On or After"), this);
    m_rbOnOrAfter->setObjectName(QStringLiteral("rbOnOrAfter"));
    grid->addWidget(m_rbOnOrAfter, 4, 0);
    auto* onOrAfter = new QHBoxLayout;
    m_afterWeekday = new QComboBox(this);
    m_afterWeekday->setObjectName(QStringLiteral("OnOrAfterWeekday"));
    for (int i = 0; i < 7; ++i)
        m_afterWeekday->addItem(tr(kNames[i][0]));
    m_afterDay = new QSpinBox(this);
    m_afterDay->setObjectName(QStringLiteral("OnOrAfterDay"));
    m_afterDay->setRange(1, 31);
    m_afterMonth = new QComboBox(this);
    m_afterMonth->setObjectName(QStringLiteral("OnOrAfterMonth"));
    m_afterMonth->addItems(MonthItems());
    onOrAfter->addWidget(m_afterWeekday);
    onOrAfter->addWidget(new QLabel(tr("on or after"), this));
    onOrAfter->addWidget(m_afterDay);
    onOrAfter->addWidget(new QLabel(tr("of"), this));
    onOrAfter->addWidget(m_afterMonth);
    grid->addLayout(onOrAfter, 4, 1);
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(tr("&Ok"), this);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    m_rbDayOfMonth->setChecked(true);
    for (QRadioButton* rb : {m_rbDayOfWeek, m_rbDayOfMonth, m_rbSpecial, m_rbEaster, m_rbOnOrAfter})
        connect(rb, &QRadioButton::clicked, this, [this] { SetRecurType(); });
    connect(m_allDays, &QCheckBox::clicked, this, [this](bool on) {
        for (QCheckBox* day : m_days)
            day->setChecked(on);
    });
    connect(ok, &QPushButton::clicked, this, [this] {
        if (DetermineFormulaString())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    SetRecurType();
}

QString TEditRecurringDateFormula::Description() const
{
    return m_event->text();
}

void TEditRecurringDateFormula::SetDescription(const QString& description)
{
    m_event->setText(description);
}

void TEditRecurringDateFormula::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_event->setFocus();
    SetEmUp();
}

void TEditRecurringDateFormula::SetEmUp()
{
    if (m_formula.startsWith(u'$')) {
        if (const auto f = ParseSpecial(m_formula)) {
            m_rbSpecial->setChecked(true);
            m_occurrence->setCurrentIndex(f->occurrence);
            m_weekday->setCurrentIndex(f->weekday);
            m_specialMonth->setCurrentIndex(f->month);
        }
    } else if (m_formula.startsWith(u'@')) {
        if (const auto f = ParseDayOfMonth(m_formula)) {
            m_rbDayOfMonth->setChecked(true);
            m_day->setValue(f->day);
            m_month->setCurrentIndex(f->month);
        }
    } else if (const auto easter = m_formula.startsWith(u'#') ? ParseEasterOffset(m_formula) : std::nullopt) {
        m_rbEaster->setChecked(true);
        m_easterDays->setValue(std::abs(easter->offset));
        m_easterDirection->setCurrentIndex(easter->offset < 0 ? 1 : 0);
        m_easterFeast->setCurrentIndex(easter->orthodox ? 1 : 0);
    } else if (m_formula.startsWith(u'>')) {
        if (const auto f = ParseOnOrAfter(m_formula)) {
            m_rbOnOrAfter->setChecked(true);
            m_afterWeekday->setCurrentIndex(f->weekday);
            m_afterDay->setValue(f->day);
            m_afterMonth->setCurrentIndex(f->month);
        }
    } else {
        m_rbDayOfWeek->setChecked(true);
        for (int i = 0; i < 7; ++i)
            m_days[i]->setChecked(m_formula.contains(QChar(u'1' + i)));
    }
    SetRecurType();
}

void TEditRecurringDateFormula::SetRecurType()
{
    const bool week = m_rbDayOfWeek->isChecked();
    const bool month = m_rbDayOfMonth->isChecked();
    const bool special = m_rbSpecial->isChecked();
    for (QCheckBox* day : m_days)
        day->setEnabled(week);
    m_allDays->setEnabled(week);
    m_day->setEnabled(month);
    m_month->setEnabled(month);
    for (QComboBox* box : {m_occurrence, m_weekday, m_specialMonth})
        box->setEnabled(special);
    const bool easter = m_rbEaster->isChecked();
    m_easterDays->setEnabled(easter);
    m_easterDirection->setEnabled(easter);
    m_easterFeast->setEnabled(easter);
    const bool onOrAfter = m_rbOnOrAfter->isChecked();
    m_afterWeekday->setEnabled(onOrAfter);
    m_afterDay->setEnabled(onOrAfter);
    m_afterMonth->setEnabled(onOrAfter);
    for (QRadioButton* rb : {m_rbDayOfWeek, m_rbDayOfMonth, m_rbSpecial, m_rbEaster, m_rbOnOrAfter}) {
        QFont font = rb->font();
        font.setBold(rb->isChecked());
        rb->setFont(font);
    }
}

bool TEditRecurringDateFormula::DetermineFormulaString()
{
    QString formula;
    auto tell = [this](const QString& text) { platform::Prompts::Current().Information(this, text); };
    if (m_rbDayOfMonth->isChecked()) {
        if (m_day->value() < 1 || m_day->value() > 31) {
            tell(QStringLiteral("Invalid day of month entered "));
            return false;
        }
        if (m_month->currentIndex() < 0) {
            tell(QStringLiteral("Invalid month entered "));
            return false;
        }
        formula = BuildDayOfMonth(m_day->value(), m_month->currentIndex());
    } else if (m_rbSpecial->isChecked()) {
        if (m_occurrence->currentIndex() < 0 || m_weekday->currentIndex() < 0 ||
            m_specialMonth->currentIndex() < 0) {
            tell(QStringLiteral("Invalid value entered for Special category"));
            return false;
        }
        formula = BuildSpecial(m_occurrence->currentIndex(), m_weekday->currentIndex(),
                               m_specialMonth->currentIndex());
    } else if (m_rbEaster->isChecked()) {
        const int days = m_easterDays->value();
        formula = BuildEasterOffset(m_easterDirection->currentIndex() == 1 ? -days : days,
                                    m_easterFeast->currentIndex() == 1);
    } else if (m_rbOnOrAfter->isChecked()) {
        if (m_afterWeekday->currentIndex() < 0 || m_afterMonth->currentIndex() < 0) {
            tell(QStringLiteral("Invalid value entered for Special category"));
            return false;
        }
        formula =
            BuildOnOrAfter(m_afterWeekday->currentIndex(), m_afterDay->value(), m_afterMonth->currentIndex());
    } else {
        formula = QStringLiteral("%");
        for (int i = 0; i < 7; ++i) {
            if (m_days[i]->isChecked())
                formula += QChar(u'1' + i);
        }
        if (formula.size() == 1) {
            tell(QStringLiteral("You must select at least one day for this \nreminder to occur on"));
            return false;
        }
    }
    if (formula.isEmpty())
        return false;
    m_formula = formula;
    return true;
}

} // namespace recurring
