// Feeds arbitrary bytes to the calendar-file reader: it must end in a StreamError or succeed, never crash,
// hang or allocate what the input did not pay for.
#include "calendar/TCalendarPanel32.h"
#include "persist/formats/CalendarFile.h"
#include "persist/stream/StreamError.h"
#include "tests/persist/TestComponent.h"

#include <QApplication>
#include <QBuffer>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        testsupport::RegisterTestObject();
        return new QApplication(argc, argv);
    }();
    Q_UNUSED(application);

    QWidget owner;
    calendar::TCalendarPanel32 page(&owner);
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    buffer.open(QIODevice::ReadOnly);
    try {
        persist::ReadCalendar(&buffer, page, &owner);
        page.RenderToBitmap();
    } catch (const persist::StreamError&) {
    }
    return 0;
}
