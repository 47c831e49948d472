#include "persist/formats/CalendarFile.h"

#include "calendar/DateRules.h"
#include "calendar/TCalendarPanel32.h"
#include "design/PlacedObjectClasses.h"
#include "design/TQelBasePanel.h"
#include "persist/formats/StyleBlock.h"
#include "persist/stream/ClassRegistry.h"
#include "persist/stream/StandardClasses.h"
#include "persist/stream/StreamError.h"
#include "persist/stream/TReader.h"
#include "persist/stream/TWriter.h"
#include "platform/SaveFile.h"

#include <QFile>
#include <QWidget>

namespace persist {

using calendar::TCalendarPanel32;

namespace {

constexpr int kFileKind = 1;
constexpr int kStreamBuffer = 1000;

} // namespace

QList<QObject*> PlacedObjects(const TCalendarPanel32& page)
{
    QList<QObject*> objects;
    const QObjectList& children = page.children();
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        if (ClassRegistry::Instance().RefOf(*it))
            objects.append(*it);
    }
    return objects;
}

void WriteCalendar(QIODevice* device, const TCalendarPanel32& page, bool withObjects)
{
    TWriter w(device, kStreamBuffer);
    w.BeginList();
    w.PutInteger(kCalendarFileVersion);
    w.PutInteger(kFileKind);
    WriteStyleBlock(w, page);
    w.PutInteger(page.MainCalDay());
    w.PutInteger(page.MainCalMonth());
    w.PutInteger(page.MainCalYear());
    w.PutInteger(page.StartOfWeek());
    int hour = 0, minute = 0;
    calendar::DecodeTime(page.DayStartTime(), hour, minute);
    w.PutInteger(hour);
    w.PutInteger(minute);
    for (int i = 1; i <= calendar::kCellCount; ++i)
        w.PutRootRecord(RtfStorageRef(const_cast<richtext::TVelRtfStorage*>(&page.CellStorage(i))));
    w.PutText(page.UserTitle());
    w.EndList();
    w.BeginList();
    if (withObjects) {
        for (QObject* object : PlacedObjects(page))
            w.PutRootRecord(ClassRegistry::Instance().RefOf(object));
    }
    w.EndList();
    w.Flush();
}

void ReadCalendar(QIODevice* device, TCalendarPanel32& page, QObject* owner)
{
    TReader r(device, kStreamBuffer);
    r.ExpectBeginList();
    const int version = r.TakeInteger();
    r.TakeInteger(); // the file kind
    ReadStyleBlock(r, page);
    const int day = r.TakeInteger();
    page.StoreMainCalDate(day, page.MainCalMonth(), page.MainCalYear());
    const int month = r.TakeInteger();
    page.StoreMainCalDate(day, month, page.MainCalYear());
    page.StoreMainCalDate(day, month, r.TakeInteger());
    page.SetStartOfWeek(r.TakeInteger());
    const int hour = r.TakeInteger();
    const int minute = r.TakeInteger();
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59)
        throw StreamError(kInvalidPropertyValue);
    page.StoreDayStartTime(calendar::EncodeTime(hour, minute));
    for (int i = 1; i <= calendar::kCellCount; ++i)
        r.TakeRootRecord(RtfStorageRef(&page.CellStorage(i)));
    if (version > 1)
        page.SetUserTitle(r.TakeText());
    r.ExpectEndList();

    if (version > 2) {
        r.SetNameHook([owner](const ObjRef&, QString& name) {
            // When every name up to Component1000 is taken, the recorded name stays.
            const QString free = design::TQelBasePanel::FreeName(owner, QStringLiteral("Component"), 0);
            if (!free.isEmpty())
                name = free;
        });
        r.SetMethodHook([](const QString&, bool& error) { error = false; });
        try {
            r.ExpectBeginList();
            // Written from the top of the stack down, each object read goes under those read before it, so
            // overlapping objects keep their stacking through save and open.
            r.TakeRecordList(owner, ObjRef{static_cast<QObject*>(&page), &design::PanelClass()},
                             [](const ObjRef& o) {
                                 if (auto* w = qobject_cast<QWidget*>(static_cast<QObject*>(o.object)))
                                     w->lower();
                             });
            r.ExpectEndList();
        } catch (const StreamError&) {
            // A damaged or foreign object list costs only the objects not yet read.
        }
    }
}

void SaveCalendarFile(const TCalendarPanel32& page, const QString& path)
{
    platform::SaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw StreamError(kStreamWriteError);
    WriteCalendar(&file, page);
    if (!file.commit())
        throw StreamError(kStreamWriteError);
}

void LoadCalendarFile(TCalendarPanel32& page, const QString& path, QObject* owner)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StreamError(kStreamReadError);
    try {
        ReadCalendar(&file, page, owner);
    } catch (...) {
        page.Relayout(false);
        throw;
    }
    page.Relayout(false);
}

} // namespace persist
