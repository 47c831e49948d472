#include "controls/TColorButton.h"
#include "tests/support/ScriptedPrompts.h"

#include <QSignalSpy>
#include <QTest>

using controls::TColorButton;

class TestColorButton : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsAndReportsTheChosenColour()
    {
        testsupport::ScriptedPrompts prompts;
        TColorButton button(QStringLiteral("Color..."));
        button.SetColor(platform::clRed);
        QCOMPARE(button.icon().pixmap(button.iconSize()).toImage().pixelColor(5, 5), QColor(Qt::red));
        QSignalSpy chosen(&button, &TColorButton::colorChosen);
        prompts.color = platform::clBlue;
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(button.Color(), platform::clBlue);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen[0][0].value<platform::TColor>(), platform::clBlue);
        // Cancelled: nothing changes and nothing is reported.
        prompts.color.reset();
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(button.Color(), platform::clBlue);
        QCOMPARE(chosen.size(), 1);
    }
};

QTEST_MAIN(TestColorButton)
#include "tst_colorbutton.moc"
