// Feeds arbitrary bytes to the program as its clipboard file Clipbrd.tmp and pastes them onto a page, then
// paints the page with what was pasted: any input pastes some objects or none, never a crash or a hang.
#include "calendar/TCalendarPanel32.h"
#include "design/TQelBaseLabel.h"
#include "fuzz/FuzzSupport.h"
#include "persist/stream/StreamError.h"
#include "tests/support/ScriptedPrompts.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::EnsureApplication<QApplication>();
    static testsupport::ScriptedPrompts prompts; // messages are recorded, never shown
    prompts.messages.clear();
    fuzz::InputFile(QStringLiteral("Clipbrd.tmp"), data, size);

    QWidget owner;
    auto* page = new calendar::TCalendarPanel32(&owner);
    page->ResetToNew();
    auto* anchor = new design::TZubLabel(page);
    anchor->AfterLoad();
    anchor->setGeometry(10, 10, 60, 20);
    try {
        // The paste of an object's own menu: no guard against a second paste within a second.
        page->ObjectClipboardAction(anchor, design::TQelBasePanel::Paste);
    } catch (const persist::StreamError&) {
        // A damaged clipboard file pastes what was read before the damage.
    }
    QImage image(page->size(), QImage::Format_RGB32);
    page->render(&image);
    return 0;
}
