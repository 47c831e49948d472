#include "calendar/TCalendarPanel32.h"
#include "calendar/TQelFlatCalendar.h"
#include "design/TQelBaseLabel.h"
#include "design/TZubRichBaseLabel.h"
#include "print/MonthFill.h"
#include "print/PagePrinter.h"
#include "print/PdfExport.h"
#include "richtext/RichTextRenderer.h"
#include "richtext/RtfPlainText.h"
#include "richtext/TVelRichRenderer.h"
#include "supertext/TQelSuperText.h"
#include "tests/support/PdfTools.h"
#include "tests/support/TestEnvironment.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

using namespace Qt::StringLiterals;

#include <memory>

using calendar::TCalendarPanel32;
using testsupport::PdfTools;

namespace {

/** Centres of the runs of dark pixels along a row (or a column) of a picture. */
QList<double> DarkRuns(const QImage& image, int fixed, bool alongRow)
{
    QList<double> runs;
    const int length = alongRow ? image.width() : image.height();
    int start = -1;
    for (int i = 0; i <= length; ++i) {
        const bool dark = i < length && qGray(alongRow ? image.pixel(i, fixed) : image.pixel(fixed, i)) < 160;
        if (dark && start < 0)
            start = i;
        if (!dark && start >= 0) {
            runs.append((start + i - 1) / 2.0);
            start = -1;
        }
    }
    return runs;
}

/**
 * Lines of the same grid: as many, the outer ones within outer pixels, the inner ones within 4 (a
 * millimetre): the paper divides the grid at its own resolution, where the screen drops up to a pixel per
 * column or row.
 */
void CompareLines(const QList<double>& printed, const QList<double>& screen, const char* what,
                  double outer = 1)
{
    if (printed.size() != screen.size())
        qDebug() << what << printed << screen;
    QVERIFY2(printed.size() == screen.size(), qPrintable(QStringLiteral("%1: %2 printed lines, %3 on screen")
                                                             .arg(QLatin1String(what))
                                                             .arg(printed.size())
                                                             .arg(screen.size())));
    for (int i = 0; i < printed.size(); ++i) {
        const double allowed = i == 0 || i == printed.size() - 1 ? outer : 4.0;
        QVERIFY2(std::abs(printed[i] - screen[i]) <= allowed,
                 qPrintable(QStringLiteral("%1 line %2: printed at %3, on screen at %4")
                                .arg(QLatin1String(what))
                                .arg(i)
                                .arg(printed[i])
                                .arg(screen[i])));
    }
}

} // namespace

class TestPagePrint : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString pdfPath(const QString& name) const { return m_dir.path() + u'/' + name + QStringLiteral(".pdf"); }

    static std::unique_ptr<TCalendarPanel32> newPage(int layout, int month = 12, int year = 2026, int day = 7)
    {
        auto page = std::make_unique<TCalendarPanel32>();
        page->ResetToNew();
        page->SetCalendarLayout(calendar::TCalendarLayout(layout));
        page->SetMainCalMonth(month);
        page->SetMainCalYear(year);
        page->SetMainCalDay(day);
        page->Relayout(true);
        return page;
    }

    static void putText(TCalendarPanel32& page, int cell, const QString& text)
    {
        page.CellStorage(cell).SetRtfText(print::AppendParagraph({}, text, {}));
    }

    QString print(TCalendarPanel32& page, const QString& name)
    {
        const QString path = pdfPath(name);
        print::PdfExportOptions options;
        QString error;
        if (print::ExportPdf(page, options, path, error) != print::ExportResult::Written)
            qWarning() << error;
        return path;
    }

