// Feeds arbitrary bytes to the iCalendar reader and expands two months of what it read, in UTC and in a zone
// with summer time, as the import command and the month fill do: nothing may crash, hang or allocate what
// the input did not pay for.
#include "exchange/IcsCalendar.h"
#include "exchange/IcsMonth.h"

#include <QCoreApplication>

#include <libical/ical.h>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* application = new QCoreApplication(argc, argv);
    Q_UNUSED(application);
    static const QTimeZone berlin("Europe/Berlin");

    {
        exchange::IcsCalendar calendar;
        if (calendar.Read(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)))) {
            for (const QTimeZone& zone : {QTimeZone::utc(), berlin}) {
                const exchange::MonthImport march = exchange::ImportMonth(calendar, 3, 2024, zone);
                exchange::DayTexts(march.entries);
                exchange::ImportDays(calendar, QDate(2024, 10, 21), QDate(2024, 11, 3), zone);
            }
        }
    }
    // libical keeps recent strings in a ring of buffers; emptied, every run ends with what it began with, so
    // the fuzzer looks for leaks only where there are some.
    icalmemory_free_ring();
    return 0;
}
