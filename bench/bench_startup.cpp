// Start-up of the main window to the first paint of the most recent calendar (42 filled cells).
// Build with -DDATORIA_BUILD_BENCH=ON; run: QT_QPA_PLATFORM=offscreen build/bin/bench_startup
#include "app/TCalendarMain.h"
#include "calendar/TCalendarPanel32.h"
#include "persist/formats/CalendarFile.h"
#include "persist/formats/Preferences.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/Screen.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

class BenchStartup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        platform::SetPixelsPerInchOverride(96);
        platform::SetProgramFolderOverride(m_folder.path());
        const QString path = m_folder.path() + QStringLiteral("/Dec2026.KVF");
        {
            calendar::TCalendarPanel32 page;
            page.ResetToNew();
            for (int i = 1; i <= 42; ++i)
                page.CellStorage(i).SetRtfText(
                    QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\\pard\\f0\\fs20 "
                                   "Cell %1: dentist at 10, call mother\\par}")
                        .arg(i)
                        .toLatin1());
            persist::SaveCalendarFile(page, path);
        }
        platform::IniFile ini(app::TCalendarMain::IniPath());
        persist::MruList recent(5);
        recent.Add(path);
        recent.Save(ini, QStringLiteral("MRU"));
        QVERIFY(ini.Save());
    }

    void startToFirstPaint()
    {
        QList<qint64> times;
        for (int run = 0; run < 7; ++run) {
            QElapsedTimer timer;
            timer.start();
            app::TCalendarMain window;
            window.show();
            while (window.StartingUp() && timer.elapsed() < 5000)
                QCoreApplication::processEvents();
            QVERIFY(!window.StartingUp());
            QVERIFY(window.Page()->isVisible());
            window.Page()->repaint();
            times.append(timer.nsecsElapsed());
            window.SetModified(false);
            window.close();
        }
        std::sort(times.begin(), times.end());
        std::printf("start-up to first paint: median %.1f ms, best %.1f ms\n", double(times[3]) / 1e6,
                    double(times[0]) / 1e6);
    }
};

QTEST_MAIN(BenchStartup)
#include "bench_startup.moc"