private Q_SLOTS:
    void initTestCase()
    {
        testsupport::PinEnvironment();
        QVERIFY(m_dir.isValid());
        if (!PdfTools::Available())
            QSKIP("pdftoppm, pdftotext and pdfinfo (poppler-utils) are not installed");
    }

    // Every layout family prints the grid the screen shows, at full size, with the same texts.
    void layoutFamilies_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("month grid portrait")
            << int(calendar::loFullCalendar) << QStringList{u"December 2026"_s, u"Sun"_s, u"Sat"_s, u"31"_s};
        QTest::newRow("month grid landscape")
            << int(calendar::LOFullCalendarLS) << QStringList{u"December 2026"_s, u"Wed"_s, u"24"_s};
        QTest::newRow("minis in the title")
            << int(calendar::loFCMinisInTitleLS)
            << QStringList{u"December 2026"_s, u"November 2026"_s, u"January 2027"_s};
        QTest::newRow("twelve after")
            << int(calendar::loFC12After)
            << QStringList{u"December 2026"_s, u"January 2027"_s, u"December 2027"_s};
        QTest::newRow("twelve minis")
            << int(calendar::loMC12Month) << QStringList{u"December 2026"_s, u"November 2027"_s};
        QTest::newRow("week planner")
            << int(calendar::loWeek)
            << QStringList{u"December 7-13, 2026"_s, u"Mon"_s, u"7 Dec"_s, u"Notes"_s};
        QTest::newRow("day planner") << int(calendar::loDay10)
                                     << QStringList{u"Monday, December 7, 2026"_s, u"8:00 AM"_s, u"5:00 PM"_s,
                                                    u"Notes"_s};
    }
    void layoutFamilies()
    {
        QFETCH(int, layout);
        QFETCH(QStringList, texts);
        auto page = newPage(layout);
        const QImage screen = page->RenderToBitmap();
        const QString pdf = print(*page, QStringLiteral("family%1").arg(layout));
        const QImage printed = PdfTools::Render(pdf);
        QCOMPARE(printed.size(), screen.size());
        // The margin's corner stays empty: nothing prints outside the calendar and its slots.
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x)
                QCOMPARE(qGray(printed.pixel(x, y)), 255);
        }

        const QString text = PdfTools::Text(pdf);
        for (const QString& expected : texts)
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" is not in ") + text));

        // Across the cell rows and down the left edge, where no text lies.
        const platform::TRect main = page->MainRect();
        const int y = page->ShowMainCalendar() || page->PlannerMode()
                          ? (page->Cell(8).rTotal.top + page->Cell(8).rTotal.bottom) / 2
                          : page->MiniSlots(1).rect.top + page->MiniSlots(1).rect.height() * 3 / 4;
        if (page->PlannerMode()) {
            // The rows sit lower on paper, so only the frame and the label column's edge are compared.
            const int xd = page->Cell(1).rTotal.left - 4;
            auto frame = [xd, main](QList<double> runs) {
                runs.removeIf([xd, main](double x) { return x > main.left + 1 && x < xd - 2; });
                return runs;
            };
            CompareLines(frame(DarkRuns(printed, y, true)), frame(DarkRuns(screen, y, true)), "vertical", 2);
        } else {
            // The screen's one-pixel insets are device pixels on paper; mini calendars print one page pixel
            // larger to the right and below.
            CompareLines(DarkRuns(printed, y, true), DarkRuns(screen, y, true), "vertical",
                         page->ShowMainCalendar() ? 1 : 2);
        }
        if (page->ShowMainCalendar()) {
            // Down the main grid only: mini calendars below it print their day numbers at the cells' tops.
            auto grid = [main](QList<double> runs) {
                runs.removeIf([main](double y) { return y > main.bottom + 2; });
                return runs;
            };
            CompareLines(grid(DarkRuns(printed, main.left + 3, false)),
                         grid(DarkRuns(screen, main.left + 3, false)), "horizontal");
        }
        if (page->PlannerMode()) {
            // The planner's title band is a line and a half of its font on paper; the rows follow from there.
            const QList<double> rows = DarkRuns(printed, main.left + 3, false);
            QCOMPARE(rows.size(), DarkRuns(screen, main.left + 3, false).size());
            QVERIFY(std::abs(rows.last() - DarkRuns(screen, main.left + 3, false).last()) <= 2);
        }
    }

    // A calendar printed at 60% comes out at full size, and the page stays at 60%.
    void zoomedPagePrintsAtFullSize()
    {
        auto page = newPage(calendar::LOFullCalendarLS);
        const QImage full = page->RenderToBitmap();
        const int y = (page->Cell(8).rTotal.top + page->Cell(8).rTotal.bottom) / 2;
        page->SetZoom(0.6f);
        const QImage printed = PdfTools::Render(print(*page, QStringLiteral("zoomed")));
        QCOMPARE(page->Zoom(), 0.6f);
        QCOMPARE(printed.size(), full.size());
        CompareLines(DarkRuns(printed, y, true), DarkRuns(full, y, true), "vertical");
    }

    // Portrait calendars print on portrait paper, landscape ones on landscape paper; A4 stays A4.
    void paperAndOrientation_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("paper");
        QTest::addColumn<QString>("size");
        QTest::newRow("letter portrait") << int(calendar::loFullCalendar) << 0 << u"612 x 792 pts (letter)"_s;
        QTest::newRow("letter landscape")
            << int(calendar::LOFullCalendarLS) << 0 << u"792 x 612 pts (letter)"_s;
        QTest::newRow("a4 portrait") << int(calendar::loWeek) << 1 << u"595 x 842 pts (A4)"_s;
        QTest::newRow("a4 month grid") << int(calendar::loFullCalendar) << 1 << u"595 x 842 pts (A4)"_s;
    }
    void paperAndOrientation()
    {
        QFETCH(int, layout);
        QFETCH(int, paper);
        QFETCH(QString, size);
        auto page = newPage(layout);
        page->SetPaperSize(paper);
        const QString pdf = print(*page, QStringLiteral("paper%1%2").arg(layout).arg(paper));
        QCOMPARE(PdfTools::Info(pdf, QStringLiteral("Page size")), size);
        if (!page->PlannerMode()) {
            // The grid is laid out for that paper: its outer edges fall where the screen shows them (the
            // columns between drift by up to a pixel each, as the screen drops its remainder).
            const QImage screen = page->RenderToBitmap();
            const QImage printed = PdfTools::Render(pdf);
            const int y = (page->Cell(8).rTotal.top + page->Cell(8).rTotal.bottom) / 2;
            const QList<double> onPaper = DarkRuns(printed, y, true), onScreen = DarkRuns(screen, y, true);
            QCOMPARE(onPaper.size(), onScreen.size());
            QVERIFY(std::abs(onPaper.first() - onScreen.first()) <= 1);
            QVERIFY2(std::abs(onPaper.last() - onScreen.last()) <= 1,
                     qPrintable(QStringLiteral("%1 %2").arg(onPaper.last()).arg(onScreen.last())));
        }
    }

    // Cell text prints as text (not as a picture) with the number in the upper right, and not at all centred.
    void cellTextFollowsNumberPosition_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("printed");
        QTest::newRow("upper right") << int(calendar::cnpUpperRight) << true;
        QTest::newRow("center") << int(calendar::cnpCenter) << false;
    }
    void cellTextFollowsNumberPosition()
    {
        QFETCH(int, position);
        QFETCH(bool, printed);
        auto page = newPage(calendar::LOFullCalendarLS);
        page->SetNumberPosition(calendar::TCalendarNumberPosition(position));
        putText(*page, 10, QStringLiteral("Dentist at nine"));
        const QString text = PdfTools::Text(print(*page, QStringLiteral("numbers%1").arg(position)));
        QCOMPARE(text.contains(QStringLiteral("Dentist at nine")), printed);
        QVERIFY(text.contains(QStringLiteral("December 2026")));
    }

    // Day numbers print across their cell where the screen shows them: at the right, or in the middle.
    void dayNumbersSitWhereTheScreenPutsThem_data()
    {
        QTest::addColumn<int>("position");
        QTest::newRow("upper right") << int(calendar::cnpUpperRight);
        QTest::newRow("center") << int(calendar::cnpCenter);
    }
    void dayNumbersSitWhereTheScreenPutsThem()
    {
        QFETCH(int, position);
        auto page = newPage(calendar::LOFullCalendarLS);
        page->SetCellBorder(calendar::cbNone);
        page->SetNumberPosition(calendar::TCalendarNumberPosition(position));
        const QImage screen = page->RenderToBitmap();
        const QImage printed = PdfTools::Render(print(*page, QStringLiteral("numberplace%1").arg(position)));
        // The middle of the ink of day 16 across its cell.
        const platform::TRect cell = page->Cell(page->CellOfDay(16)).rTotal;
        auto inkMiddle = [&cell](const QImage& image) {
            int left = cell.right, right = cell.left;
            for (int y = cell.top; y < cell.bottom; ++y) {
                for (int x = cell.left; x < cell.right; ++x) {
                    if (qGray(image.pixel(x, y)) < 128) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
                }
            }
            return (left + right) / 2.0;
        };
        const double onScreen = inkMiddle(screen);
        QVERIFY(onScreen > cell.left);
        QVERIFY2(std::abs(inkMiddle(printed) - onScreen) <= 4,
                 qPrintable(QStringLiteral("%1 %2").arg(inkMiddle(printed)).arg(onScreen)));
    }

    // Lines drawn cell by cell fall where the screen's whole-grid lines are, for every cell border style.
    void cellBorders_data()
    {
        QTest::addColumn<int>("border");
        QTest::newRow("top") << int(calendar::cbTop);
        QTest::newRow("bottom") << int(calendar::cbBottom);
        QTest::newRow("top and bottom") << int(calendar::cbTopBottom);
        QTest::newRow("none") << int(calendar::cbNone);
        QTest::newRow("all") << int(calendar::cbAll);
    }
    void cellBorders()
    {
        QFETCH(int, border);
        auto page = newPage(calendar::LOFullCalendarLS);
        page->SetCalendarBorder(calendar::cbNone);
        page->SetHeadersBorder(calendar::cbNone);
        page->SetCellBorder(calendar::TCalBorderStyle(border));
        const QImage screen = page->RenderToBitmap();
        const QImage printed = PdfTools::Render(print(*page, QStringLiteral("border%1").arg(border)));
        const int x = page->MainRect().left + 3;
        const int top = page->HeadersRect().bottom - 2;
        auto cells = [top](QList<double> runs) {
            runs.removeIf([top](double y) { return y < top; });
            return runs;
        };
        // Every one of these is a row line inside the grid, where the screen's row height drops its
        // remainder.
        CompareLines(cells(DarkRuns(printed, x, false)), cells(DarkRuns(screen, x, false)), "horizontal", 4);
        // Across a row of cells, and nothing beside the grid in the margins.
        const int y = (page->Cell(8).rTotal.top + page->Cell(8).rTotal.bottom) / 2;
        CompareLines(DarkRuns(printed, y, true), DarkRuns(screen, y, true), "vertical", 2);
        for (int row = top; row < page->MainRect().bottom; ++row) {
            for (int column = 0; column < page->MainRect().left - 2; ++column)
                QVERIFY2(qGray(printed.pixel(column, row)) > 200,
                         qPrintable(QStringLiteral("%1,%2").arg(column).arg(row)));
        }
    }

    // Cell texts are laid out for paper as for the screen, one pixel wider than the cell's free area: a line
    // that just fits that width stays one line on paper.
    void cellLineThatJustFitsStaysWhole()
    {
        auto page = newPage(calendar::LOFullCalendarLS);
        page->RenderToBitmap();
        const platform::TRect free = page->Cell(1).rFree;
        const int width = free.width() + 1;
        richtext::RichTextRenderer renderer;
        auto lines = [&renderer](const QString& text, int w) {
            QTextDocument& document = renderer.Document(print::AppendParagraph({}, text, {}));
            QImage scratch(1, 1, QImage::Format_RGB32);
            QPainter painter(&scratch);
            richtext::RenderDocument(painter, document, QRect(0, 0, w, 400), 100);
            return document.begin().layout()->lineCount();
        };
        // The longest line of this kind that fits: two pixels narrower it wraps.
        QString text = QStringLiteral("Tea iii");
        while (lines(text + u'i', width) == 1)
            text += u'i';
        for (const QString& end : {QStringLiteral("."), QStringLiteral("'"), QStringLiteral("l")})
            if (lines(text + end, width) == 1)
                text += end;
        if (lines(text, width - 2) == 1)
            QSKIP("no text of this kind fits within two pixels of the width");
        putText(*page, page->CellOfDay(16), text);
        const QString printed = PdfTools::Text(print(*page, QStringLiteral("justfits")));
        QVERIFY2(printed.contains(text), qPrintable(printed));
    }

    // Rows of the day planner take their text, as the screen shows it.
    void dayPlannerText()
    {
        auto page = newPage(calendar::loDay10);
        putText(*page, 3, QStringLiteral("Call the plumber"));
        QVERIFY(PdfTools::Text(print(*page, QStringLiteral("daytext")))
                    .contains(QStringLiteral("Call the plumber")));
    }

    // A cell's text lands in that cell on paper, under its day number.
    void cellTextInItsCell()
    {
        auto page = newPage(calendar::LOFullCalendarLS);
        page->RenderToBitmap();
        const int cell = page->CellOfDay(16);
        putText(*page, cell, QStringLiteral("MMMMMMMM"));
        const QImage printed = PdfTools::Render(print(*page, QStringLiteral("celltext")));
        const platform::TRect free = page->Cell(cell).rFree;
        int inside = 0, below = 0;
        for (int y = free.top; y < free.bottom; ++y) {
            for (int x = free.left + 2; x < free.right - 2; ++x) {
                if (qGray(printed.pixel(x, y)) < 128)
                    ++inside;
            }
        }
        const platform::TRect next = page->Cell(cell + 7).rFree;
        for (int y = next.top; y < next.bottom; ++y) {
            for (int x = next.left + 2; x < next.right - 2; ++x) {
                if (qGray(printed.pixel(x, y)) < 128)
                    ++below;
            }
        }
        QVERIFY2(inside > 50, qPrintable(QString::number(inside)));
        QCOMPARE(below, 0);
    }

    // An over-long title is cut at the calendar's frame, as on the screen.
    void longTitleIsCut()
    {
        auto page = newPage(calendar::loFullCalendar);
        const QString title =
            QStringLiteral("The Family Calendar of the Very Long Name Society ").repeated(3);
        page->SetUserTitle(title);
        const QString pdf = print(*page, QStringLiteral("longtitle"));
        // Nothing of the title reaches past the calendar's frame.
        const QImage printed = PdfTools::Render(pdf);
        const platform::TRect main = page->MainRect();
        const int y = main.top + 60;
        for (int x = 0; x < main.left - 1; ++x)
            QVERIFY(qGray(printed.pixel(x, y)) > 200);
        for (int x = main.right + 1; x < printed.width(); ++x)
            QVERIFY(qGray(printed.pixel(x, y)) > 200);
    }

    // A label prints in its place at its size, with its text.
    void labelPrintsInItsPlace()
    {
        auto page = newPage(calendar::LOFullCalendarLS);
        auto* label = new design::TZubLabel(page.get());
        label->setGeometry(300, 420, 200, 40);
        label->SetCaption(QStringLiteral("Party at noon"));
        label->SetTransparent(false);
        label->SetBackColor(platform::clRed);
        const QString pdf = print(*page, QStringLiteral("label"));
        const QImage printed = PdfTools::Render(pdf);
        // The label's own layout may have cut its height to its line; its place and width stay.
        const QRect r = label->geometry();
        QCOMPARE(r.topLeft(), QPoint(300, 420));
        QCOMPARE(QColor(printed.pixel(r.right() - 3, r.top() + 2)), QColor(Qt::red));
        QCOMPARE(QColor(printed.pixel(r.right() - 3, r.bottom() - 3)), QColor(Qt::red));
        QVERIFY(QColor(printed.pixel(r.right() + 4, r.top() + 2)) != QColor(Qt::red));
        QVERIFY(QColor(printed.pixel(r.left() - 4, r.top() + 2)) != QColor(Qt::red));
        QVERIFY(PdfTools::Text(pdf).contains(QStringLiteral("Party at noon")));
    }
    // A super text prints its frame when it has one, and none when it has not.
    void superTextFramePrints()
    {
        int frame[2] = {};
        for (bool framed : {false, true}) {
            auto page = newPage(calendar::LOFullCalendarLS);
            auto* text = new supertext::TQelSuperText(page.get());
            text->AfterLoad();
            text->setGeometry(311, 431, 201, 81);
            text->SetControlTransparent(false);
            text->SetBGColor(platform::clWhite);
            text->SetBorderStyle(framed ? design::bsSingle : design::bsNone);
            const QRect r = text->geometry();
            const QImage printed = PdfTools::Render(print(*page, QStringLiteral("superframe%1").arg(framed)));
            frame[framed] = qGray(printed.pixel(r.left(), r.center().y()));
        }
        QVERIFY2(frame[0] > 200 && frame[1] < 160,
                 qPrintable(QStringLiteral("%1 %2").arg(frame[0]).arg(frame[1])));
    }

    // An opaque super text prints its background; a see-through one leaves the page under it showing.
    void superTextBackgroundPrints()
    {
        for (bool opaque : {false, true}) {
            auto page = newPage(calendar::LOFullCalendarLS);
            auto* text = new supertext::TQelSuperText(page.get());
            text->AfterLoad();
            text->setGeometry(311, 431, 201, 81);
            text->SetControlTransparent(!opaque);
            text->SetBGColor(platform::clYellow);
            const QImage printed = PdfTools::Render(print(*page, QStringLiteral("superback%1").arg(opaque)));
            const QRect r = text->geometry();
            // The lower right corner, clear of the caption.
            const QColor c = printed.pixelColor(r.right() - 6, r.bottom() - 6);
            const bool yellow = c.red() > 200 && c.green() > 200 && c.blue() < 60;
            QVERIFY2(yellow == opaque, qPrintable(c.name()));
        }
    }

    // A rich-text label and a floating calendar print where they stand, at full size also from a zoomed page:
    // the label's background and frame, its text, the calendar's shadow on its side and its Spanish title.
    void richLabelAndFloatingCalendarPrintInTheirPlace()
    {
        QWidget window;
        auto* renderer = new richtext::TVelRichRenderer(&window);
        renderer->setObjectName(QStringLiteral("MasterVelRichText"));
        auto* page = new TCalendarPanel32(&window);
        page->ResetToNew();
        page->SetCalendarLayout(calendar::LOFullCalendarLS);
        page->SetMainCalMonth(12);
        page->SetMainCalYear(2026);
        page->Relayout(true);
        auto* rich = new design::TZubRichBaseLabel(page);
        rich->AfterLoad();
        page->AddObject(rich, {120, 500, 320, 560});
        rich->RTFText().SetRtfText("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Cheese scones\\par}");
        rich->SetTransparent(false);
        rich->SetBGColor(platform::clYellow);
        auto* mini = new calendar::TQelFlatCalendar;
        mini->AfterLoad();
        page->AddObject(mini, {700, 480, 900, 640});
        mini->SetMonth(3);
        mini->SetYear(2027);
        mini->SetLanguage(calendar::fclSpanish);
        mini->SetShadowDepth(6);
        mini->SetShadowColor(platform::clBlue);
        page->SetZoom(0.6f);

        const QString pdf = print(*page, QStringLiteral("objects"));
        QCOMPARE(page->Zoom(), 0.6f);
        page->SetZoom(1.0f);
        const QImage printed = PdfTools::Render(pdf);
        const QRect r = rich->geometry();
        QCOMPARE(r, QRect(120, 500, 200, 60));
        for (const QPoint& inside : {r.bottomLeft() + QPoint(3, -3), r.bottomRight() - QPoint(3, 3)})
            QCOMPARE(QColor(printed.pixel(inside)), QColor(Qt::yellow));
        QVERIFY(qGray(printed.pixel(r.left(), r.center().y())) < 100);
        QVERIFY(qGray(printed.pixel(r.right(), r.center().y())) < 100);
        QVERIFY(QColor(printed.pixel(r.left() - 3, r.top() + 3)) != QColor(Qt::yellow));
        QVERIFY(QColor(printed.pixel(r.right() + 3, r.bottom() - 3)) != QColor(Qt::yellow));

        // The shadow lies 6 pixels out at the right and at the bottom, and nowhere else.
        const QRect m = mini->geometry();
        QCOMPARE(m, QRect(700, 480, 200, 160));
        QCOMPARE(QColor(printed.pixel(m.right() - 2, m.bottom() - 2)), QColor(Qt::blue));
        QCOMPARE(QColor(printed.pixel(m.right() - 2, m.top() + 10)), QColor(Qt::blue));
        QVERIFY(QColor(printed.pixel(m.right() - 2, m.top() + 2)) != QColor(Qt::blue));
        QVERIFY(QColor(printed.pixel(m.left() + 2, m.bottom() - 2)) != QColor(Qt::blue));
        QVERIFY(QColor(printed.pixel(m.right() + 3, m.bottom() - 2)) != QColor(Qt::blue));
        QCOMPARE(QColor(printed.pixel(m.left() + 3, m.bottom() - 9)), QColor(Qt::white));

        const QString text = PdfTools::Text(pdf);
        // The day number beneath the label is still in the file, so the words are looked for one by one.
        QVERIFY2(text.contains(QStringLiteral("Cheese")) && text.contains(QStringLiteral("scones")),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Marzo")), qPrintable(text));
    }
};

QTEST_MAIN(TestPagePrint)
#include "tst_pageprint.moc"
