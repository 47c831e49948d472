// Every file the program writes, made to fail at each stage of its save: the previous file stays byte for
// byte, no temporary file is left, and the user is told once, with the file's name.
#include "app/TCalendarMain.h"
#include "app/TCalendarProperties.h"
#include "app/TExportPdfDialog.h"
#include "calendar/TCalendarPanel32.h"
#include "design/TQelBaseLabel.h"
#include "design/TQelHandle.h"
#include "platform/ProgramFolder.h"
#include "recurring/RecurringDateLists.h"
#include "recurring/RecurringStore.h"
#include "tests/support/FailingSaves.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using app::TCalendarMain;
using platform::SaveStage;
using testsupport::ScriptedPrompts;

Q_DECLARE_METATYPE(platform::SaveStage)

class TestFailingSaves : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;

    QString folder() const { return m_folder->path() + u'/'; }

    static void start(TCalendarMain& window)
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(!window.StartingUp());
    }

    static void newDocument(TCalendarMain& window)
    {
        testsupport::WhenDialogOpens(&window, [](QWidget* dialog) {
            auto* properties = qobject_cast<app::TCalendarProperties*>(dialog);
            QVERIFY(properties);
            properties->accept();
        });
        window.New();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    /**
     * Runs a save of path that fails at the stage and checks its outcome: nothing in the program folder has
     * changed (but for the file ignored), and the prompts hold one message, which names the file. A write
     * fails halfway through the previous file's size.
     */
    void expectFailedSave(const QString& path, SaveStage stage, ScriptedPrompts& prompts,
                          const std::function<void()>& save, const QString& ignored = QString())
    {
        QMap<QString, QByteArray> before = testsupport::FolderContents(folder());
        before.remove(ignored);
        QVERIFY2(before.contains(QFileInfo(path).fileName()), "the previous file is missing");
        prompts.messages.clear();
        {
            testsupport::FailingSaves failing(QFileInfo(path).fileName(), stage,
                                              before.value(QFileInfo(path).fileName()).size() / 2);
            save();
        }
        QMap<QString, QByteArray> after = testsupport::FolderContents(folder());
        after.remove(ignored);
        const QString changes = testsupport::FolderChanges(before, after);
        QVERIFY2(changes.isEmpty(), qPrintable(changes));
        QVERIFY2(prompts.messages.size() == 1, qPrintable(prompts.messages.join(QStringLiteral(" | "))));
        QVERIFY2(prompts.messages[0].contains(path), qPrintable(prompts.messages[0]));
    }

    static void stages()
    {
        QTest::addColumn<SaveStage>("stage");
        QTest::newRow("cannot open") << SaveStage::Open;
        QTest::newRow("fails after some bytes") << SaveStage::Write;
        QTest::newRow("fails on commit") << SaveStage::Commit;
    }

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        platform::SetProgramFolderOverride(m_folder->path());
    }

    void cleanup()
    {
        platform::SetSaveFault(std::nullopt);
        platform::SetProgramFolderOverride(QString());
    }

    void calendarFile_data() { stages(); }
    void calendarFile()
    {
        QFETCH(SaveStage, stage);
        ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        window.PuttextOnDay(3, QStringLiteral("Before"));
        prompts.saveFiles = {folder() + QStringLiteral("Family.KVF")};
        QVERIFY(window.SaveAs());
        window.PuttextOnDay(3, QStringLiteral("After"));
        expectFailedSave(folder() + QStringLiteral("Family.KVF"), stage, prompts,
                         [&] { QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier); });
        QVERIFY(window.Modified());
        QCOMPARE(window.CurrentFileName(), folder() + QStringLiteral("Family.KVF"));
    }

    void styleSheet_data() { stages(); }
    void styleSheet()
    {
        QFETCH(SaveStage, stage);
        ScriptedPrompts prompts;
        app::TCalendarProperties dialog;
        dialog.ExampleCalendar()->ResetToNew();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QString path = folder() + QStringLiteral("Mine.KVS");
        auto* button = dialog.findChild<QPushButton*>(QStringLiteral("SaveStyleButton"));
        QVERIFY(button);
        prompts.saveFiles = {path};
        QTest::mouseClick(button, Qt::LeftButton);
        dialog.ExampleCalendar()->SetTitleBGColor(platform::clYellow);
        prompts.saveFiles = {path};
        expectFailedSave(path, stage, prompts, [&] { QTest::mouseClick(button, Qt::LeftButton); });
        QVERIFY(dialog.isVisible());
    }

    void preferences_data() { stages(); }
    void preferences()
    {
        QFETCH(SaveStage, stage);
        ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        QVERIFY(QFile::exists(TCalendarMain::IniPath())); // the placement is written at the first activation
        window.Action("mnuShowHints")->trigger();
        // Closing saves the preferences and the placement; both fail, and the user hears of it once.
        expectFailedSave(TCalendarMain::IniPath(), stage, prompts, [&] { QVERIFY(window.close()); });
    }

    void recurringStore_data() { stages(); }
    void recurringStore()
    {
        QFETCH(SaveStage, stage);
        ScriptedPrompts prompts;
        QVERIFY(recurring::WriteStore(recurring::StorePath(), recurring::HolidayLines().mid(0, 3)));
        recurring::TEditRecurringDates dialog(recurring::StorePath());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("DeleteButton")), Qt::LeftButton);
        QCOMPARE(dialog.Lines().size(), 2);
        expectFailedSave(recurring::StorePath(), stage, prompts, [&] {
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("okbutton")), Qt::LeftButton);
        });
        QVERIFY(dialog.isVisible()); // the changes are still there to be saved again
        QCOMPARE(dialog.Lines().size(), 2);
    }

    // The older store is converted at start; a conversion that cannot be written keeps the older file. (The
    // window's tool palette writes its placement to KV.ini when it goes.)
    void recurringStoreConversion_data() { stages(); }
    void recurringStoreConversion()
    {
        QFETCH(SaveStage, stage);
        ScriptedPrompts prompts;
        QVERIFY(recurring::WriteStore(recurring::StorePath(), recurring::HolidayLines().mid(0, 3)));
        QFile old(recurring::OldStorePath());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("0704 Picnic\r\n1225 Christmas\r\n");
        old.close();
        expectFailedSave(
            recurring::StorePath(), stage, prompts, [] { TCalendarMain window; }, QStringLiteral("KV.ini"));
    }

    void clipboardFile_data() { stages(); }
    void clipboardFile()
    {
        QFETCH(SaveStage, stage);
        ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        auto* label = new design::TZubLabel(window.Page());
        label->AfterLoad();
        label->setGeometry(100, 100, 120, 30);
        label->SetCaption(QStringLiteral("Copied first"));
        label->show();
        design::TQelHandle* handle = window.Page()->Handle();
        handle->Select(label);
        QTest::keyClick(handle, Qt::Key_C, Qt::ControlModifier);
        const QString path = window.Page()->ClipboardPath();
        label->SetCaption(QStringLiteral("Copied second"));
        expectFailedSave(path, stage, prompts,
                         [&] { QTest::keyClick(handle, Qt::Key_C, Qt::ControlModifier); });
        // A cut whose copy could not be written keeps the object.
        expectFailedSave(path, stage, prompts,
                         [&] { QTest::keyClick(handle, Qt::Key_X, Qt::ControlModifier); });
        QCOMPARE(window.Page()->PlacedObjects().size(), 1);
    }

    void bitmap_data() { stages(); }
    void bitmap()
    {
        QFETCH(SaveStage, stage);
        ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        const QString path = folder() + QStringLiteral("Dec2026.BMP");
        prompts.saveFiles = {path};
        QVERIFY(window.SaveAsBitmap());
        window.PuttextOnDay(3, QStringLiteral("Changed"));
        prompts.saveFiles = {path};
        expectFailedSave(path, stage, prompts, [&] { QVERIFY(!window.SaveAsBitmap()); });
    }

    // The pages are printed into a temporary file first, which must go too.
    void pdf_data() { stages(); }
    void pdf()
    {
        QFETCH(SaveStage, stage);
        QTemporaryDir temporary;
        const QByteArray tmpdir = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(temporary.path()));
        const auto restore = qScopeGuard([&] { qputenv("TMPDIR", tmpdir); });
        ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        const QString path = folder() + QStringLiteral("Dec2026.PDF");
        const auto exportPdf = [&] {
            testsupport::WhenDialogOpens(&window, [](QWidget* dialog) {
                QVERIFY(qobject_cast<app::TExportPdfDialog*>(dialog));
                qobject_cast<QDialog*>(dialog)->accept();
            });
            prompts.saveFiles = {path};
            return window.ExportAsPdf();
        };
        QVERIFY(exportPdf());
        window.PuttextOnDay(3, QStringLiteral("Changed"));
        expectFailedSave(path, stage, prompts, [&] { QVERIFY(!exportPdf()); });
        QCOMPARE(QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }
};

QTEST_MAIN(TestFailingSaves)
#include "tst_failingsaves.moc"
