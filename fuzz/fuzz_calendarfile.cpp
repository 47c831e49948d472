// Feeds arbitrary bytes to the calendar-file reader: it must end in a StreamError or succeed, never crash,
// hang or allocate what the input did not pay for.
#include "calendar/TCalendarPanel32.h"
#include "fuzz/FuzzSupport.h"
#include "persist/formats/CalendarFile.h"
#include "persist/stream/StreamError.h"
#include "tests/persist/TestComponent.h"

#include <QApplication>
#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::EnsureApplication<QApplication>();
    static const bool registered = (testsupport::RegisterTestObject(), true);
    Q_UNUSED(registered);

    QWidget owner;
    calendar::TCalendarPanel32 page(&owner);
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    buffer.open(QIODevice::ReadOnly);
    try {
        if (const auto damage = persist::ReadCalendar(&buffer, page, &owner))
            persist::DamageMessage(*damage);
        page.RenderToBitmap();
    } catch (const persist::StreamError&) {
    }
    return 0;
}
