// Feeds arbitrary bytes to the style-sheet reader, then lays out and paints the page the way the properties
// dialog does after loading one: a StreamError or success, never a crash, a hang or an unpaid allocation.
#include "calendar/TCalendarPanel32.h"
#include "fuzz/FuzzSupport.h"
#include "persist/formats/StyleSheet.h"
#include "persist/stream/StreamError.h"

#include <QApplication>
#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::EnsureApplication<QApplication>();
    calendar::TCalendarPanel32 page;
    page.ResetToNew();
    QBuffer buffer;
    buffer.setData(fuzz::Bytes(data, size));
    buffer.open(QIODevice::ReadOnly);
    try {
        persist::ReadStyleSheet(&buffer, page);
    } catch (const persist::StreamError&) {
        // The values read before the failure stay, and the page is drawn with them all the same.
    }
    page.SetCalendarLayout(page.CalendarLayout());
    page.Relayout(true);
    page.RenderToBitmap();
    return 0;
}
