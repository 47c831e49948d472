// A day cell whose text does not fit: on screen only whole lines and a mark in the corner, with a hint naming
// the lines left out; the page as printed or exported keeps its text cut at the cell's edge.
#include "calendar/TCalendarPanel32.h"
#include "tests/support/ImageProbe.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

using calendar::TCalendarPanel32;
using platform::TRect;

namespace {

constexpr int kCell = 10;
const QColor kMark(192, 0, 0);

QByteArray Lines(int count, int halfPoints)
{
    QByteArray rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs" + QByteArray::number(halfPoints) + ' ';
    for (int i = 1; i <= count; ++i)
        rtf += "Line " + QByteArray::number(i) + (i < count ? "\\par " : "");
    return rtf + '}';
}

bool Ink(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y) != QColor(Qt::white);
}

/** The rows of the cell's text area with ink left of the mark's columns, as runs [first, last]. */
QList<QPair<int, int>> InkBands(const QImage& image, const TRect& free, int markWidth)
{
    QList<QPair<int, int>> bands;
    bool inBand = false;
    for (int y = free.top; y < free.top + free.height(); ++y) {
        bool ink = false;
        for (int x = free.left; x < free.left + free.width() - markWidth && !ink; ++x)
            ink = Ink(image, x, y);
        if (ink && !inBand)
            bands.append({y, y});
        if (ink)
            bands.last().second = y;
        inBand = ink;
    }
    return bands;
}

