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

#include <QCoreApplication>
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

QString DamageMessage(const CalendarDamage& damage)
{
    const auto tr = [](const char* text) { return QCoreApplication::translate("CalendarFile", text); };
    QString what;
    if (!damage.endedEarly)
        what = tr("%1 of the placed objects could not be read.").arg(damage.objectsLost);
    else if (damage.objectsRead == 0)
        what = tr("it ends before its placed objects could be read.");
    else if (damage.objectsRead == 1)
        what = tr("it ends early, and the placed objects after the first one could not be read.");
    else
        what = tr("it ends early, and the placed objects after the first %1 could not be read.")
                   .arg(damage.objectsRead);
    return tr("The file is damaged after byte %1: ").arg(damage.offset) + what;
}

std::optional<CalendarDamage> ReadCalendar(QIODevice* device, TCalendarPanel32& page, QObject* owner)
{
    const qint64 start = device->pos();
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
    if (version <= 2)
        return std::nullopt;

    r.SetNameHook([owner](const ObjRef&, QString& name) {
        // When every name up to Component1000 is taken, the recorded name stays.
        const QString free = design::TQelBasePanel::FreeName(owner, QStringLiteral("Component"), 0);
        if (!free.isEmpty())
            name = free;
    });
    r.SetMethodHook([](const QString&, bool& error) { error = false; });
    int objectsRead = 0;
    qint64 lastGood = r.Position();
    try {
        r.ExpectBeginList();
        lastGood = r.Position();
        // Written from the top of the stack down, each object read goes under those read before it, so
        // overlapping objects keep their stacking through save and open.
        r.TakeRecordList(owner, ObjRef{static_cast<QObject*>(&page), &design::PanelClass()},
                         [&](const ObjRef& o) {
                             if (auto* w = qobject_cast<QWidget*>(static_cast<QObject*>(o.object)))
                                 w->lower();
                             ++objectsRead;
                             lastGood = r.Position();
                         });
        r.ExpectEndList();
        return std::nullopt;
    } catch (const StreamError&) {
        // The objects read completely stay; what could not be read is reported, never passed over.
    }
    CalendarDamage damage;
    damage.objectsRead = objectsRead;
    damage.endedEarly = r.EndedEarly();
    if (device->isSequential() || !device->seek(start + lastGood)) {
        damage.offset = lastGood;
        damage.objectsLost = 1;
        return damage;
    }
    // Each placed object's record begins with the signature: those after the last good byte are the objects
    // that could not be read. The reader has taken what it could, so the rest is read from the device anew.
    const QByteArray rest = device->readAll();
    damage.offset = damage.endedEarly ? lastGood + rest.size() : lastGood;
    damage.objectsLost = std::max<int>(1, int(rest.count(QByteArrayView(kSignature, 4))));
    return damage;
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

std::optional<CalendarDamage> LoadCalendarFile(TCalendarPanel32& page, const QString& path, QObject* owner)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StreamError(kStreamReadError);
    std::optional<CalendarDamage> damage;
    try {
        damage = ReadCalendar(&file, page, owner);
    } catch (...) {
        page.Relayout(false);
        throw;
    }
    page.Relayout(false);
    return damage;
}

} // namespace persist
