#include "app/HintDelayStyle.h"
#include "app/TSetTimeDialog.h"
#include "app/TUserTitleForm.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using app::TSetTimeDialog;

class TestSmallDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void timeText_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("text");
        QTest::newRow("midnight") << QTime(0, 0) << QStringLiteral("12:00 am");
        QTest::newRow("morning") << QTime(9, 5) << QStringLiteral("09:05 am");
        QTest::newRow("noon") << QTime(12, 30) << QStringLiteral("12:30 pm");
        QTest::newRow("last minute") << QTime(23, 59) << QStringLiteral("11:59 pm");
    }

    void timeText()
    {
        QFETCH(QTime, time);
        QFETCH(QString, text);
        QCOMPARE(TSetTimeDialog::TimeText(time), text);
    }

    void clicksSetHourAndMinute()
    {
        TSetTimeDialog dialog(QTime(8, 30));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Set Time As: 08:30 am"));
        QCOMPARE(dialog.HourButton(8)->palette().color(QPalette::Button), QColor(Qt::yellow));
        // "PM" row "3", then minute "45".
        QCOMPARE(dialog.HourButton(15)->text(), QStringLiteral("3"));
        QTest::mouseClick(dialog.HourButton(15), Qt::LeftButton);
        QTest::mouseClick(dialog.MinuteButton(45), Qt::LeftButton);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Set Time As: 03:45 pm"));
        QCOMPARE(dialog.Time(), QTime(15, 45));
        QCOMPARE(dialog.HourButton(15)->palette().color(QPalette::Button), QColor(Qt::yellow));
        QCOMPARE(dialog.MinuteButton(45)->palette().color(QPalette::Button), QColor(Qt::yellow));
        QVERIFY(dialog.HourButton(8)->palette().color(QPalette::Button) != QColor(Qt::yellow));
        QCOMPARE(dialog.HourButton(0)->text(), QStringLiteral("12"));
        QCOMPARE(dialog.HourButton(12)->text(), QStringLiteral("12"));
        QCOMPARE(dialog.MinuteButton(7)->text(), QStringLiteral("07"));
        QCOMPARE(dialog.HourButton(3)->toolTip(),
                 QStringLiteral("Click to set the hours portion of the time"));
        // Each row of hours is labelled: "AM" beside 12 to 11 in the morning, "PM" beside the afternoon's.
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto rowLabel = [&dialog](int hour) {
            const QPushButton* button = dialog.HourButton(hour);
            const int y = button->mapTo(&dialog, button->rect().center()).y();
            for (const QLabel* label : dialog.findChildren<QLabel*>()) {
                const QRect r(label->mapTo(&dialog, QPoint(0, 0)), label->size());
                if (r.top() <= y && y <= r.bottom() && r.right() < button->mapTo(&dialog, QPoint(0, 0)).x())
                    return label->text();
            }
            return QString();
        };
        QCOMPARE(rowLabel(0), QStringLiteral("AM"));
        QCOMPARE(rowLabel(11), QStringLiteral("AM"));
        QCOMPARE(rowLabel(12), QStringLiteral("PM"));
        QCOMPARE(rowLabel(23), QStringLiteral("PM"));
        const QString folder = qEnvironmentVariable("DATORIA_SCREENSHOTS");
        if (!folder.isEmpty())
            dialog.grab().save(folder + QStringLiteral("/set-time.png"));
    }

    // Enter takes the time shown, also after the hour and minute were clicked; Escape keeps the old one.
    void keysCloseTheDialog_data()
    {
        QTest::addColumn<bool>("click");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::addColumn<QTime>("time");
        QTest::newRow("Enter at once")
            << false << int(Qt::Key_Return) << int(QDialog::Accepted) << QTime(8, 30);
        QTest::newRow("Enter after clicks")
            << true << int(Qt::Key_Return) << int(QDialog::Accepted) << QTime(15, 45);
        QTest::newRow("keypad Enter")
            << true << int(Qt::Key_Enter) << int(QDialog::Accepted) << QTime(15, 45);
        QTest::newRow("Escape") << true << int(Qt::Key_Escape) << int(QDialog::Rejected) << QTime(15, 45);
    }
    void keysCloseTheDialog()
    {
        QFETCH(bool, click);
        QFETCH(int, key);
        QFETCH(int, result);
        QFETCH(QTime, time);
        TSetTimeDialog dialog(QTime(8, 30));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        if (click) {
            QTest::mouseClick(dialog.HourButton(15), Qt::LeftButton);
            QTest::mouseClick(dialog.MinuteButton(45), Qt::LeftButton);
        }
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keyClick(focus, Qt::Key(key));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), result);
        QCOMPARE(dialog.Time(), time);
    }

    void hintsWaitOneAndAFifthSeconds()
    {
        app::HintDelayStyle style;
        QCOMPARE(style.styleHint(QStyle::SH_ToolTip_WakeUpDelay), 1200);
    }

    void userTitleFormKeepsBlanks()
    {
        app::TUserTitleForm form(QStringLiteral("Family"));
        QCOMPARE(form.windowTitle(), QStringLiteral("User Defined Title"));
        QCOMPARE(form.TitleText()->text(), QStringLiteral("Family"));
        form.TitleText()->setText(QStringLiteral("   "));
        QCOMPARE(form.Title(), QStringLiteral("   "));
        QCOMPARE(form.size(), QSize(358, 135));
    }
};

QTEST_MAIN(TestSmallDialogs)
#include "tst_smalldialogs.moc"
