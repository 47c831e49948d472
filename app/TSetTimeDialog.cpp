#include "app/TSetTimeDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

namespace {

QPushButton* SmallButton(const QString& caption, const QString& hint, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setToolTip(hint);
    button->setFixedSize(28, 22);
    button->setAutoFillBackground(true);
    button->setFlat(true);
    // A click leaves the focus where it was, so Enter still means OK; Tab reaches the buttons.
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

TSetTimeDialog::TSetTimeDialog(const QTime& time, QWidget* parent)
    : QDialog(parent), m_hour(time.isValid() ? time.hour() : 0), m_minute(time.isValid() ? time.minute() : 0)
{
    setObjectName(QStringLiteral("SetTimeDialog"));
    auto* layout = new QVBoxLayout(this);

    auto* hourPanel = new QGroupBox(tr("  Hour"), this);
    auto* hourGrid = new QGridLayout(hourPanel);
    hourGrid->setSpacing(1);
    const QString hourHint = tr("Click to set the hours portion of the time");
    for (int row = 0; row < 2; ++row) {
        hourGrid->addWidget(new QLabel(row == 0 ? tr("AM") : tr("PM"), hourPanel), row, 0);
        for (int i = 0; i < 12; ++i) {
            const int hour = row * 12 + i;
            QPushButton* button = SmallButton(QString::number(i == 0 ? 12 : i), hourHint, hourPanel);
            connect(button, &QPushButton::clicked, this, [this, hour] {
                m_hour = hour;
                refresh();
            });
            hourGrid->addWidget(button, row, i + 1);
            m_hours.append(button);
        }
    }
    layout->addWidget(hourPanel);

    auto* minutePanel = new QGroupBox(tr("  Minute"), this);
    auto* minuteGrid = new QGridLayout(minutePanel);
    minuteGrid->setSpacing(1);
    const QString minuteHint = tr("Click to set the minutes portion of the time");
    for (int minute = 0; minute < 60; ++minute) {
        QPushButton* button =
            SmallButton(QStringLiteral("%1").arg(minute, 2, 10, QLatin1Char('0')), minuteHint, minutePanel);
        connect(button, &QPushButton::clicked, this, [this, minute] {
            m_minute = minute;
            refresh();
        });
        minuteGrid->addWidget(button, minute / 12, minute % 12);
        m_minutes.append(button);
    }
    layout->addWidget(minutePanel);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(tr("&Ok"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    refresh();
}

QString TSetTimeDialog::TimeText(const QTime& time)
{
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QStringLiteral("%1:%2 %3")
        .arg(hour12, 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.hour() < 12 ? QStringLiteral("am") : QStringLiteral("pm"));
}

void TSetTimeDialog::refresh()
{
    m_time = QTime(m_hour, m_minute);
    setWindowTitle(tr("Set Time As: ") + TimeText(m_time));
    // The chosen hour and minute are marked yellow; the rest take the plain button face.
    auto mark = [](const QList<QPushButton*>& buttons, int selected) {
        for (int i = 0; i < buttons.size(); ++i) {
            QPalette palette = buttons[i]->palette();
            palette.setColor(QPalette::Button,
                             i == selected ? QColor(Qt::yellow) : QPalette().color(QPalette::Button));
            buttons[i]->setPalette(palette);
        }
    };
    mark(m_hours, m_hour);
    mark(m_minutes, m_minute);
}

} // namespace app
