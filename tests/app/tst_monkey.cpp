// A seeded monkey: thousands of random user events on the real main window, with the page checked for
// consistency every hundred events. DATORIA_MONKEY_SEED and DATORIA_MONKEY_EVENTS run another sequence by
// hand; DATORIA_MONKEY_TRACE=1 prints every event as it is sent.
#include "app/HintDelayStyle.h"
#include "app/TCalendarMain.h"
#include "calendar/TCalendarPanel32.h"
#include "design/TQelGraphicControl.h"
#include "design/TQelHandle.h"
#include "persist/formats/CalendarFile.h"
#include "persist/stream/StreamError.h"
#include "platform/ProgramFolder.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichRenderer.h"
#include "richtext/TVelRichToolBar.h"
#include "tests/app/MainWindowTesting.h"
#include "tests/app/Monkey.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using app::TCalendarMain;

namespace {

constexpr quint32 kSeed = 20261208;
constexpr int kEvents = 3000;
constexpr int kCheckEvery = 100;

quint32 EnvironmentNumber(const char* name, quint32 fallback)
{
    bool ok = false;
    const quint32 value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

/** What is wrong with the page's days: every day of the month in exactly one cell of a month grid. */
QString DayCellProblem(const calendar::TCalendarPanel32& page)
{
    QList<int> days;
    for (int cell = 1; cell <= calendar::kCellCount; ++cell) {
        if (page.DayOfCell(cell) > 0)
            days.append(page.DayOfCell(cell));
    }
    const QSet<int> distinct(days.cbegin(), days.cend());
    if (distinct.size() != days.size())
        return QStringLiteral("a day stands in two cells");
    if (page.LayoutFamily() != 0 || !page.ShowMainCalendar())
        return {};
    const QDate first(page.MainCalYear(), page.MainCalMonth(), 1);
    if (days.size() != first.daysInMonth())
        return QStringLiteral("%1 day cells for a month of %2 days")
            .arg(days.size())
            .arg(first.daysInMonth());
    return {};
}

/** What is wrong with the placed objects and the selection. */
QString ObjectProblem(const calendar::TCalendarPanel32& page)
{
    const QList<design::TQelGraphicControl*> objects = page.PlacedObjects();
    QSet<QString> names;
    for (const design::TQelGraphicControl* object : objects) {
        const QString name = object->objectName();
        if (name.isEmpty() || names.contains(name))
            return QStringLiteral("object name \"%1\" empty or taken twice").arg(name);
        names.insert(name);
        if (object->width() <= 0 || object->height() <= 0)
            return QStringLiteral("%1 has no size").arg(name);
        if (object->ZoomFactor() != page.Zoom())
            return QStringLiteral("%1 drawn at zoom %2 on a page at %3")
                .arg(name)
                .arg(double(object->ZoomFactor()))
                .arg(double(page.Zoom()));
    }
    for (design::TQelGraphicControl* selected : page.Handle()->Selection()) {
        if (!objects.contains(selected))
            return QStringLiteral("the selection holds an object that is not on the page");
    }
    return {};
}

/** What is wrong with the modified flag: the buttons follow it, and an unmodified calendar is its file. */
QString ModifiedProblem(TCalendarMain& window)
{
    const bool modified = window.Modified();
    const bool named = !window.CurrentFileName().isEmpty();
    if (window.Action("Savebutton")->isVisible() != modified)
        return QStringLiteral("Save button shown: %1, modified: %2").arg(!modified).arg(modified);
    if (window.Action("CancelButton")->isVisible() != (modified && named))
        return QStringLiteral("Cancel button out of step with the modified flag");
    if (named && !window.windowTitle().contains(QFileInfo(window.CurrentFileName()).fileName()))
        return QStringLiteral("caption \"%1\" without the file name").arg(window.windowTitle());
    if (!named || modified || window.CellEditor()->isVisible())
        return {};
    // Nothing changed since the last save or open: the file holds what the page shows.
    // Read into a form of its own with the renderer that rich-text labels paint through, as the window has.
    QWidget form;
    auto* renderer = new richtext::TVelRichRenderer(&form);
    renderer->setObjectName(QStringLiteral("MasterVelRichText"));
    auto* scratch = new calendar::TCalendarPanel32(&form);
    calendar::TCalendarPanel32& saved = *scratch;
    try {
        if (persist::LoadCalendarFile(saved, window.CurrentFileName(), &form))
            return QStringLiteral("unmodified calendar's file damaged");
    } catch (const persist::StreamError& error) {
        return QStringLiteral("unmodified calendar's file unreadable: %1").arg(error.message());
    }
    const calendar::TCalendarPanel32& page = *window.Page();
    for (int cell = 1; cell <= calendar::kCellCount; ++cell) {
        if (saved.CellStorage(cell).RtfText() != page.CellStorage(cell).RtfText())
            return QStringLiteral("not modified, but cell %1 differs from the file").arg(cell);
    }
    if (saved.UserTitle() != page.UserTitle() || saved.MainCalMonth() != page.MainCalMonth() ||
        saved.MainCalYear() != page.MainCalYear() || saved.CalendarLayout() != page.CalendarLayout())
        return QStringLiteral("not modified, but the page's title, month or layout differs from the file");
    QStringList savedClasses;
    QStringList pageClasses;
    for (const QObject* object : persist::PlacedObjects(saved))
        savedClasses.append(QString::fromLatin1(object->metaObject()->className()));
    for (const QObject* object : persist::PlacedObjects(page))
        pageClasses.append(QString::fromLatin1(object->metaObject()->className()));
    if (savedClasses != pageClasses)
        return QStringLiteral("not modified, but the page's %1 objects differ from the file's %2")
            .arg(pageClasses.size())
            .arg(savedClasses.size());
    return {};
}

QtMessageHandler g_previousHandler = nullptr;

/** The offscreen platform's notes on what it cannot do (grabs, raising) would drown everything else. */
void QuietPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    g_previousHandler(type, context, message);
}

} // namespace

