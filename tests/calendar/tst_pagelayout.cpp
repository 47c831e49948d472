#include "calendar/PageLayout.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPrinters.h"

#include <QTest>

using namespace calendar;
using platform::TRect;

namespace {

PageLayoutResult Layout(int layout, int paper, float margin, int month = 12, int year = 1997)
{
    PageLayoutInput in;
    in.layout = layout;
    in.paperSize = paper;
    in.leftMargin = in.topMargin = in.rightMargin = in.bottomMargin = margin;
    in.month = month;
    in.year = year;
    in.pixelsPerInch = 96;
    PageLayoutResult out;
    ComputePageLayout(in, out);
    return out;
}

} // namespace

class TestPageLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void pageSize_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("orientation");
        QTest::newRow("letter portrait") << 0 << 0 << 816 << 1056 << int(coPortrait);
        QTest::newRow("letter landscape") << 1 << 0 << 1056 << 816 << int(coLandscape);
        QTest::newRow("A4 portrait truncates 793.92") << 0 << 1 << 793 << 1122 << int(coPortrait);
        QTest::newRow("A4 landscape") << 17 << 1 << 1122 << 793 << int(coLandscape);
        QTest::newRow("week planner is portrait") << 18 << 0 << 816 << 1056 << int(coPortrait);
        QTest::newRow("day planner on A4") << 21 << 1 << 793 << 1122 << int(coPortrait);
    }
    void pageSize()
    {
        QFETCH(int, layout);
        QFETCH(int, paper);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, orientation);
        const PageLayoutResult r = Layout(layout, paper, 0.25f);
        QCOMPARE(r.pageWidth, width);
        QCOMPARE(r.pageHeight, height);
        QCOMPARE(int(r.orientation), orientation);
    }

    void mainRect_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<float>("margin");
        QTest::addColumn<TRect>("mainRect");
        QTest::newRow("default rectangle") << 0 << 0.25f << TRect{26, 26, 790, 1030};
        QTest::newRow("minis in title, landscape") << 3 << 0.5f << TRect{50, 50, 1006, 766};
        QTest::newRow("six and six, portrait") << 4 << 0.5f << TRect{50, 174, 766, 882};
        QTest::newRow("six and six, landscape") << 5 << 0.5f << TRect{176, 50, 880, 766};
        QTest::newRow("twelve after, portrait") << 6 << 0.5f << TRect{50, 50, 766, 728};
        QTest::newRow("twelve after, landscape") << 7 << 0.5f << TRect{50, 50, 728, 766};
        QTest::newRow("planner") << 19 << 0.3f << TRect{30, 30, 786, 1026};
    }
    void mainRect()
    {
        QFETCH(int, layout);
        QFETCH(float, margin);
        QFETCH(TRect, mainRect);
        QCOMPARE(Layout(layout, 0, margin).mainRect, mainRect);
    }

    void flagsAndSlots_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<bool>("main");
        QTest::addColumn<bool>("minis");
        QTest::addColumn<bool>("planner");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("fontSize");
        QTest::newRow("0") << 0 << true << false << false << 0 << 0;
        QTest::newRow("3") << 3 << true << true << false << 2 << 10;
        QTest::newRow("4") << 4 << true << true << false << 12 << 10;
        QTest::newRow("7") << 7 << true << true << false << 12 << 10;
        QTest::newRow("8") << 8 << false << true << false << 6 << 18;
        QTest::newRow("11") << 11 << false << true << false << 12 << 18;
        QTest::newRow("12") << 12 << false << true << false << 24 << 12;
        QTest::newRow("15") << 15 << false << true << false << 48 << 10;
        QTest::newRow("16") << 16 << false << true << false << 60 << 8;
        QTest::newRow("18") << 18 << false << false << true << 0 << 0;
        QTest::newRow("21") << 21 << false << false << true << 0 << 0;
    }
    void flagsAndSlots()
    {
        QFETCH(int, layout);
        QFETCH(bool, main);
        QFETCH(bool, minis);
        QFETCH(bool, planner);
        QFETCH(int, count);
        QFETCH(int, fontSize);
        const PageLayoutResult r = Layout(layout, 0, 0.5f);
        QCOMPARE(r.showMainCalendar, main);
        QCOMPARE(r.showMiniCalendars, minis);
        QCOMPARE(r.plannerMode, planner);
        QCOMPARE(r.miniCount, count);
        QCOMPARE(r.miniFontSize, fontSize);
        // Every slot lies on the page.
        for (int i = 0; i < r.miniCount; ++i) {
            const TRect& s = r.miniSlots[size_t(i)].rect;
            QVERIFY2(s.left >= 0 && s.top >= 0 && s.right <= r.pageWidth && s.bottom <= r.pageHeight + 2,
                     qPrintable(QStringLiteral("slot %1").arg(i + 1)));
            QVERIFY(s.width() > 0 && s.height() > 0);
        }
    }

    void slotRects_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<float>("margin");
        QTest::addColumn<int>("slot");
        QTest::addColumn<TRect>("rect");
        // Minis in the title: 1.5-inch squares inset by an eighth of an inch in the upper corners.
        QTest::newRow("title, previous month") << 2 << 0.5f << 1 << TRect{62, 62, 182, 182};
        QTest::newRow("title, next month") << 2 << 0.5f << 2 << TRect{634, 62, 754, 182};
        QTest::newRow("title landscape, next") << 3 << 0.5f << 2 << TRect{874, 62, 994, 182};
        QTest::newRow("six before, first") << 4 << 0.5f << 1 << TRect{50, 50, 163, 170};
        QTest::newRow("six before, last column at the right edge")
            << 4 << 0.5f << 6 << TRect{653, 50, 766, 170};
        QTest::newRow("six after, first") << 4 << 0.5f << 7 << TRect{50, 886, 163, 1006};
        QTest::newRow("twelve after portrait, first") << 6 << 0.5f << 1 << TRect{50, 742, 163, 875};
        // The portrait strip reaches 2 pixels below the bottom margin.
        QTest::newRow("twelve after portrait, last") << 6 << 0.5f << 12 << TRect{653, 877, 766, 1010};
        QTest::newRow("twelve after landscape, first") << 7 << 0.5f << 1 << TRect{742, 50, 874, 163};
        QTest::newRow("twelve after landscape, last") << 7 << 0.5f << 12 << TRect{876, 653, 1008, 766};
        // 24 months in portrait: 6 rows of 4; the last row's top is bottom - sh.
        QTest::newRow("24 portrait, first") << 12 << 0.25f << 1 << TRect{26, 26, 211, 185};
        QTest::newRow("24 portrait, row 5 col 3") << 12 << 0.25f << 19 << TRect{410, 702, 595, 861};
        QTest::newRow("24 portrait, last") << 12 << 0.25f << 24 << TRect{605, 871, 790, 1030};
    }
    void slotRects()
    {
        QFETCH(int, layout);
        QFETCH(float, margin);
        QFETCH(int, slot);
        QFETCH(TRect, rect);
        QCOMPARE(Layout(layout, 0, margin).miniSlots[size_t(slot - 1)].rect, rect);
    }

    void slotMonths_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("slotMonth");
        QTest::addColumn<int>("slotYear");
        QTest::newRow("title minis, previous of January") << 2 << 1 << 1998 << 1 << 12 << 1997;
        QTest::newRow("title minis, next of December") << 2 << 12 << 1997 << 2 << 1 << 1998;
        QTest::newRow("six before March") << 4 << 3 << 1998 << 1 << 9 << 1997;
        QTest::newRow("just before March") << 4 << 3 << 1998 << 6 << 2 << 1998;
        QTest::newRow("just after March") << 4 << 3 << 1998 << 7 << 4 << 1998;
        QTest::newRow("twelve after, last") << 6 << 12 << 1997 << 12 << 12 << 1998;
        QTest::newRow("12-month page starts at the month") << 10 << 12 << 1997 << 1 << 12 << 1997;
        QTest::newRow("60-month page, last") << 16 << 12 << 1997 << 60 << 11 << 2002;
        QTest::newRow("month out of range clamps") << 10 << 14 << 1997 << 1 << 12 << 1997;
    }
    void slotMonths()
    {
        QFETCH(int, layout);
        QFETCH(int, month);
        QFETCH(int, year);
        QFETCH(int, slot);
        QFETCH(int, slotMonth);
        QFETCH(int, slotYear);
        const MiniSlot s = Layout(layout, 0, 0.5f, month, year).miniSlots[size_t(slot - 1)];
        QCOMPARE(s.month, slotMonth);
        QCOMPARE(s.year, slotYear);
    }

    // Truncation must never leave a grid short of its rectangle: the last row and column touch its edges.
    void gridsReachTheirEdges()
    {
        for (int layout = lopMC6Month; layout <= loMC60MonthLS; ++layout) {
            for (int paper = 0; paper <= 1; ++paper) {
                for (float margin : {0.0f, 0.25f, 0.3f, 0.5f, 1.0f}) {
                    const PageLayoutResult r = Layout(layout, paper, margin);
                    const int m = int(margin * 96);
                    const TRect& last = r.miniSlots[size_t(r.miniCount - 1)].rect;
                    QCOMPARE(last.right, r.pageWidth - m - 2);
                    QCOMPARE(last.bottom, r.pageHeight - m - 2);
                    QCOMPARE(r.miniSlots[0].rect.left, m + 2);
                    QCOMPARE(r.miniSlots[0].rect.top, m + 2);
                }
            }
        }
    }

    // A relayout writes only the slots it uses: those past its count keep what they held. (The 60-month page
    // uses every slot, so writing one more would write outside the result.)
    void slotsPastTheCountAreLeftAlone()
    {
        for (int layout = loFCMinisInTitle; layout <= loMC60MonthLS; ++layout) {
            PageLayoutInput in;
            in.layout = layout;
            PageLayoutResult r;
            for (MiniSlot& slot : r.miniSlots)
                slot = MiniSlot{99, 9999, TRect{1, 2, 3, 4}};
            ComputePageLayout(in, r);
            QVERIFY(r.miniCount > 0);
            for (int i = r.miniCount; i < kMaxMiniSlots; ++i)
                QVERIFY2(r.miniSlots[size_t(i)] == (MiniSlot{99, 9999, TRect{1, 2, 3, 4}}),
                         qPrintable(QStringLiteral("layout %1, slot %2").arg(layout).arg(i + 1)));
        }
    }

    void layoutsWithoutMinisKeepTheOldSlots()
    {
        PageLayoutInput in;
        in.layout = loMC12Month;
        PageLayoutResult r;
        ComputePageLayout(in, r);
        const auto slots = r.miniSlots;
        in.layout = loFullCalendar;
        ComputePageLayout(in, r);
        QCOMPARE(r.miniCount, 12);
        QVERIFY(r.miniSlots == slots);
        QVERIFY(!r.showMiniCalendars);

        // A mini-calendar-only page keeps the main rectangle of the page before.
        in.layout = loWeek;
        ComputePageLayout(in, r);
        const TRect main = r.mainRect;
        in.layout = loMC24Month;
        in.leftMargin = 1.0f;
        ComputePageLayout(in, r);
        QCOMPARE(r.mainRect, main);
    }

    void otherResolution()
    {
        PageLayoutInput in;
        in.pixelsPerInch = 120;
        PageLayoutResult r;
        ComputePageLayout(in, r);
        QCOMPARE(r.pageWidth, 1020);
        QCOMPARE(r.pageHeight, 1320);
        QCOMPARE(r.mainRect, (TRect{32, 32, 988, 1288}));
    }
};

QTEST_GUILESS_MAIN(TestPageLayout)
#include "tst_pagelayout.moc"
