#include "persist/formats/StyleSheet.h"

#include "calendar/TCalendarPanel32.h"
#include "persist/formats/StyleBlock.h"
#include "persist/stream/StreamError.h"
#include "persist/stream/TReader.h"
#include "persist/stream/TWriter.h"
#include "platform/SaveFile.h"

#include <QFile>

namespace persist {

namespace {
constexpr int kStreamBuffer = 1000;
}

void WriteStyleSheet(QIODevice* device, const calendar::TCalendarPanel32& page)
{
    TWriter w(device, kStreamBuffer);
    w.BeginList();
    w.PutInteger(1);
    w.PutInteger(2);
    WriteStyleBlock(w, page);
    w.EndList();
    w.Flush();
}

void ReadStyleSheet(QIODevice* device, calendar::TCalendarPanel32& page)
{
    TReader r(device, kStreamBuffer);
    r.ExpectBeginList();
    r.TakeInteger();
    r.TakeInteger();
    ReadStyleBlock(r, page);
    r.ExpectEndList();
}

void SaveStyleSheet(const calendar::TCalendarPanel32& page, const QString& path)
{
    platform::SaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw StreamError(kStreamWriteError);
    WriteStyleSheet(&file, page);
    if (!file.commit())
        throw StreamError(kStreamWriteError);
}

void LoadStyleSheet(calendar::TCalendarPanel32& page, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StreamError(kStreamReadError);
    ReadStyleSheet(&file, page);
}

} // namespace persist
