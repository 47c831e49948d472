#include "platform/Clock.h"

#include <QElapsedTimer>

namespace platform {

namespace {
QDate g_today;
std::function<qint64()> g_ticks;
} // namespace

QDate Today()
{
    return g_today.isValid() ? g_today : QDate::currentDate();
}

void SetTodayOverride(const QDate& date)
{
    g_today = date;
}

qint64 TickCount()
{
    if (g_ticks)
        return g_ticks();
    static const QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.elapsed();
}

void SetTickCountOverride(std::function<qint64()> ticks)
{
    g_ticks = std::move(ticks);
}

} // namespace platform
