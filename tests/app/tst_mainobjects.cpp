// The main window with rich-text labels and floating calendars: its tool buttons, the shared renderer, the
// floating-calendar dialog made at start-up, files, and the floating tool windows' status.
#include "app/DocumentHistory.h"
#include "app/TCalendarMain.h"
#include "app/TCalendarProperties.h"
#include "calendar/TCalendarPanel32.h"
#include "calendar/TFlatCalendarEditor.h"
#include "calendar/TQelFlatCalendar.h"
#include "design/TQelHandle.h"
#include "design/TRichTextLabelEditor.h"
#include "design/TZubRichBaseLabel.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "richtext/RtfPlainText.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichRenderer.h"
#include "richtext/TVelRichToolBar.h"
#include "tests/support/ImageProbe.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/PdfTools.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUndoStack>

#include <memory>

using app::TCalendarMain;

class TestMainObjects : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;

    QString folder() const { return m_folder->path() + u'/'; }

    static void start(TCalendarMain& window)
    {
        window.CreateFloatingWindows();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(!window.StartingUp());
    }

    static void newDocument(TCalendarMain& window)
    {
        testsupport::WhenDialogOpens(&window, [](QWidget* dialog) {
            QVERIFY(qobject_cast<app::TCalendarProperties*>(dialog));
            qobject_cast<QDialog*>(dialog)->accept();
        });
        window.New();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.Page()->grab();
    }

    /** Clicks a design tool button as the user does. */
    static void clickTool(TCalendarMain& window, const char* name)
    {
        auto* bar = window.findChild<QToolBar*>(QStringLiteral("DesignToolBar"));
        QWidget* button = bar->widgetForAction(window.Action(name));
        QVERIFY(button && button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
    }

    /** The page printed by the tool bar's button to a PDF file, as poppler draws it; null without poppler. */
    QImage printPage(TCalendarMain& window, testsupport::ScriptedPrompts& prompts, const QString& name)
    {
        if (!testsupport::PdfTools::Available())
            return QImage();
        prompts.printTarget = folder() + name;
        clickTool(window, "Printbutton");
        return testsupport::PdfTools::Render(prompts.printTarget);
    }

    /** With DATORIA_SCREENSHOTS naming a folder, keeps a picture for a person to look at. */
    static void keepScreenshot(QWidget& widget, const QString& name)
    {
        const QString target = qEnvironmentVariable("DATORIA_SCREENSHOTS");
        if (!target.isEmpty())
            widget.grab().save(target + u'/' + name + QStringLiteral(".png"));
    }

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(QDate(2026, 12, 7)); }

    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        platform::SetProgramFolderOverride(m_folder->path());
    }

    void cleanup() { platform::SetProgramFolderOverride(QString()); }

    void toolButtonsAndRenderer()
    {
        TCalendarMain window;
        start(window);
        QAction* rich = window.Action("DrawRichText");
        QAction* floating = window.Action("PSpeedButton1");
        QVERIFY(rich && floating);
        QCOMPARE(rich->toolTip(), QStringLiteral("Rich Text tool \nMixed fonts, colors and styles"));
        QCOMPARE(floating->toolTip(),
                 QStringLiteral("Floating Calendar tool \nMini Calendar that you can place anywhere"));
        auto* renderer = window.findChild<richtext::TVelRichRenderer*>(QStringLiteral("MasterVelRichText"));
        QVERIFY(renderer);
        QVERIFY(renderer->parent() == &window);
        // The floating-calendar dialog is made at start-up and lives with the window.
        QVERIFY(calendar::TFlatCalendarEditor::Shared());
        QCOMPARE(calendar::TFlatCalendarEditor::Shared()->parent(), &window);
        QVERIFY(!calendar::TFlatCalendarEditor::Shared()->isVisible());

        newDocument(window);
        clickTool(window, "DrawRichText");
        QCOMPARE(window.Page()->PanelState(), calendar::psRichLabel);
        QVERIFY(rich->isChecked());
        clickTool(window, "PSpeedButton1");
        QCOMPARE(window.Page()->PanelState(), calendar::psFlatCalendar);
        QVERIFY(!rich->isChecked());
        clickTool(window, "Pointerbutton");
        QCOMPARE(window.Page()->PanelState(), calendar::psPointing);
    }

    // Both tools on the real window, the document marked changed, then Save As and open again.
    void placeEditSaveAndOpen()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        calendar::TCalendarPanel32* page = window.Page();
        window.SetModified(false);

        clickTool(window, "DrawRichText");
        testsupport::WhenDialogOpens(&window, [](QWidget* dialog) {
            auto* form = qobject_cast<design::TRichTextLabelEditor*>(dialog);
            QVERIFY(form);
            keepScreenshot(*form, QStringLiteral("rich-text-editor-empty"));
            QTRY_VERIFY(form->Panel()->isVisible());
            // Every button of the tool bar shows in the form, none behind the bar's overflow arrow.
            QVERIFY(form->width() >= 592);
            for (QAction* action : form->ToolBar()->actions()) {
                if (action->isVisible() && !action->isSeparator())
                    QVERIFY2(form->ToolBar()->widgetForAction(action)->isVisible(),
                             qPrintable(action->text()));
            }
            QTest::keyClicks(form->Editor(), QStringLiteral("Happy birthday, Anna!"));
            keepScreenshot(*form, QStringLiteral("rich-text-editor"));
            QTest::mouseClick(form->OkButton(), Qt::LeftButton);
        });
        QTest::mousePress(page, Qt::LeftButton, {}, QPoint(130, 150));
        QTest::mouseMove(page, QPoint(330, 220));
        QTest::mouseRelease(page, Qt::LeftButton, {}, QPoint(330, 220));
        QCOMPARE(page->PlacedObjects().size(), 1);
        auto* label = qobject_cast<design::TZubRichBaseLabel*>(page->PlacedObjects().first());
        QVERIFY(label);
        QCOMPARE(page->Handle()->Selection(), QList<design::TQelGraphicControl*>{label});
        QCOMPARE(richtext::RtfPlainText(label->RTFText().RtfText()), QStringLiteral("Happy birthday, Anna!"));
        QVERIFY(window.Modified());
        QVERIFY(window.Action("Pointerbutton")->isChecked());
        QCOMPARE(page->PanelState(), calendar::psPointing);

        clickTool(window, "PSpeedButton1");
        QTest::mousePress(page, Qt::LeftButton, {}, QPoint(400, 250));
        QTest::mouseMove(page, QPoint(580, 390));
        QTest::mouseRelease(page, Qt::LeftButton, {}, QPoint(580, 390));
        QCOMPARE(page->PlacedObjects().size(), 2);
        auto* mini = qobject_cast<calendar::TQelFlatCalendar*>(page->PlacedObjects().last());
        QVERIFY(mini);
        QCOMPARE(mini->Month(), 12);
        QCOMPARE(mini->ZoomFactor(), page->Zoom());

        // Its Properties item opens the dialog made at start-up.
        testsupport::WhenDialogOpens(&window, [](QWidget* dialog) {
            QCOMPARE(dialog, calendar::TFlatCalendarEditor::Shared());
            auto* editor = calendar::TFlatCalendarEditor::Shared();
            QTest::keyClick(editor->LanguageList(), Qt::Key_Down);
            QTest::keyClick(editor->DepthSpin(), Qt::Key_Up);
            QTest::keyClick(editor->DepthSpin(), Qt::Key_Up);
            QTest::keyClick(editor->DepthSpin(), Qt::Key_Up);
            keepScreenshot(*editor, QStringLiteral("floating-calendar-properties"));
            QTest::mouseClick(editor->OkButton(), Qt::LeftButton);
        });
        window.SetModified(false);
        QTest::mousePress(mini, Qt::RightButton, {}, QPoint(10, 10));
        QMenu* menu = mini->Menu();
        QTRY_VERIFY(menu->isVisible());
        QAction* properties = menu->findChild<QAction*>(QStringLiteral("mnuProperties"));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(properties).center());
        QCOMPARE(mini->Language(), calendar::fclGerman);
        QCOMPARE(mini->ShadowDepth(), 3);
        QVERIFY(window.Modified());
        page->Handle()->UnselectAll();
        keepScreenshot(window, QStringLiteral("window-with-rich-label-and-floating-calendar"));
        keepScreenshot(*page, QStringLiteral("page-with-rich-label-and-floating-calendar"));

        prompts.saveFiles = {folder() + QStringLiteral("Objects.KVF")};
        QVERIFY(window.SaveAs());
        window.OpenCalendarFile(folder() + QStringLiteral("Objects.KVF"));
        QCOMPARE(page->PlacedObjects().size(), 2);
        auto* readLabel = qobject_cast<design::TZubRichBaseLabel*>(page->PlacedObjects().first());
        auto* readMini = qobject_cast<calendar::TQelFlatCalendar*>(page->PlacedObjects().last());
        QVERIFY(readLabel && readMini);
        QCOMPARE(readLabel->Renderer(),
                 window.findChild<richtext::TVelRichRenderer*>(QStringLiteral("MasterVelRichText")));
        QCOMPARE(readMini->Language(), calendar::fclGerman);
        QCOMPARE(readMini->ZoomFactor(), page->Zoom());
        QVERIFY(testsupport::CountInk(page->grab(readLabel->geometry()).toImage(), {1, 1, 199, 69}) > 50);
        QVERIFY(!window.Modified());
    }

    // Cancelling a new object's first dialog (Escape, or its Cancel button) leaves no object, no change to
    // save, no step to undo, and the page on screen and on paper as before.
    void cancelledCreationLeavesNothing_data()
    {
        QTest::addColumn<QByteArray>("tool");
        QTest::addColumn<bool>("escape");
        QTest::newRow("Text, Escape") << QByteArray("DrawLabelButton") << true;
        QTest::newRow("Clip Art, Cancel") << QByteArray("DrawImageButton") << false;
        QTest::newRow("SuperText, Cancel") << QByteArray("DrawSuperText") << false;
        QTest::newRow("Rich Text, Cancel") << QByteArray("DrawRichText") << false;
    }
    void cancelledCreationLeavesNothing()
    {
        QFETCH(QByteArray, tool);
        QFETCH(bool, escape);
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        prompts.saveFiles = {folder() + QStringLiteral("Cancelled.KVF")};
        QVERIFY(window.SaveAs());
        calendar::TCalendarPanel32* page = window.Page();
        const QImage shown = page->grab().toImage();
        const QImage printed = printPage(window, prompts, QStringLiteral("before.pdf"));
        clickTool(window, tool.constData());
        bool asked = false;
        testsupport::WhenDialogOpens(&window, [&](QWidget* dialog) {
            asked = true;
            if (escape)
                return QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog,
                                       Qt::Key_Escape);
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                if (button->text() == QStringLiteral("Cancel"))
                    QTest::mouseClick(button, Qt::LeftButton);
        });
        QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(200, 260));
        QVERIFY(asked && !QApplication::activeModalWidget());
        QVERIFY(page->PlacedObjects().isEmpty());
        QVERIFY(window.Action("Pointerbutton")->isChecked());
        window.History()->Flush();
        QVERIFY(!window.Modified());
        QCOMPARE(window.History()->Stack()->count(), 0);
        QCOMPARE(page->grab().toImage(), shown);
        QCOMPARE(printPage(window, prompts, QStringLiteral("after.pdf")), printed);
    }

    // The icon palette is for pages with day cells: without them it is turned off.
    void floaterStatusFollowsThePage()
    {
        testsupport::ScriptedPrompts prompts;
        {
            TCalendarMain window;
            start(window);
            // No document at start: the palette's preference is off at once.
            QVERIFY(!window.Prefs().iconsVisible);
            newDocument(window);
            prompts.saveFiles = {folder() + QStringLiteral("Grid.KVF")};
            QVERIFY(window.SaveAs());
            QVERIFY(window.close());
        }
        {
            platform::IniFile ini(TCalendarMain::IniPath());
            ini.WriteBool(QStringLiteral("Icons"), QStringLiteral("Visible"), true);
            QVERIFY(ini.Save());
        }
        TCalendarMain window;
        start(window);
        // The most recent calendar is open and has day cells: the palette stays wanted.
        QCOMPARE(window.CurrentFileName(), folder() + QStringLiteral("Grid.KVF"));
        QVERIFY(window.Prefs().iconsVisible);
        testsupport::WhenDialogOpens(&window, [](QWidget* dialog) {
            auto* properties = qobject_cast<app::TCalendarProperties*>(dialog);
            QVERIFY(properties);
            properties->ExampleCalendar()->SetCalendarLayout(calendar::loMC12Month);
            properties->accept();
        });
        window.Properties();
        QVERIFY(!window.Page()->UsesDayCells());
        QVERIFY(!window.Prefs().iconsVisible);
    }
};

QTEST_MAIN(TestMainObjects)
#include "tst_mainobjects.moc"
