#include "platform/Clock.h"

namespace platform {

namespace {
QDate g_today;
}

QDate Today()
{
    return g_today.isValid() ? g_today : QDate::currentDate();
}

void SetTodayOverride(const QDate& date)
{
    g_today = date;
}

} // namespace platform
