// The in-cell editor on the real main window, driven by keys and clicks as a user drives it.

#include "app/TCalendarMain.h"
#include "calendar/TCalendarPanel32.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "recurring/RecurringDateLists.h"
#include "recurring/RecurringStore.h"
#include "richtext/RichTextRenderer.h"
#include "richtext/RtfReader.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichToolBar.h"
#include "richtext/TVelRtfStorage.h"
#include "tests/app/MainWindowTesting.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontComboBox>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <memory>

using app::TCalendarMain;
using apptesting::ClickDay;
using apptesting::NewDocument;
using apptesting::Start;

namespace {

int LineCount(const QTextDocument& document)
{
    int lines = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines += block.layout()->lineCount();
    return lines;
}

/** The first character's format of a cell as the page stores it. */
QTextCharFormat StoredFormat(TCalendarMain& window, int day)
{
    calendar::TCalendarPanel32* page = window.Page();
    QTextDocument document;
    richtext::ReadRtf(page->CellStorage(page->CellOfDay(day)).RtfText(), document);
    return QTextCursor(document.begin()).block().begin().fragment().charFormat();
}

QAction* ToolBarAction(richtext::TVelRichToolBar* bar, const QString& text)
{
    for (QAction* action : bar->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

class TestCellEditor : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        platform::SetProgramFolderOverride(m_folder->path());
    }

    void cleanup() { platform::SetProgramFolderOverride(QString()); }

    // A fresh login has an empty clipboard; pasting it into a cell once ended the program.
    void pasteWithAnEmptyClipboard_data()
    {
        QTest::addColumn<bool>("toolBar");
        QTest::newRow("Ctrl+V") << false;
        QTest::newRow("tool bar Paste") << true;
    }

    void pasteWithAnEmptyClipboard()
    {
        QFETCH(bool, toolBar);
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        Start(window);
        NewDocument(window);
        ClickDay(window, 10);
        QTest::keyClicks(window.CellEditor(), QStringLiteral("Dentist"));
        QApplication::clipboard()->setMimeData(new QMimeData);
        if (toolBar) {
            QAction* paste = ToolBarAction(window.RichToolBar(), QStringLiteral("Paste"));
            QVERIFY(paste && paste->isEnabled());
            QTest::mouseClick(window.RichToolBar()->widgetForAction(paste), Qt::LeftButton);
        } else {
            QTest::keyClick(window.CellEditor(), Qt::Key_V, Qt::ControlModifier);
        }
        QCOMPARE(window.CellEditor()->toPlainText(), QStringLiteral("Dentist"));

        // What the clipboard does hold still pastes.
        auto* text = new QMimeData;
        text->setText(QStringLiteral(" 9am"));
        QApplication::clipboard()->setMimeData(text);
        QTest::keyClick(window.CellEditor(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(window.CellEditor()->toPlainText(), QStringLiteral("Dentist 9am"));
        auto* picture = new QMimeData;
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(Qt::red);
        picture->setImageData(image);
        QApplication::clipboard()->setMimeData(picture);
        QTest::keyClick(window.CellEditor(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(window.CellEditor()->toPlainText().size(), 12); // the picture is one object character
        QApplication::clipboard()->clear();
    }

    void styleKeysInACell_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("button");
        QTest::newRow("Ctrl+B bold") << int(Qt::Key_B) << QStringLiteral("B");
        QTest::newRow("Ctrl+I italic") << int(Qt::Key_I) << QStringLiteral("I");
        QTest::newRow("Ctrl+U underline") << int(Qt::Key_U) << QStringLiteral("U");
    }

    void styleKeysInACell()
    {
        QFETCH(int, key);
        QFETCH(QString, button);
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        Start(window);
        NewDocument(window);
        ClickDay(window, 10);
        QTest::keyClicks(window.CellEditor(), QStringLiteral("Dentist"));
        QTest::keyClick(window.CellEditor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(window.CellEditor(), Qt::Key(key), Qt::ControlModifier);
        // The tool bar shows the style of the caret.
        QVERIFY(ToolBarAction(window.RichToolBar(), button)->isChecked());
        window.DoSaveRichtext();
        const QTextCharFormat format = StoredFormat(window, 10);
        QCOMPARE(format.fontWeight() >= QFont::Bold, key == Qt::Key_B);
        QCOMPARE(format.fontItalic(), key == Qt::Key_I);
        QCOMPARE(format.fontUnderline(), key == Qt::Key_U);

        // The same key again switches the style off for what is typed next.
        ClickDay(window, 11);
        QTest::keyClick(window.CellEditor(), Qt::Key(key), Qt::ControlModifier);
        QTest::keyClicks(window.CellEditor(), QStringLiteral("on"));
        QTest::keyClick(window.CellEditor(), Qt::Key(key), Qt::ControlModifier);
        QVERIFY(!ToolBarAction(window.RichToolBar(), button)->isChecked());
        QTest::keyClicks(window.CellEditor(), QStringLiteral("off"));
        window.DoSaveRichtext();
        QTextDocument document;
        richtext::ReadRtf(window.Page()->CellStorage(window.Page()->CellOfDay(11)).RtfText(), document);
        QTextCursor cursor(&document);
        cursor.setPosition(1);
        const QTextCharFormat on = cursor.charFormat();
        cursor.setPosition(4);
        const QTextCharFormat off = cursor.charFormat();
        QCOMPARE(on.fontWeight() >= QFont::Bold || on.fontItalic() || on.fontUnderline(), true);
        QCOMPARE(off.fontWeight() >= QFont::Bold || off.fontItalic() || off.fontUnderline(), false);
    }

    // The editor must wrap a text where the page wraps it once the cell is left, at every zoom.
    void editorWrapsAsThePageDraws_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<QString>("text");
        for (int percent : {50, 60, 100}) {
            const QByteArray zoom = QByteArray::number(percent) + "% ";
            QTest::newRow(zoom + "one short line") << percent << QStringLiteral("Dentist 9am");
            QTest::newRow(zoom + "several lines")
                << percent << QStringLiteral("Birthday party at the Smiths with cake and presents for Anna");
        }
    }

    void editorWrapsAsThePageDraws()
    {
        QFETCH(int, percent);
        QFETCH(QString, text);
        {
            platform::IniFile ini(TCalendarMain::IniPath());
            ini.WriteInteger(QStringLiteral("Zooming"), QStringLiteral("Main"), percent);
            QVERIFY(ini.Save());
        }
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        Start(window);
        NewDocument(window);
        ClickDay(window, 16);
        QTest::keyClicks(window.CellEditor(), text);
        window.CellEditor()->document()->size(); // lays the whole text out
        const int editing = LineCount(*window.CellEditor()->document());
        if (text.size() > 40)
            QVERIFY(editing >= 2);
        window.DoSaveRichtext();

        // The page's drawing of the same cell.
        calendar::TCalendarPanel32* page = window.Page();
        const platform::TRect free = page->Cell(page->CellOfDay(16)).rFree;
        QImage scratch(free.width() + 1, free.height() + 1, QImage::Format_RGB32);
        QTextDocument drawn;
        richtext::ReadRtf(page->CellStorage(page->CellOfDay(16)).RtfText(), drawn);
        QPainter painter(&scratch);
        richtext::RenderDocument(painter, drawn, scratch.rect(), percent);
        QCOMPARE(editing, LineCount(drawn));
        if (percent == 60) {
            // The editor over one cell beside the page's drawing of the same text in the next, to look at.
            window.PuttextOnDay(17, text);
            ClickDay(window, 16);
            apptesting::KeepScreenshot(window, QStringLiteral("cell-editor-60-%1").arg(text.size()));
        }
    }

    // With no cell open the rich-text tool bar stays disabled and the keyboard never lands in it.
    void toolBarStaysOffWithoutACell_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("zoom button") << QStringLiteral("button");
        QTest::newRow("zoom key") << QStringLiteral("key");
        QTest::newRow("save as bitmap") << QStringLiteral("bitmap");
    }

    void toolBarStaysOffWithoutACell()
    {
        QFETCH(QString, how);
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        Start(window);
        NewDocument(window);
        ClickDay(window, 10);
        QVERIFY(window.RichToolBar()->isEnabled());
        // Each way closes the cell.
        if (how == QStringLiteral("button")) {
            auto* bar = window.findChild<QToolBar*>(QStringLiteral("DesignToolBar"));
            QTest::mouseClick(bar->widgetForAction(window.Action("ZoomPlusButton")), Qt::LeftButton);
        } else if (how == QStringLiteral("key")) {
            QTest::keyClick(window.CellEditor(), Qt::Key_PageDown);
        } else {
            prompts.saveFiles = {m_folder->path() + QStringLiteral("/Page.BMP")};
            window.Action("mnuSaveAsBitmap")->trigger();
        }
        QVERIFY(window.CellEditor()->isHidden());
        QVERIFY(!window.CellEditor()->hasFocus());
        QVERIFY(!window.RichToolBar()->isEnabled());
        // The About box comes and goes; the window's buttons are set again as many commands do.
        testsupport::WhenDialogOpens(&window, [](QWidget* about) {
            auto* ok = about->findChild<QPushButton*>();
            QVERIFY(ok);
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        window.Action("mnuAbout")->trigger();
        window.SetButtons();
        QVERIFY(!window.RichToolBar()->isEnabled());
        const QString family = window.RichToolBar()->FontBox()->currentText();
        if (QWidget* focus = QApplication::focusWidget())
            QTest::keyClicks(focus, QStringLiteral("XYZ"));
        QCOMPARE(window.RichToolBar()->FontBox()->currentText(), family);
        ClickDay(window, 10);
        QCOMPARE(window.CellEditor()->toPlainText(), QString());
    }

    // The page takes every key while it has the focus: Tab does not move the focus away from it.
    void tabStaysOnThePage()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        Start(window);
        NewDocument(window);
        calendar::TCalendarPanel32* page = window.Page();
        QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(page->width() / 2, 10)); // the title band
        QCOMPARE(QApplication::focusWidget(), page);
        QTest::keyClick(page, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), page);
        QTest::keyClick(page, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), page);
    }

    // Dates poured from the store are written in the default editor font, like typed text.
    void pouredDatesUseTheDefaultEditorFont()
    {
        {
            platform::IniFile ini(TCalendarMain::IniPath());
            ini.WriteString(QStringLiteral("Default Font"), QStringLiteral("Name"), QStringLiteral("Arial"));
            ini.WriteInteger(QStringLiteral("Default Font"), QStringLiteral("Size"), 12);
            ini.WriteBool(QStringLiteral("Default Font"), QStringLiteral("Strikeout"), true);
            ini.WriteBool(QStringLiteral("Default Font"), QStringLiteral("Underline"), true);
            ini.WriteInteger(QStringLiteral("Default Font"), QStringLiteral("Color"), 0x0000FF); // red
            QVERIFY(ini.Save());
        }
        QVERIFY(recurring::WriteStore(
            recurring::StorePath(),
            {recurring::MakeLine(QStringLiteral("Christmas"), QStringLiteral("@1225")),
             recurring::MakeLine(QStringLiteral("Boxing Day"), QStringLiteral("@1226"))}));
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        Start(window);
        NewDocument(window);
        testsupport::WhenDialogOpens(&window,
                                     [](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); });
        window.FillWithRecurringDates();
        window.DoSaveRichtext();
        for (int day : {25, 26}) {
            const QTextCharFormat format = StoredFormat(window, day);
            QCOMPARE(format.fontPointSize(), 12.0);
            QCOMPARE(format.fontFamilies().toStringList().value(0), QStringLiteral("Arial"));
            QCOMPARE(format.foreground().color(), QColor(Qt::red));
            QVERIFY(format.fontStrikeOut());
            QVERIFY(format.fontUnderline());
            QVERIFY(!format.fontItalic());
        }
    }

    // A cell left once is not written again: cleared cells stay empty when the calendar is saved after.
    void clearedCellsStayEmptyOnSave()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        Start(window);
        NewDocument(window);
        ClickDay(window, 10);
        QTest::keyClicks(window.CellEditor(), QStringLiteral("Gone"));
        QTest::keyClick(window.CellEditor(), Qt::Key_PageDown); // zooming leaves the cell
        window.Action("mnuClearAllCellContents")->trigger();
        prompts.saveFiles = {m_folder->path() + QStringLiteral("/Cleared.KVF")};
        QVERIFY(window.SaveAs());
        QVERIFY(!window.Page()->HasCellContent());
    }
};

QTEST_MAIN(TestCellEditor)
#include "tst_celleditor.moc"
