// Work is never lost behind the user's back: the save question has a way back, a damaged file is never taken
// for a whole one, Ctrl+S saves a calendar that has no file yet, and another month asks before typed text
// goes.

#include "app/TCalendarMain.h"
#include "app/TCalendarProperties.h"
#include "calendar/TCalendarPanel32.h"
#include "design/TQelGraphicControl.h"
#include "platform/ProgramFolder.h"
#include "richtext/RtfPlainText.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichToolBar.h"
#include "richtext/TVelRtfStorage.h"
#include "tests/app/MainWindowTesting.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using app::TCalendarMain;

namespace {

QString DayText(TCalendarMain& window, int day)
{
    calendar::TCalendarPanel32* page = window.Page();
    page->grab(); // day cells know their days from the last paint, as on screen
    return richtext::RtfPlainText(page->CellStorage(page->CellOfDay(day)).RtfText()).trimmed();
}

/** Types into a day as a user does: a click on the day, then the keys. */
void TypeIntoDay(TCalendarMain& window, int day, const QString& text)
{
    apptesting::ClickDay(window, day);
    QTRY_VERIFY(window.CellEditor()->isVisible());
    QTest::keyClicks(window.CellEditor(), text);
    window.DoSaveRichtext();
}

/** Answers the next message box: a key, a click on one of its buttons, or its own close button. */
void AnswerBox(QObject* context, const QString& answer, QString* asked = nullptr)
{
    testsupport::WhenDialogOfTypeOpens<QMessageBox>(context, [answer, asked](QMessageBox* box) {
        if (asked)
            *asked = box->text();
        apptesting::KeepScreenshot(*box, QStringLiteral("question-") + box->text().left(12));
        if (answer == u"Escape")
            QTest::keyClick(box, Qt::Key_Escape);
        else if (answer == u"box closed")
            box->close();
        else if (answer == u"Cancel clicked")
            QTest::mouseClick(box->button(QMessageBox::Cancel), Qt::LeftButton);
        else if (answer == u"No clicked")
            QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
        else
            QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
    });
}

} // namespace

