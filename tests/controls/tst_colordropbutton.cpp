#include "controls/TColorDropButton.h"
#include "tests/support/ScriptedPrompts.h"

#include <QDir>
#include <QFrame>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using controls::TColorArrayClass;
using controls::TColorDropButton;

class TestColorDropButton : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dropsDownTheGrids()
    {
        TColorDropButton button;
        button.SetColor(platform::clRed);
        QCOMPARE(button.icon().pixmap(button.iconSize()).toImage().pixelColor(5, 5), QColor(Qt::red));
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::mouseClick(&button, Qt::LeftButton);
        QFrame* dropDown = button.DropDown();
        QTRY_VERIFY(dropDown->isVisible());
        QCOMPARE(dropDown->findChildren<QToolButton*>(QRegularExpression(QStringLiteral("^Palette_"))).size(),
                 20);
        QCOMPARE(dropDown->findChildren<QToolButton*>(QRegularExpression(QStringLiteral("^Custom_"))).size(),
                 16);
        if (const QString folder = qEnvironmentVariable("DATORIA_SCREENSHOTS"); !folder.isEmpty())
            QVERIFY(dropDown->grab().save(QDir(folder).filePath(QStringLiteral("colour-drop-down.png"))));

        // Laid out as the grid: columns across, rows down.
        auto swatch = [dropDown](const char* name) {
            return dropDown->findChild<QToolButton*>(QLatin1String(name));
        };
        QCOMPARE(swatch("Palette_1_2")->x(), swatch("Palette_1_1")->x());
        QVERIFY(swatch("Palette_1_2")->y() > swatch("Palette_1_1")->y());
        QCOMPARE(swatch("Palette_2_1")->y(), swatch("Palette_1_1")->y());
        QVERIFY(swatch("Palette_2_1")->x() > swatch("Palette_1_1")->x());
        QVERIFY(swatch("Custom_1_1")->y() > swatch("Palette_1_5")->y());
        QSignalSpy chosen(&button, &TColorDropButton::colorChosen);
        // The second column's top swatch is black, its fifth a pale blue.
        QTest::mouseClick(dropDown->findChild<QToolButton*>(QStringLiteral("Palette_2_1")), Qt::LeftButton);
        QCOMPARE(button.Color(), platform::clBlack);
        QCOMPARE(chosen.size(), 1);
        QVERIFY(!dropDown->isVisible());
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(button.DropDown()->findChild<QToolButton*>(QStringLiteral("Palette_2_5")),
                          Qt::LeftButton);
        QCOMPARE(button.Color(), 0xEFBF9F);
        QCOMPARE(chosen.size(), 2);
    }

    // The list opens below the button, or above it where the screen has no room below.
    void dropDownStaysOnTheScreen_data()
    {
        QTest::addColumn<bool>("nearTheBottom");
        QTest::newRow("room below") << false;
        QTest::newRow("at the screen's bottom") << true;
    }
    void dropDownStaysOnTheScreen()
    {
        QFETCH(bool, nearTheBottom);
        TColorDropButton button;
        button.resize(60, 24);
        const QRect area = button.screen()->availableGeometry();
        button.move(area.left() + 100, nearTheBottom ? area.bottom() - 40 : area.top() + 40);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::mouseClick(&button, Qt::LeftButton);
        QFrame* dropDown = button.DropDown();
        QTRY_VERIFY(dropDown->isVisible());
        const QRect list(dropDown->pos(), dropDown->size());
        const QRect face(button.mapToGlobal(QPoint(0, 0)), button.size());
        // Against the button's edge, give or take the 2 pixels of frame the window system may add.
        if (nearTheBottom)
            QVERIFY2(std::abs(list.bottom() + 1 - face.top()) <= 2,
                     qPrintable(QString::number(list.bottom())));
        else
            QVERIFY2(std::abs(list.top() - (face.bottom() + 1)) <= 2,
                     qPrintable(QString::number(list.top())));
        QVERIFY(area.contains(list));
        dropDown->hide();
    }

    void otherColoursJoinTheCustomOnes()
    {
        testsupport::ScriptedPrompts prompts;
        TColorDropButton button;
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QSignalSpy chosen(&button, &TColorDropButton::colorChosen);
        auto other = [&button] {
            QTest::mouseClick(&button, Qt::LeftButton);
            QTest::mouseClick(button.DropDown()->findChild<QPushButton*>(QStringLiteral("OtherColor")),
                              Qt::LeftButton);
        };
        prompts.color = 0x112233;
        other();
        QCOMPARE(button.Color(), 0x112233);
        QCOMPARE(button.CustomColors().Cell(1, 1), 0x112233);
        prompts.color = 0x445566;
        other();
        QCOMPARE(button.CustomColors().Cell(2, 1), 0x445566);
        QCOMPARE(chosen.size(), 2);
        // The new swatch is offered at once.
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(button.DropDown()->findChild<QToolButton*>(QStringLiteral("Custom_1_1")),
                          Qt::LeftButton);
        QCOMPARE(button.Color(), 0x112233);
        // Cancelled: nothing changes and nothing is reported.
        prompts.color.reset();
        other();
        QCOMPARE(button.Color(), 0x112233);
        QCOMPARE(chosen.size(), 3);
        QCOMPARE(button.CustomColors().Cell(3, 1), 0xFFFFFF);
        QVERIFY(!button.DropDown()->isVisible()); // closed before the colour dialog, chosen or not
        // New custom colours start over: the next colour chosen takes their first place.
        TColorArrayClass fresh(8, 2);
        button.SetCustomColors(fresh);
        prompts.color = 0x778899;
        other();
        QCOMPARE(button.CustomColors().Cell(1, 1), 0x778899);
        QCOMPARE(button.CustomColors().Cell(3, 1), fresh.Cell(3, 1));
    }

    void sixteenCustomColoursGoRound()
    {
        testsupport::ScriptedPrompts prompts;
        TColorDropButton button;
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        for (int i = 1; i <= 17; ++i) {
            prompts.color = i;
            QTest::mouseClick(&button, Qt::LeftButton);
            QTest::mouseClick(button.DropDown()->findChild<QPushButton*>(QStringLiteral("OtherColor")),
                              Qt::LeftButton);
        }
        // The 17th takes the place of the oldest; the second row holds the 9th to 16th.
        QCOMPARE(button.CustomColors().Cell(1, 1), 17);
        QCOMPARE(button.CustomColors().Cell(2, 1), 2);
        QCOMPARE(button.CustomColors().Cell(1, 2), 9);
        QCOMPARE(button.CustomColors().Cell(8, 2), 16);
        // Custom colours given anew fill from their first place again.
        button.SetCustomColors(TColorArrayClass(8, 2));
        prompts.color = 0x0A0B0C;
        QTest::mouseClick(&button, Qt::LeftButton);
        QPushButton* other = button.DropDown()->findChild<QPushButton*>(QStringLiteral("OtherColor"));
        QTest::mouseClick(other, Qt::LeftButton);
        QCOMPARE(button.CustomColors().Cell(1, 1), 0x0A0B0C);
        // The drop-down closed when the colour dialog opened.
        QVERIFY(!button.DropDown()->isVisible());
    }

    void givenPalette()
    {
        TColorDropButton button;
        TColorArrayClass palette(2, 1);
        palette.SetCell(1, 1, 0x010203);
        palette.SetCell(2, 1, 0x040506);
        button.SetPalette(palette);
        QVERIFY(button.Palette() == palette);
        QFrame* dropDown = button.DropDown();
        QCOMPARE(dropDown->findChildren<QToolButton*>(QRegularExpression(QStringLiteral("^Palette_"))).size(),
                 2);
    }
};

QTEST_MAIN(TestColorDropButton)
#include "tst_colordropbutton.moc"