QString HintOver(TCalendarPanel32& page, int cell)
{
    const TRect free = page.Cell(cell).rFree;
    const QPoint point((free.left + free.right) / 2, (free.top + free.bottom) / 2);
    QToolTip::hideText();
    // A hint goes away a moment after it is told to.
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000))
        return QStringLiteral("(the previous hint stayed)");
    QHelpEvent event(QEvent::ToolTip, point, page.mapToGlobal(point));
    QApplication::sendEvent(&page, &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace

class TestCellOverflow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void twentyLinesShowWholeLinesAndTheMark_data()
    {
        QTest::addColumn<float>("zoom");
        QTest::addColumn<int>("halfPoints");
        QTest::newRow("100%, 10 points") << 1.0f << 20;
        QTest::newRow("60%, 10 points") << 0.6f << 20;
        QTest::newRow("100%, 13 points") << 1.0f << 26;
        QTest::newRow("150%, 9 points") << 1.5f << 18;
    }

    void twentyLinesShowWholeLinesAndTheMark()
    {
        QFETCH(float, zoom);
        QFETCH(int, halfPoints);
        TCalendarPanel32 page;
        page.SetMainCalMonth(12);
        page.SetMainCalYear(1997);
        page.SetZoom(zoom);
        page.CellStorage(kCell).SetRtfText(Lines(20, halfPoints));
        const QImage screen = page.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage printed = page.RenderToBitmap();
        const TRect free = page.Cell(kCell).rFree;
        const int right = free.left + free.width() - 1;
        const int bottom = free.top + free.height() - 1;

        // The mark fills the lower right corner on screen only.
        QCOMPARE(screen.pixelColor(right, bottom), kMark);
        QCOMPARE(screen.pixelColor(right, bottom - 4), kMark);
        QCOMPARE(screen.pixelColor(right - 4, bottom), kMark);
        QVERIFY(printed.pixelColor(right, bottom) != kMark);
        int markWidth = 0;
        while (screen.pixelColor(right - markWidth, bottom) == kMark)
            ++markWidth;
        QVERIFY2(markWidth >= 5 && markWidth <= 16, qPrintable(QString::number(markWidth)));
        // A triangle, not a square: its upper left is clear.
        QVERIFY(screen.pixelColor(right - markWidth + 2, bottom - markWidth + 2) != kMark);

        // Each shown line is one band of ink; the hidden count is what the bands leave of the twenty.
        const auto shown = InkBands(screen, free, markWidth + 1);
        QVERIFY(!shown.isEmpty());
        QVERIFY(shown.size() < 20);
        QCOMPARE(page.HiddenLines(kCell), 20 - shown.size());
        // Those lines are exactly the ones the page shows drawn for paper, which leaves the rest out alike;
        // below them the screen is white.
        const int lastShown = shown.last().second;
        for (int y = free.top; y <= lastShown; ++y)
            for (int x = free.left; x < right - markWidth; ++x)
                QCOMPARE(screen.pixelColor(x, y), printed.pixelColor(x, y));
        const auto printedBands = InkBands(printed, free, markWidth + 1);
        QCOMPARE(printedBands.size(), shown.size());
        for (int y = lastShown + 1; y <= bottom - markWidth; ++y)
            for (int x = free.left; x <= right; ++x)
                QVERIFY2(!Ink(screen, x, y), qPrintable(QStringLiteral("ink at %1, %2").arg(x).arg(y)));

        const int hidden = 20 - int(shown.size());
        QCOMPARE(HintOver(page, kCell),
                 QStringLiteral("%1 more lines in this day: click it to see all of its text").arg(hidden));
    }

    // A repaint of only the cell's last pixel column (a window scrolled to it) still shows the mark there.
    void repaintOfTheLastColumnShowsTheMark()
    {
        TCalendarPanel32 page;
        page.SetMainCalMonth(12);
        page.SetMainCalYear(1997);
        page.CellStorage(kCell).SetRtfText(Lines(20, 20));
        page.grab();
        const TRect free = page.Cell(kCell).rFree;
        const int right = free.left + free.width() - 1;
        const QImage strip = page.grab(QRect(right, free.top, 1, free.height()))
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(strip.size(), QSize(1, free.height()));
        QCOMPARE(strip.pixelColor(0, free.height() - 1), kMark);
        QCOMPARE(strip.pixelColor(0, 0), QColor(Qt::white));
    }

    void aLineTallerThanTheCellLeavesOnlyTheMark()
    {
        TCalendarPanel32 page;
        page.SetMainCalMonth(12);
        page.SetMainCalYear(1997);
        page.CellStorage(kCell).SetRtfText("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs400 W}");
        const QImage screen = page.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const TRect free = page.Cell(kCell).rFree;
        QCOMPARE(page.HiddenLines(kCell), 1);
        QVERIFY(InkBands(screen, free, 16).isEmpty());
        QCOMPARE(testsupport::CountInk(page.RenderToBitmap(), free), 0);
        QCOMPARE(HintOver(page, kCell),
                 QStringLiteral("1 more line in this day: click it to see all of its text"));
    }

    void textThatFitsLooksAsPrinted()
    {
        TCalendarPanel32 page;
        page.SetMainCalMonth(12);
        page.SetMainCalYear(1997);
        page.CellStorage(kCell).SetRtfText(Lines(3, 20));
        page.CellStorage(kCell + 1).SetRtfText(Lines(20, 20));
        const QImage screen = page.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(page.HiddenLines(kCell), 0);
        QVERIFY(page.HiddenLines(kCell + 1) > 0);
        if (const QString folder = qEnvironmentVariable("DATORIA_SCREENSHOTS"); !folder.isEmpty())
            screen.save(folder + QStringLiteral("/cell-overflow.png"));
        QCOMPARE(InkBands(screen, page.Cell(kCell).rFree, 0).size(), 3);
        QVERIFY(screen.copy(page.Cell(kCell).rTotal.toQRect()) ==
                page.RenderToBitmap().copy(page.Cell(kCell).rTotal.toQRect()));
        QCOMPARE(HintOver(page, kCell), QString());
        // Emptied, the cell has nothing hidden at the next paint.
        page.CellStorage(kCell + 1).SetRtfText(QByteArray());
        page.grab();
        QCOMPARE(page.HiddenLines(kCell + 1), 0);
    }
};

QTEST_MAIN(TestCellOverflow)
#include "tst_celloverflow.moc"
