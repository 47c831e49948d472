#include "calendar/TCalendarPanel32.h"
#include "design/TQelGraphicControl.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPrinters.h"

#include <QTest>

#include <functional>

using namespace calendar;
using platform::TRect;

class TestCalendarPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void constructorValues()
    {
        TCalendarPanel32 page;
        QCOMPARE(page.CalendarLayout(), loFullCalendar);
        QCOMPARE(page.CalendarOrientation(), coPortrait);
        QCOMPARE(page.CalendarLineLayout(), llFull);
        QCOMPARE(page.MiniCalendarLineLayout(), mllFull);
        QCOMPARE(page.TitleBGColor(), platform::clWhite);
        QCOMPARE(page.TitleFont()->Name(), QStringLiteral("Times New Roman"));
        QCOMPARE(page.TitleFont()->Size(), 26);
        QCOMPARE(page.TitleFont()->Style(), platform::TFontStyles(platform::fsBold));
        QCOMPARE(page.HeadersFont()->Size(), 16);
        QCOMPARE(page.CellFont()->Size(), 16);
        QCOMPARE(page.MiniTitleFont()->Size(), 6);
        QCOMPARE(page.MiniHeadersFont()->Size(), 8);
        QCOMPARE(page.MiniHeadersFont()->Color(), platform::clWhite);
        QCOMPARE(page.MiniHeadersFont()->Style(), platform::TFontStyles());
        QCOMPARE(page.MiniCellFont()->Size(), 6);
        QCOMPARE(page.LeftMarginInch(), 0.25f);
        QCOMPARE(page.BottomMarginInch(), 0.25f);
        QCOMPARE(page.MiniCalBorder(), cbAll);
        QCOMPARE(page.MiniHeadersBorder(), cbBottom);
        QCOMPARE(page.MiniCellBorder(), cbNone);
        QCOMPARE(page.MainCalDay(), 0);
        QCOMPARE(page.MainCalMonth(), 1);
        QCOMPARE(page.MainCalYear(), 1997);
        QCOMPARE(page.StartOfWeek(), 1);
        QCOMPARE(page.HeadersStyle(), dsThreeChars);
        QCOMPARE(page.MiniHeadersStyle(), dsFirstChar);
        QCOMPARE(page.NumberPosition(), cnpUpperRight);
        QCOMPARE(page.PanelState(), psPointing);
        QVERIFY(page.Pointing());
        QCOMPARE(page.PaperSize(), 0);
        QCOMPARE(page.DayStartTime(), 8.0 / 24);
        QCOMPARE(page.MonthNames()[0], QStringLiteral("January"));
        QCOMPARE(page.DayNames()[0], QStringLiteral("Sunday"));
        QCOMPARE(page.DayNames()[6], QStringLiteral("Saturday"));
        QVERIFY(page.ShowMainCalendar());
        QVERIFY(!page.ShowMiniCalendars());
        QVERIFY(!page.PlannerMode());
        QCOMPARE(page.size(), QSize(816, 1056));
        QCOMPARE(page.Cell(1), CellGeometry{});
        QVERIFY(!page.HasCellContent());
    }

    void lineLayoutsSetBorders_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("calendar");
        QTest::addColumn<int>("headers");
        QTest::addColumn<int>("cells");
        QTest::newRow("headers and cells")
            << int(llHeadersAndCells) << int(cbNone) << int(cbAll) << int(cbAll);
        QTest::newRow("cells only") << int(llCellsOnly) << int(cbNone) << int(cbNone) << int(cbAll);
    }
    void lineLayoutsSetBorders()
    {
        QFETCH(int, layout);
        QFETCH(int, calendar);
        QFETCH(int, headers);
        QFETCH(int, cells);
        TCalendarPanel32 page;
        page.SetCalendarLineLayout(TCalendarLineLayout(layout));
        QCOMPARE(int(page.CalendarBorder()), calendar);
        QCOMPARE(int(page.HeadersBorder()), headers);
        QCOMPARE(int(page.CellBorder()), cells);
        page.SetCalendarLineLayout(llFull);
        QCOMPARE(page.CalendarBorder(), cbAll);
        QCOMPARE(page.HeadersBorder(), cbAll);
        QCOMPARE(page.CellBorder(), cbAll);
    }

    void miniLineLayoutsSetBorders_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("calendar");
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("headers");
        QTest::newRow("boxed") << int(mllBoxed) << int(cbAll) << int(cbNone) << int(cbTopBottom);
        QTest::newRow("minimal") << int(mllMinimal) << int(cbNone) << int(cbNone) << int(cbTop);
    }
    void miniLineLayoutsSetBorders()
    {
        QFETCH(int, layout);
        QFETCH(int, calendar);
        QFETCH(int, cells);
        QFETCH(int, headers);
        TCalendarPanel32 page;
        page.SetMiniCalendarLineLayout(TMiniCalendarLineLayout(layout));
        QCOMPARE(int(page.MiniCalBorder()), calendar);
        QCOMPARE(int(page.MiniCellBorder()), cells);
        QCOMPARE(int(page.MiniHeadersBorder()), headers);
        // The constructor stores mllFull without running its setter, so setting it now applies it.
        page.SetMiniCalendarLineLayout(mllFull);
        QCOMPARE(page.MiniCellBorder(), cbAll);
        QCOMPARE(page.MiniHeadersBorder(), cbAll);
    }

    void orientationFollowsTheLayout()
    {
        TCalendarPanel32 page;
        page.SetCalendarOrientation(coLandscape);
        QCOMPARE(page.CalendarOrientation(), coPortrait);
        page.SetCalendarLayout(loMC12MonthLS);
        QCOMPARE(page.CalendarOrientation(), coLandscape);
        QCOMPARE(page.size(), QSize(1056, 816));
        page.SetCalendarLayout(loWeek);
        QCOMPARE(page.CalendarOrientation(), coPortrait);
    }

    void relayoutSetters()
    {
        TCalendarPanel32 page;
        page.SetPaperSize(1);
        QCOMPARE(page.PageWidth(), 793);
        QCOMPARE(page.size(), QSize(793, 1122));
        page.SetLeftMarginInch(1.0f);
        QCOMPARE(page.MainRect().left, 98);
        page.SetCalendarLayout(loMC12Month);
        page.SetMainCalMonth(11);
        QCOMPARE(page.MiniSlots(3).month, 1);
        QCOMPARE(page.MiniSlots(3).year, 1998);
        page.SetMainCalYear(2000);
        QCOMPARE(page.MiniSlots(3).year, 2001);
        // Relayout without font reset keeps the mini fonts.
        QCOMPARE(page.MiniTitleFont()->Size(), 6);
        page.Relayout(true);
        QCOMPARE(page.MiniTitleFont()->Size(), 18);
        QCOMPARE(page.MiniHeadersFont()->Size(), 14);
        QCOMPARE(page.MiniCellFont()->Size(), 14);
    }

    // Each margin moves its own edge of the main rectangle (one inch is 96 pixels, 2 more inside).
    void marginsMoveTheMainRectangle_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<TRect>("mainRect");
        QTest::newRow("left") << 0 << TRect{98, 26, 790, 1030};
        QTest::newRow("top") << 1 << TRect{26, 98, 790, 1030};
        QTest::newRow("right") << 2 << TRect{26, 26, 718, 1030};
        QTest::newRow("bottom") << 3 << TRect{26, 26, 790, 958};
    }
    void marginsMoveTheMainRectangle()
    {
        QFETCH(int, side);
        QFETCH(TRect, mainRect);
        TCalendarPanel32 page;
        switch (side) {
        case 0:
            page.SetLeftMarginInch(1.0f);
            break;
        case 1:
            page.SetTopMarginInch(1.0f);
            break;
        case 2:
            page.SetRightMarginInch(1.0f);
            break;
        default:
            page.SetBottomMarginInch(1.0f);
            break;
        }
        QCOMPARE(page.MainRect(), mainRect);
        QCOMPARE(page.size(), QSize(816, 1056));
    }

    void nameAccessorsCheckBounds()
    {
        TCalendarPanel32 page;
        QString name = QStringLiteral("unchanged");
        page.GetMonthName(13, name);
        QCOMPARE(name, QStringLiteral("unchanged"));
        page.GetMonthName(0, name);
        QCOMPARE(name, QStringLiteral("unchanged"));
        page.GetDayName(8, name);
        QCOMPARE(name, QStringLiteral("unchanged"));
        page.GetMonthName(12, name);
        QCOMPARE(name, QStringLiteral("December"));
        page.SetDayName(0, QStringLiteral("x"));
        page.SetDayName(8, QStringLiteral("x"));
        QCOMPARE(page.DayNames()[0], QStringLiteral("Sunday"));
        page.SetDayName(1, QStringLiteral("Sonntag"));
        page.GetDayName(1, name);
        QCOMPARE(name, QStringLiteral("Sonntag"));
        page.SetMonthName(1, QStringLiteral("Januar"));
        QCOMPARE(page.MonthNames()[0], QStringLiteral("Januar"));
    }

    void panelStateSetsPointingAndCursor()
    {
        TCalendarPanel32 page;
        page.SetPanelState(psLabel);
        QVERIFY(!page.Pointing());
        QCOMPARE(page.cursor().shape(), Qt::DragMoveCursor);
        page.SetPanelState(psFlatCalendar);
        QVERIFY(!page.Pointing());
        page.SetPanelState(psPointing);
        QVERIFY(page.Pointing());
        QCOMPARE(page.cursor().shape(), Qt::ArrowCursor);
    }

    // Each of the six font setters copies the font it is given into the page's own font and ignores null.
    void fontSettersCopy_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("title") << 0;
        QTest::newRow("headers") << 1;
        QTest::newRow("cells") << 2;
        QTest::newRow("mini title") << 3;
        QTest::newRow("mini headers") << 4;
        QTest::newRow("mini cells") << 5;
    }
    void fontSettersCopy()
    {
        using Getter = platform::TFont* (TCalendarPanel32::*)() const;
        using Setter = void (TCalendarPanel32::*)(const platform::TFont*);
        static const std::pair<Getter, Setter> fonts[] = {
            {&TCalendarPanel32::TitleFont, &TCalendarPanel32::SetTitleFont},
            {&TCalendarPanel32::HeadersFont, &TCalendarPanel32::SetHeadersFont},
            {&TCalendarPanel32::CellFont, &TCalendarPanel32::SetCellFont},
            {&TCalendarPanel32::MiniTitleFont, &TCalendarPanel32::SetMiniTitleFont},
            {&TCalendarPanel32::MiniHeadersFont, &TCalendarPanel32::SetMiniHeadersFont},
            {&TCalendarPanel32::MiniCellFont, &TCalendarPanel32::SetMiniCellFont},
        };
        QFETCH(int, which);
        const auto [getter, setter] = fonts[which];
        TCalendarPanel32 page;
        platform::TFont font;
        font.SetName(QStringLiteral("Arial"));
        font.SetSize(30);
        font.SetColor(platform::clRed);
        (page.*setter)(&font);
        const platform::TFont* own = (page.*getter)();
        QCOMPARE(own->Name(), QStringLiteral("Arial"));
        QCOMPARE(own->Size(), 30);
        QCOMPARE(own->Color(), platform::clRed);
        QVERIFY(own != &font);
        (page.*setter)(nullptr);
        QCOMPARE((page.*getter)(), own);
        QCOMPARE(own->Name(), QStringLiteral("Arial"));
    }

    void assignStyleCopiesStyleOnly()
    {
        TCalendarPanel32 a, b;
        b.SetCalendarLayout(loFC12AfterLS);
        b.SetPaperSize(1);
        b.SetMainCalMonth(7);
        b.SetMainCalYear(2003);
        b.SetMainCalDay(14);
        b.SetStartOfWeek(2);
        b.SetMonthName(3, QStringLiteral("Marzo"));
        b.SetTitleBGColor(platform::clYellow);
        b.TitleFont()->SetColor(platform::clRed);
        b.SetTopMarginInch(0.75f);
        b.SetDayStartTime(9.0 / 24);
        b.SetCalendarLineLayout(llCellsOnly);
        b.SetMiniCalendarLineLayout(mllMinimal);
        b.SetCalendarBorder(cbTop); // an individual border the line layout does not explain
        b.SetUserTitle(QStringLiteral("Our year"));
        // Every other part of the style differs from a new page's too, so each must be copied.
        b.SetDayName(2, QStringLiteral("Lunes"));
        b.HeadersFont()->SetName(QStringLiteral("Arial"));
        b.SetHeadersBGColor(platform::clSilver);
        b.SetHeadersStyle(dsWhole);
        b.CellFont()->SetStyle(platform::fsItalic);
        b.SetMiniCalBGColor(platform::clAqua);
        b.MiniTitleFont()->SetName(QStringLiteral("Arial"));
        b.MiniHeadersFont()->SetColor(platform::clBlue);
        b.SetMiniHeadersBGColor(platform::clGreen);
        b.SetMiniHeadersStyle(dsThreeChars);
        b.MiniCellFont()->SetStyle(platform::fsBold);
        b.SetTitleShowYear(false);
        b.SetMiniShowYear(false);
        b.SetLeftMarginInch(0.3f);
        b.SetRightMarginInch(0.4f);
        b.SetBottomMarginInch(0.6f);
        b.CellStorage(5).SetRtfText(QByteArrayLiteral("{\\rtf1 b}"));
        a.CellStorage(3).SetRtfText(QByteArrayLiteral("{\\rtf1 a}"));

        a.AssignStyle(b);
        QVERIFY(a.SameStyle(b));
        QCOMPARE(a.CalendarLayout(), loFC12AfterLS);
        QCOMPARE(a.CalendarOrientation(), coLandscape);
        QCOMPARE(a.size(), QSize(1122, 793));
        QCOMPARE(a.MainCalDay(), 14);
        QCOMPARE(a.MonthNames()[2], QStringLiteral("Marzo"));
        QCOMPARE(a.TitleFont()->Color(), platform::clRed);
        QCOMPARE(a.UserTitle(), QStringLiteral("Our year"));
        QCOMPARE(a.CalendarBorder(), cbNone); // follows the line layout
        QCOMPARE(a.MiniHeadersBorder(), cbTop);
        QVERIFY(a.CellStorage(5).IsEmpty()); // cells are not copied
        QCOMPARE(a.CellStorage(3).RtfText(), QByteArrayLiteral("{\\rtf1 a}"));
        QCOMPARE(a.MiniSlots(1).month, b.MiniSlots(1).month);
    }

    void sameStyle()
    {
        using Change = std::function<void(TCalendarPanel32&)>;
        const QList<QPair<const char*, Change>> changes = {
            {"paper", [](TCalendarPanel32& p) { p.SetPaperSize(1); }},
            {"layout", [](TCalendarPanel32& p) { p.SetCalendarLayout(loWeek); }},
            {"week start", [](TCalendarPanel32& p) { p.SetStartOfWeek(2); }},
            {"month name", [](TCalendarPanel32& p) { p.SetMonthName(5, QStringLiteral("may")); }},
            {"day name", [](TCalendarPanel32& p) { p.SetDayName(7, QStringLiteral("Sat")); }},
            {"day", [](TCalendarPanel32& p) { p.SetMainCalDay(3); }},
            {"month", [](TCalendarPanel32& p) { p.SetMainCalMonth(3); }},
            {"year", [](TCalendarPanel32& p) { p.SetMainCalYear(2000); }},
            {"title font name", [](TCalendarPanel32& p) { p.TitleFont()->SetName(QStringLiteral("Arial")); }},
            {"title background", [](TCalendarPanel32& p) { p.SetTitleBGColor(platform::clAqua); }},
            {"headers font style", [](TCalendarPanel32& p) { p.HeadersFont()->SetStyle({}); }},
            {"headers background", [](TCalendarPanel32& p) { p.SetHeadersBGColor(platform::clAqua); }},
            {"headers style", [](TCalendarPanel32& p) { p.SetHeadersStyle(dsWhole); }},
            {"cell font colour", [](TCalendarPanel32& p) { p.CellFont()->SetColor(platform::clRed); }},
            {"mini background", [](TCalendarPanel32& p) { p.SetMiniCalBGColor(platform::clAqua); }},
            {"mini title font", [](TCalendarPanel32& p) { p.MiniTitleFont()->SetStyle({}); }},
            {"mini headers font", [](TCalendarPanel32& p) { p.MiniHeadersFont()->SetColor(0); }},
            {"mini headers background", [](TCalendarPanel32& p) { p.SetMiniHeadersBGColor(0); }},
            {"mini headers style", [](TCalendarPanel32& p) { p.SetMiniHeadersStyle(dsWhole); }},
            {"mini cell font",
             [](TCalendarPanel32& p) { p.MiniCellFont()->SetName(QStringLiteral("Arial")); }},
            {"title year", [](TCalendarPanel32& p) { p.SetTitleShowYear(false); }},
            {"mini year", [](TCalendarPanel32& p) { p.SetMiniShowYear(false); }},
            {"left margin", [](TCalendarPanel32& p) { p.SetLeftMarginInch(0.3f); }},
            {"top margin", [](TCalendarPanel32& p) { p.SetTopMarginInch(0.3f); }},
            {"right margin", [](TCalendarPanel32& p) { p.SetRightMarginInch(0.3f); }},
            {"bottom margin", [](TCalendarPanel32& p) { p.SetBottomMarginInch(0.3f); }},
            {"start time", [](TCalendarPanel32& p) { p.SetDayStartTime(0.5); }},
            {"line layout", [](TCalendarPanel32& p) { p.SetCalendarLineLayout(llCellsOnly); }},
            {"mini line layout", [](TCalendarPanel32& p) { p.SetMiniCalendarLineLayout(mllMinimal); }},
            {"user title", [](TCalendarPanel32& p) { p.SetUserTitle(QStringLiteral("x")); }},
        };
        for (const auto& [name, change] : changes) {
            TCalendarPanel32 a, b;
            QVERIFY(a.SameStyle(b));
            change(b);
            QVERIFY2(!a.SameStyle(b), name);
        }

        // Differences that are not style: font sizes, individual borders, number position, colours of
        // borders.
        TCalendarPanel32 a, b;
        b.TitleFont()->SetSize(40);
        b.SetCellBorder(cbTop);
        b.SetNumberPosition(cnpCenter);
        b.CellStorage(1).SetRtfText(QByteArrayLiteral("{\\rtf1 x}"));
        QVERIFY(a.SameStyle(b));
    }

    void resetToNew()
    {
        TCalendarPanel32 page;
        page.SetCalendarLayout(loWeek);
        page.SetUserTitle(QStringLiteral("old"));
        page.SetStartOfWeek(2);
        page.SetMonthName(1, QStringLiteral("Januar"));
        page.SetHeadersBGColor(platform::clRed);
        page.SetTitleShowYear(false);
        page.TitleFont()->SetSize(40);
        page.SetNumberPosition(cnpCenter);
        page.SetPaperSize(1);
        page.SetDayStartTime(0.5);
        page.SetCalendarLineLayout(llCellsOnly);
        page.SetMiniHeadersStyle(dsWhole);

        page.ResetToNew();
        QCOMPARE(page.PaperSize(), 0);
        QCOMPARE(page.UserTitle(), QString());
        QCOMPARE(page.CalendarLayout(), loFCMinisInTitleLS);
        QCOMPARE(page.CalendarOrientation(), coLandscape);
        QCOMPARE(page.StartOfWeek(), 1);
        QCOMPARE(page.MonthNames()[0], QStringLiteral("January"));
        QCOMPARE(page.MainCalDay(), 7);
        QCOMPARE(page.MainCalMonth(), 12);
        QCOMPARE(page.MainCalYear(), 2026);
        QCOMPARE(page.HeadersBGColor(), platform::clWhite);
        QCOMPARE(page.MiniHeadersFont()->Color(), platform::clBlack);
        QCOMPARE(page.MiniHeadersStyle(), dsFirstChar);
        QVERIFY(page.TitleShowYear());
        QCOMPARE(page.LeftMarginInch(), 0.5f);
        QCOMPARE(page.BottomMarginInch(), 0.5f);
        QCOMPARE(page.DayStartTime(), 8.0 / 24);
        QCOMPARE(page.CalendarLineLayout(), llFull);
        QCOMPARE(page.CellBorder(), cbAll);
        QCOMPARE(page.MiniCalendarLineLayout(), mllBoxed);
        QCOMPARE(page.MiniHeadersBorder(), cbTopBottom);
        QCOMPARE(page.MiniTitleFont()->Size(), 10);
        QCOMPARE(page.MiniHeadersFont()->Size(), 8);
        QCOMPARE(page.MiniCellFont()->Size(), 8);
        QCOMPARE(page.MiniCount(), 2);
        QCOMPARE(page.MiniSlots(1).month, 11);
        QCOMPARE(page.MiniSlots(2).month, 1);
        QCOMPARE(page.MiniSlots(2).year, 2027);
        QCOMPARE(page.size(), QSize(1056, 816));
        // Kept: fonts other than the mini headers colour, and the number position.
        QCOMPARE(page.TitleFont()->Size(), 40);
        QCOMPARE(page.NumberPosition(), cnpCenter);
    }

    void cellsAndContent()
    {
        TCalendarPanel32 page;
        page.SetMainCalMonth(12);
        page.RenderToBitmap();
        QCOMPARE(page.DayOfCell(2), 1);
        QCOMPARE(page.DayOfCell(1), 0);
        QCOMPARE(page.DayOfCell(0), 0);
        QCOMPARE(page.DayOfCell(43), 0);
        QCOMPARE(page.CellOfDay(31), 32);
        QCOMPARE(page.CellOfDay(0), 1);
        QCOMPARE(page.CellOfDay(32), -1);

        page.CellStorage(10).SetRtfText(QByteArrayLiteral("{\\rtf1 Birthday\\par}"));
        QVERIFY(page.HasCellContent());
        page.ClearAllCells();
        QVERIFY(!page.HasCellContent());
        QCOMPARE(page.Cell(10).rTotal, TRect{});
        QCOMPARE(page.Cell(10).rFree, TRect{});
        QCOMPARE(page.Cell(10).iDay, 9); // days stay
    }

    // Clicks on the page open the cell under the point, unless an object lies over it or the layout has no
    // cells.
    void cellClicks()
    {
        QWidget window;
        auto* page = new TCalendarPanel32(&window);
        page->SetMainCalMonth(12);
        page->SetMainCalYear(1997);
        page->RenderToBitmap();
        QList<int> opened;
        page->SetClickedInCellEvent([&opened](const TRect&, const TRect&, int cell, int,
                                              richtext::TVelRtfStorage&) { opened.append(cell); });
        QCOMPARE(page->CellAtPoint(5, 5), 0);
        QCOMPARE(page->CellAtPoint(150, 240), 2);
        QVERIFY(page->PointInCell(150, 240));
        QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(150, 240));
        QCOMPARE(opened, QList<int>{2});

        page->ClickPreviousCell(1);
        page->ClickNextCell(42);
        page->ClickNextCell(0);
        page->ClickPreviousCell(43);
        QCOMPARE(opened.size(), 1); // nothing before the first or after the last cell
        page->ClickNextCell(32);    // day 31 to the blank cell 33, which has a text area
        QCOMPARE(opened.last(), 33);
        page->ClickPreviousCell(3); // day 2 back to day 1
        QCOMPARE(opened.last(), 2);
        page->ClickPreviousCell(42);
        QCOMPARE(opened.last(), 41);
        page->ClickNextCell(1);
        QCOMPARE(opened, (QList<int>{2, 33, 2, 41, 2}));

        int headerClicks = 0;
        page->SetOnClickedHeader([&headerClicks](QObject*) { ++headerClicks; });
        QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(400, 100));
        QCOMPARE(headerClicks, 1);

        // The right button opens no cell; a click beside the grid is a click on the page.
        int pageClicks = 0;
        page->SetOnClick([&pageClicks](QObject*) { ++pageClicks; });
        QTest::mouseClick(page, Qt::RightButton, {}, QPoint(150, 240));
        QCOMPARE(opened.size(), 5);
        QCOMPARE(pageClicks, 0);
        QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(pageClicks, 1);
        QCOMPARE(opened.size(), 5);
        QCOMPARE(headerClicks, 1);

        auto* object = new design::TQelGraphicControl(page);
        object->setGeometry(140, 230, 80, 60);
        object->show();
        opened.clear();
        page->PageClicked(QPoint(150, 240));
        QVERIFY(opened.isEmpty());

        // Cells without a text area (numbers in the middle) are passed over by the previous and next cell.
        page->SetNumberPosition(cnpCenter);
        page->RenderToBitmap();
        page->ClickNextCell(5);
        page->ClickPreviousCell(5);
        QVERIFY(opened.isEmpty());
        page->SetNumberPosition(cnpUpperRight);

        page->SetCalendarLayout(loMC12Month);
        page->RenderToBitmap();
        page->PageClicked(QPoint(400, 600));
        QVERIFY(opened.isEmpty());
        QCOMPARE(pageClicks, 2); // a page of mini calendars has no cells to open
    }

    void layoutFamily_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("usesCells");
        QTest::newRow("0") << 0 << 0 << true;
        QTest::newRow("7") << 7 << 0 << true;
        QTest::newRow("8") << 8 << 1 << false;
        QTest::newRow("17") << 17 << 1 << false;
        QTest::newRow("18") << 18 << 2 << true;
        QTest::newRow("19") << 19 << 3 << true;
        QTest::newRow("20") << 20 << 4 << true;
        QTest::newRow("21") << 21 << 5 << true;
    }
    void layoutFamily()
    {
        QFETCH(int, layout);
        QFETCH(int, family);
        QFETCH(bool, usesCells);
        QWidget parent;
        TCalendarPanel32 page(&parent);
        page.SetCalendarLayout(TCalendarLayout(layout));
        QCOMPARE(page.LayoutFamily(), family);
        QCOMPARE(page.UsesDayCells(), usesCells);
        page.hide();
        QVERIFY(!page.UsesDayCells());
    }

    // The page is always its page size times the zoom, truncated, however many steps led there.
    void zoomScalesThePage()
    {
        TCalendarPanel32 page;
        page.SetCalendarLayout(LOFullCalendarLS);
        page.SetZoom(0.5f);
        QCOMPARE(page.size(), QSize(528, 408));
        page.SetZoom(1.0f);
        QCOMPARE(page.size(), QSize(1056, 816));
        page.SetZoom(0.6f);
        QCOMPARE(page.size(), QSize(633, 489));
        page.SetZoom(0.7f);
        page.SetZoom(0.3f);
        page.SetZoom(0.9f);
        page.SetZoom(1.0f);
        QCOMPARE(page.size(), QSize(1056, 816));
        QCOMPARE(page.PageWidth(), 1056);
    }
};

QTEST_MAIN(TestCalendarPanel)
#include "tst_calendarpanel.moc"