class TestMonkey : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    /** Help pages and the web site open here instead of in a browser. */
    void openUrl(const QUrl& url) { m_urls.append(url); }

private:
    QList<QUrl> m_urls;

private Q_SLOTS:
    void initTestCase()
    {
        testsupport::PinEnvironment(QDate(2026, 12, 7));
        g_previousHandler = qInstallMessageHandler(QuietPlatformNotes);
        QApplication::setStyle(new app::HintDelayStyle);
        for (const QString& scheme :
             {QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https")})
            QDesktopServices::setUrlHandler(scheme, this, "openUrl");
    }

    void cleanupTestCase()
    {
        for (const QString& scheme :
             {QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https")})
            QDesktopServices::unsetUrlHandler(scheme);
        qInstallMessageHandler(g_previousHandler);
    }

    void randomSession()
    {
        const quint32 seed = EnvironmentNumber("DATORIA_MONKEY_SEED", kSeed);
        const int events = int(EnvironmentNumber("DATORIA_MONKEY_EVENTS", kEvents));
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        platform::SetProgramFolderOverride(folder.path());

        QElapsedTimer clock;
        clock.start();
        {
            TCalendarMain window;
            window.CreateFloatingWindows();
            apptesting::Start(window);
            apptesting::Monkey monkey(window, seed, folder.path() + u'/');
            monkey.SetTracing(qEnvironmentVariableIntValue("DATORIA_MONKEY_TRACE") != 0);
            int mostObjects = 0;
            for (int event = 1; event <= events; ++event) {
                monkey.Step();
                if (event % kCheckEvery != 0 && event != events)
                    continue;
                QVERIFY2(window.isVisible(), "the main window closed");
                calendar::TCalendarPanel32* page = window.Page();
                if (!page->isHidden())
                    page->grab();
                mostObjects = std::max(mostObjects, int(page->PlacedObjects().size()));
                for (const QString& problem :
                     {DayCellProblem(*page), ObjectProblem(*page), ModifiedProblem(window)}) {
                    if (problem.isEmpty())
                        continue;
                    // The last events first, in full: the failure message itself is cut short.
                    qWarning("last events:\n%s", qPrintable(monkey.RecentEvents()));
                    folder.setAutoRemove(false);
                    qWarning("the run's files are kept in %s", qPrintable(folder.path()));
                    QFAIL(qPrintable(
                        QStringLiteral("seed %1, after event %2: %3").arg(seed).arg(event).arg(problem)));
                }
            }
            qInfo("seed %u: %d events, %d dialogs answered, %lld messages, up to %d objects, %lld ms", seed,
                  events, monkey.DialogsAnswered(), qlonglong(monkey.Prompts().messages.size()), mostObjects,
                  qlonglong(clock.elapsed()));
            if (qEnvironmentVariableIntValue("DATORIA_MONKEY_TRACE") != 0) {
                for (const QString& message : monkey.Prompts().messages)
                    qInfo("message: %s", qPrintable(message));
            }
            // Closing asks about unsaved changes like any other exit.
            window.SetModified(false);
        }
        platform::SetProgramFolderOverride(QString());
    }
};

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
