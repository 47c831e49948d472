#pragma once

#include <QDialog>
#include <QList>
#include <QTime>

class QPushButton;

namespace app {

/** Picks a time of day with one button per hour (AM and PM rows) and one per minute. */
class TSetTimeDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TSetTimeDialog(const QTime& time, QWidget* parent = nullptr);

    QTime Time() const { return m_time; }
    int Hour() const { return m_hour; }
    int Minute() const { return m_minute; }
    /** The button of an hour 0..23 or a minute 0..59. */
    QPushButton* HourButton(int hour) const { return m_hours.value(hour); }
    QPushButton* MinuteButton(int minute) const { return m_minutes.value(minute); }
    /** "hh:mm am" or "hh:mm pm" on a 12-hour clock, whatever the locale. */
    static QString TimeText(const QTime& time);

private:
    void refresh();

    QList<QPushButton*> m_hours;
    QList<QPushButton*> m_minutes;
    int m_hour = 0;
    int m_minute = 0;
    QTime m_time;
};

} // namespace app
