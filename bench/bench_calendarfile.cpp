// Save and load of a calendar with 42 filled cells and 50 placed objects, in memory and through a file.
// Build with -DDATORIA_BUILD_BENCH=ON; run: QT_QPA_PLATFORM=offscreen build/bin/bench_calendarfile
#include "calendar/TCalendarPanel32.h"
#include "persist/formats/CalendarFile.h"
#include "platform/Clock.h"
#include "platform/Screen.h"
#include "tests/persist/TestComponent.h"

#include <QBuffer>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using calendar::TCalendarPanel32;

class BenchCalendarFile : public QObject
{
    Q_OBJECT

    static void Fill(TCalendarPanel32& page)
    {
        page.ResetToNew();
        for (int i = 1; i <= 42; ++i) {
            page.CellStorage(i).SetRtfText(
                QStringLiteral(
                    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Arial;}}{\\colortbl ;\\red255"
                    "\\green0\\blue0;}\\viewkind4\\uc1\\pard\\cf1\\f0\\fs20 Cell %1: dentist at 10, "
                    "call mother\\par}")
                    .arg(i)
                    .toLatin1());
        }
        for (int i = 0; i < 50; ++i) {
            auto* object = new testsupport::TTestObject(&page);
            object->setObjectName(QStringLiteral("Special%1").arg(i));
            object->setGeometry(10 + i * 7, 20 + i * 5, 120, 40);
            object->caption = QStringLiteral("Label %1").arg(i);
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        platform::SetPixelsPerInchOverride(96);
        platform::SetTodayOverride(QDate(1997, 12, 1));
        testsupport::RegisterTestObject();
    }

    void saveToMemory()
    {
        TCalendarPanel32 page;
        Fill(page);
        QBENCHMARK
        {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            persist::WriteCalendar(&buffer, page);
        }
    }

    void loadFromMemory()
    {
        TCalendarPanel32 source;
        Fill(source);
        QBuffer saved;
        saved.open(QIODevice::WriteOnly);
        persist::WriteCalendar(&saved, source);
        const QByteArray bytes = saved.data();
        QBENCHMARK
        {
            QWidget owner;
            TCalendarPanel32 page(&owner);
            QBuffer buffer;
            buffer.setData(bytes);
            buffer.open(QIODevice::ReadOnly);
            QVERIFY(!persist::ReadCalendar(&buffer, page, &owner));
        }
    }

    void saveFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bench.KVF"));
        TCalendarPanel32 source;
        Fill(source);
        QBENCHMARK
        {
            persist::SaveCalendarFile(source, path);
        }
    }

    void loadFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bench.KVF"));
        TCalendarPanel32 source;
        Fill(source);
        persist::SaveCalendarFile(source, path);
        QBENCHMARK
        {
            QWidget owner;
            TCalendarPanel32 page(&owner);
            QVERIFY(!persist::LoadCalendarFile(page, path, &owner));
        }
    }
};

QTEST_MAIN(BenchCalendarFile)
#include "bench_calendarfile.moc"