class TestDocumentSafety : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;

    QString path(const QString& name) const { return m_folder->filePath(name); }

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        platform::SetProgramFolderOverride(m_folder->path());
    }
    void cleanup() { platform::SetProgramFolderOverride(QString()); }

    // Every way of leaving a changed calendar asks "Save changes?" with a way back; taking it leaves the
    // program, the calendar and its changes as they were, and opens nothing.
    void saveQuestionCanBeCancelled_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("answer");
        for (const char* way : {"Ctrl+Q", "close button", "New", "Open", "recent file", "second start"})
            QTest::newRow(way) << QString::fromLatin1(way) << QStringLiteral("Escape");
        QTest::newRow("Ctrl+Q, the box closed") << QStringLiteral("Ctrl+Q") << QStringLiteral("box closed");
        QTest::newRow("New, Cancel clicked") << QStringLiteral("New") << QStringLiteral("Cancel clicked");
    }
    void saveQuestionCanBeCancelled()
    {
        QFETCH(QString, way);
        QFETCH(QString, answer);
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        apptesting::Start(window);
        apptesting::NewDocument(window);
        prompts.saveFiles = {path(QStringLiteral("Other.KVF")), path(QStringLiteral("Mine.KVF"))};
        QVERIFY(window.SaveAs());
        apptesting::NewDocument(window);
        QVERIFY(window.SaveAs());
        TypeIntoDay(window, 3, QStringLiteral("Dentist"));
        QVERIFY(window.Modified());
        const QByteArray saved = [this] {
            QFile file(path(QStringLiteral("Mine.KVF")));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        prompts.openFiles = {path(QStringLiteral("Other.KVF"))};
        prompts.realQuestions = true;

        QString asked;
        QStringList buttons;
        testsupport::WhenDialogOfTypeOpens<QMessageBox>(&window, [&](QMessageBox* box) {
            for (QAbstractButton* button : box->buttons())
                buttons.append(button->text().remove(u'&'));
            AnswerBox(&window, answer, &asked);
        });
        if (way == u"Ctrl+Q")
            QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
        else if (way == u"close button")
            window.close();
        else if (way == u"New")
            apptesting::ClickMenuItem(window, QStringLiteral("&File"), "New1");
        else if (way == u"Open")
            apptesting::ClickMenuItem(window, QStringLiteral("&File"), "Open1");
        else if (way == u"recent file")
            apptesting::ClickMenuItem(window, QStringLiteral("&File"), "mnuRecent2");
        else
            window.OpenFromOutside({path(QStringLiteral("Other.KVF"))});
        QTRY_COMPARE(asked, QStringLiteral("Save changes?"));
        buttons.sort();
        QCOMPARE(buttons,
                 (QStringList{QStringLiteral("Cancel"), QStringLiteral("No"), QStringLiteral("Yes")}));
        QTest::qWait(50); // what the command would do next has had its chance
        QVERIFY(window.isVisible());
        QVERIFY(window.Modified());
        QCOMPARE(window.CurrentFileName(), path(QStringLiteral("Mine.KVF")));
        QCOMPARE(DayText(window, 3), QStringLiteral("Dentist"));
        QCOMPARE(prompts.openFiles.size(), 1); // no file was asked for
        QFile file(path(QStringLiteral("Mine.KVF")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), saved);
        QVERIFY(QApplication::topLevelWidgets().contains(&window));
    }

    // A calendar whose placed objects end early is not opened as if it were whole: the user is told what is
    // missing and either keeps the calendar that was open, or gets what was read as a changed calendar that
    // is saved under a new name.
    void damagedFileIsNeverTakenForWhole_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("recovered");
        QTest::newRow("Escape keeps the open calendar") << QStringLiteral("Escape") << false;
        QTest::newRow("No keeps the open calendar") << QStringLiteral("No clicked") << false;
        QTest::newRow("Yes opens what was read") << QStringLiteral("Yes clicked") << true;
    }
    void damagedFileIsNeverTakenForWhole()
    {
        QFETCH(QString, answer);
        QFETCH(bool, recovered);
        QFile sample(QStringLiteral(DATORIA_TEST_DATA "/persist/labels.kvf"));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const QByteArray whole = sample.readAll();
        // 42 day cells, then the placed objects: the file is cut inside its last object.
        const int objects = int(whole.count("TPF0")) - 42;
        QVERIFY(objects >= 2);
        const QByteArray cut = whole.left(whole.lastIndexOf("TPF0") + 12);
        QFile damaged(path(QStringLiteral("family.KVF")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(cut);
        damaged.close();

        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        apptesting::Start(window);
        apptesting::NewDocument(window);
        TypeIntoDay(window, 5, QStringLiteral("Kept"));
        prompts.saveFiles = {path(QStringLiteral("Mine.KVF"))};
        QVERIFY(window.SaveAs());
        prompts.openFiles = {path(QStringLiteral("family.KVF"))};
        prompts.realQuestions = true;
        QString asked;
        AnswerBox(&window, answer, &asked);
        apptesting::ClickMenuItem(window, QStringLiteral("&File"), "Open1");
        QTRY_VERIFY(!asked.isEmpty());
        QCOMPARE(asked,
                 QStringLiteral("The file is damaged after byte %1: it ends early, and the placed objects "
                                "after the first %2 could not be read.\n\nOpen what could be read?")
                     .arg(cut.size())
                     .arg(objects == 2 ? QStringLiteral("one") : QString::number(objects - 1)));
        if (!recovered) {
            QCOMPARE(window.CurrentFileName(), path(QStringLiteral("Mine.KVF")));
            QCOMPARE(DayText(window, 5), QStringLiteral("Kept"));
            QVERIFY(!window.Modified());
            QCOMPARE(window.RecentFiles().Files().size(), 1);
            return;
        }
        QCOMPARE(window.Page()->PlacedObjects().size(), objects - 1);
        QVERIFY(window.Modified());
        QVERIFY(window.CurrentFileName().isEmpty());
        QVERIFY(window.windowTitle().contains(QStringLiteral("[family (recovered).KVF]")));
        QVERIFY(!window.RecentFiles().Files().contains(path(QStringLiteral("family.KVF"))));
        // Saving offers a new name beside the damaged file, which stays as it was.
        prompts.saveFiles = {path(QStringLiteral("family (recovered).KVF"))};
        apptesting::PressKey(window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(prompts.proposedNames.last(), path(QStringLiteral("family (recovered).KVF")));
        QVERIFY(!window.Modified());
        QCOMPARE(window.CurrentFileName(), path(QStringLiteral("family (recovered).KVF")));
        QVERIFY(damaged.open(QIODevice::ReadOnly));
        QCOMPARE(damaged.readAll(), cut);
    }

    // Ctrl+S on a calendar that has no file yet saves it through the save dialog, as the tool bar's Save
    // does, from the page and from a day being typed in.
    void ctrlSSavesACalendarWithoutAFile_data()
    {
        QTest::addColumn<bool>("typing");
        QTest::newRow("on the page") << false;
        QTest::newRow("typing in a day") << true;
    }
    void ctrlSSavesACalendarWithoutAFile()
    {
        QFETCH(bool, typing);
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        apptesting::Start(window);
        apptesting::NewDocument(window);
        QVERIFY(!window.Action("mnuSave")->isEnabled());
        if (typing) {
            apptesting::ClickDay(window, 9);
            QTest::keyClicks(window.CellEditor(), QStringLiteral("Party"));
        }
        prompts.saveFiles = {path(QStringLiteral("First.KVF"))};
        apptesting::PressKey(window, Qt::Key_S, Qt::ControlModifier, typing ? window.CellEditor() : nullptr);
        QCOMPARE(prompts.proposedNames,
                 QStringList{platform::ProgramFolder() + QStringLiteral("Dec2026.KVF")});
        QCOMPARE(window.CurrentFileName(), path(QStringLiteral("First.KVF")));
        QVERIFY(!window.Modified());
        QVERIFY(QFile::exists(path(QStringLiteral("First.KVF"))));
        if (typing)
            QCOMPARE(DayText(window, 9), QStringLiteral("Party"));
        // With a file, the key saves to it without a dialog.
        TypeIntoDay(window, 10, QStringLiteral("More"));
        apptesting::PressKey(window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(prompts.proposedNames.size(), 1);
        QVERIFY(!window.Modified());
    }

    // Another month in the Properties dialog removes the days' text only when the user agrees, and the change
    // can be undone.
    void anotherMonthAsksBeforeTextGoes()
    {
        testsupport::ScriptedPrompts prompts;
        prompts.realQuestions = true;
        TCalendarMain window;
        apptesting::Start(window);
        apptesting::NewDocument(window);
        TypeIntoDay(window, 3, QStringLiteral("Dentist"));
        TypeIntoDay(window, 17, QStringLiteral("Concert"));
        QStringList asked;
        bool stayedOpen = false;
        testsupport::WhenDialogOfTypeOpens<app::TCalendarProperties>(
            &window, [&](app::TCalendarProperties* dialog) {
                QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("PreviousMonthButton")),
                                  Qt::LeftButton);
                QString question;
                AnswerBox(dialog, QStringLiteral("No clicked"), &question);
                QTest::mouseClick(dialog->Button("OkButton"), Qt::LeftButton);
                asked.append(question);
                stayedOpen = dialog->isVisible();
                AnswerBox(dialog, QStringLiteral("Yes clicked"), &question);
                QTest::mouseClick(dialog->Button("OkButton"), Qt::LeftButton);
                asked.append(question);
            });
        apptesting::ClickToolButton(window, "PropertiesButton");
        QTRY_COMPARE(asked.size(), 2);
        QVERIFY(stayedOpen);
        const QString question = QStringLiteral("The text of 2 days will be removed. Change the month?");
        QCOMPARE(asked, (QStringList{question, question}));
        QCOMPARE(window.Page()->MainCalMonth(), 11);
        QVERIFY(!window.Page()->HasCellContent());
        apptesting::PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window.Page()->MainCalMonth(), 12);
        QCOMPARE(DayText(window, 3), QStringLiteral("Dentist"));
        QCOMPARE(DayText(window, 17), QStringLiteral("Concert"));
        QCOMPARE(app::TCalendarProperties::MonthChangeQuestion(1),
                 QStringLiteral("The text of 1 day will be removed. Change the month?"));
    }
};

QTEST_MAIN(TestDocumentSafety)
#include "tst_documentsafety.moc"
