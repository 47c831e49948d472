// The printed page is the page the window shows: each layout family and a page of every kind of placed
// object, printed by `datoria-cli pdf` at 300, 600 and 1200 dpi and drawn back at 96 dpi by poppler, against
// `datoria-cli render` of the same file at zoom 1.

#include "calendar/TCalendarPanel32.h"
#include "calendar/TQelFlatCalendar.h"
#include "cli/CliCommand.h"
#include "design/TQelBaseLabel.h"
#include "design/TQelImage.h"
#include "design/TZubRichBaseLabel.h"
#include "persist/formats/CalendarFile.h"
#include "platform/ImageLoader.h"
#include "print/MonthFill.h"
#include "richtext/TVelRichRenderer.h"
#include "supertext/TQelSuperText.h"
#include "tests/support/PdfTools.h"
#include "tests/support/TestEnvironment.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using testsupport::PdfTools;

namespace {

// Half a millimetre at 96 pixels to the inch: how far a printed line or box may stand from the screen's.
constexpr double kHalfMillimetre = 96 / 25.4 * 0.5;
constexpr int kResolutions[] = {300, 600, 1200};

int Run(const QStringList& arguments)
{
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int code = cli::RunCommand(arguments, outStream, errStream);
    errStream.flush();
    if (code != 0)
        qWarning() << arguments << err;
    return code;
}

// The window marks a cell whose text does not fit with a red corner; paper does not show it.
constexpr QRgb kOverflowMark = qRgb(192, 0, 0);

bool Dark(QRgb pixel)
{
    return qGray(pixel) < 160 && pixel != kOverflowMark;
}

int InkOf(QRgb pixel)
{
    return pixel == kOverflowMark ? 0 : 255 - qGray(pixel);
}

/**
 * Centres of the lines across the page: columns (or rows) holding a run of at least kLineRun dark pixels,
 * neighbours taken as one line. Text never makes such a run; grid lines, frames and rules do. The placed
 * objects are left out: the coloured parts of a picture make such runs too, and objects are measured whole.
 */
constexpr int kLineRun = 50;
QList<double> LineCentres(const QImage& image, bool vertical, const QList<QRect>& objects)
{
    QList<double> centres;
    const int count = vertical ? image.width() : image.height();
    const int length = vertical ? image.height() : image.width();
    int start = -1;
    for (int i = 0; i <= count; ++i) {
        bool line = false;
        for (int k = 0, run = 0; i < count && k < length && !line; ++k) {
            const QPoint at = vertical ? QPoint(i, k) : QPoint(k, i);
            const bool covered = std::any_of(objects.begin(), objects.end(), [&](const QRect& r) {
                return r.adjusted(-2, -2, 2, 2).contains(at);
            });
            run = Dark(image.pixel(at)) && !covered ? run + 1 : 0;
            line = run >= kLineRun;
        }
        if (line && start < 0)
            start = i;
        if (!line && start >= 0) {
            centres.append((start + i - 1) / 2.0);
            start = -1;
        }
    }
    return centres;
}

/** The box around the dark pixels inside a rectangle; empty when there are none. */
QRect InkBox(const QImage& image, const QRect& area)
{
    QRect box;
    const QRect r = area & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (Dark(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

/** The centre of the ink inside a rectangle, each pixel weighed by how dark it is. */
QPointF InkCentre(const QImage& image, const QRect& area)
{
    double sum = 0, x = 0, y = 0;
    const QRect r = area & image.rect();
    for (int py = r.top(); py <= r.bottom(); ++py)
        for (int px = r.left(); px <= r.right(); ++px) {
            const int ink = InkOf(image.pixel(px, py));
            sum += ink;
            x += ink * px;
            y += ink * py;
        }
    return sum > 0 ? QPointF(x / sum, y / sum) : QPointF();
}

/** How much darker than white the whole page is. */
double Ink(const QImage& image)
{
    double ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += InkOf(image.pixel(x, y));
    return ink;
}

/** What is measured on one picture of the page. */
struct Measures
{
    QList<QList<double>> lines; // the vertical lines, then the horizontal ones
    QList<QRect> boxes;         // ink boxes of the title, the filled cells, the minis and the objects
    QList<QPointF> centres;     // the centres of their ink
    double ink = 0;
};

QString Describe(const QRect& r)
{
    return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

/**
 * Every line, box and ink centre of a within tolerance of b's; an empty message when they agree. The screen
 * hints glyphs to whole pixels where paper draws their exact outlines, so the edges of a text may stand a
 * pixel further than its centre.
 */
QString Compare(const Measures& a, const Measures& b, double tolerance)
{
    const double edges = tolerance + 1;
    for (int i = 0; i < a.lines.size(); ++i) {
        if (a.lines[i].size() != b.lines[i].size()) {
            return QStringLiteral("%1 lines: %2 against %3")
                .arg(i == 0 ? u"vertical"_s : u"horizontal"_s)
                .arg(a.lines[i].size())
                .arg(b.lines[i].size());
        }
        for (int k = 0; k < a.lines[i].size(); ++k)
            if (std::abs(a.lines[i][k] - b.lines[i][k]) > tolerance)
                return QStringLiteral("%1 line %2: at %3 against %4")
                    .arg(i == 0 ? u"vertical"_s : u"horizontal"_s)
                    .arg(k)
                    .arg(a.lines[i][k])
                    .arg(b.lines[i][k]);
    }
    for (int i = 0; i < a.boxes.size(); ++i) {
        const QRect &p = a.boxes[i], &q = b.boxes[i];
        const bool near = std::abs(p.left() - q.left()) <= edges && std::abs(p.top() - q.top()) <= edges &&
                          std::abs(p.right() - q.right()) <= edges &&
                          std::abs(p.bottom() - q.bottom()) <= edges;
        if (!near || p.isEmpty() != q.isEmpty())
            return QStringLiteral("box %1: %2 against %3").arg(i).arg(Describe(p), Describe(q));
        const QPointF d = a.centres[i] - b.centres[i];
        if (std::abs(d.x()) > tolerance || std::abs(d.y()) > tolerance)
            return QStringLiteral("box %1: ink centre (%2,%3) against (%4,%5)")
                .arg(i)
                .arg(a.centres[i].x())
                .arg(a.centres[i].y())
                .arg(b.centres[i].x())
                .arg(b.centres[i].y());
    }
    return QString();
}

/** The largest distance between a's lines and b's, and between their ink centres, in pixels. */
std::pair<double, double> Farthest(const Measures& a, const Measures& b)
{
    double lines = 0, centres = 0;
    for (int i = 0; i < a.lines.size(); ++i)
        for (int k = 0; k < std::min(a.lines[i].size(), b.lines[i].size()); ++k)
            lines = std::max(lines, std::abs(a.lines[i][k] - b.lines[i][k]));
    for (int i = 0; i < std::min(a.centres.size(), b.centres.size()); ++i) {
        const QPointF d = a.centres[i] - b.centres[i];
        centres = std::max({centres, std::abs(d.x()), std::abs(d.y())});
    }
    return {lines, centres};
}

} // namespace

class TestPaperScreen : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.path() + u'/' + name; }

    static void putText(calendar::TCalendarPanel32& page, int cell, const QString& text)
    {
        page.CellStorage(cell).SetRtfText(print::AppendParagraph({}, text, {}));
    }

    /** One of every kind of placed object, with the effects that printed unlike the screen. */
    static QList<QRect> placeObjects(calendar::TCalendarPanel32& page)
    {
        auto* label = new design::TZubLabel(&page);
        label->setGeometry(40, 300, 260, 60);
        label->SetCaption(u"Summer fete"_s);
        label->SetDepthShadow(4);
        label->SetDirectionShadow(design::sdDownRight);

        auto* rich = new design::TZubRichBaseLabel(&page);
        rich->AfterLoad();
        page.AddObject(rich, {40, 400, 300, 520});
        rich->RTFText().SetRtfText(
            "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Cheese scones and a long line "
            "that breaks where the window breaks it\\par}");
        rich->SetBorderStyle(design::bsSingle);

        auto* super = new supertext::TQelSuperText(&page);
        super->AfterLoad();
        super->setGeometry(340, 300, 420, 110);
        super->SetCaption(u"Greetings"_s);
        super->SetSurfaceType(supertext::stGradientFill);
        super->SetGradientFromColor(platform::clBlue);
        super->SetGradientToColor(platform::clYellow);
        super->SetOutlineWidth(3);
        super->SetShadowDepth(5);

        auto* hollow = new supertext::TQelSuperText(&page);
        hollow->AfterLoad();
        hollow->setGeometry(340, 430, 300, 90);
        hollow->SetCaption(u"jolly"_s);
        hollow->SetSurfaceType(supertext::stBrushTransparent);
        hollow->SetOutlineWidth(3);

        QString error;
        auto* clipArt = new design::TQelImage;
        clipArt->AfterLoad();
        page.AddObject(clipArt, {800, 300, 960, 420});
        clipArt->SetPicture(
            platform::LoadPictureFile(QStringLiteral(DATORIA_TEST_DATA "/images/drawing.wmf"), error));
        auto* mini = new calendar::TQelFlatCalendar;
        mini->AfterLoad();
        page.AddObject(mini, {660, 560, 860, 720});
        mini->SetMonth(3);
        mini->SetYear(2027);
        mini->SetShadowDepth(6);

        auto* photo = new design::TQelImage;
        photo->AfterLoad();
        page.AddObject(photo, {800, 440, 960, 540});
        photo->SetPicture(
            platform::LoadPictureFile(QStringLiteral(DATORIA_TEST_DATA "/images/photo.jpg"), error));
        photo->SetBorderStyle(design::bsSingle);

        QList<QRect> places;
        for (design::TQelGraphicControl* o : page.PlacedObjects())
            places.append(o->geometry());
        return places;
    }

    /** The lines across the page, and the ink of the title, the filled cells, the minis and the objects. */
    static Measures measure(const QImage& image, const calendar::TCalendarPanel32& page,
                            const QList<int>& cells, const QList<QRect>& objects)
    {
        Measures m;
        m.lines = {LineCentres(image, true, objects), LineCentres(image, false, objects)};
        auto add = [&](const QRect& area) {
            m.boxes.append(InkBox(image, area));
            m.centres.append(InkCentre(image, area));
        };
        const platform::TRect title = page.TitleRect();
        if (!title.isZero())
            add(QRect(title.left, title.top, title.width(), title.height()));
        for (const int cell : cells) {
            const platform::TRect& free = page.Cell(cell).rFree;
            add(QRect(free.left, free.top, free.width(), free.height()));
        }
        for (int i = 1; i <= page.MiniCount(); ++i) {
            const platform::TRect& r = page.MiniSlots(i).rect;
            add(QRect(r.left, r.top, r.width() + 1, r.height() + 1));
        }
        for (const QRect& object : objects)
            add(object.adjusted(-2, -2, 2, 2));
        m.ink = Ink(image);
        return m;
    }

private Q_SLOTS:
    void initTestCase()
    {
        testsupport::PinEnvironment();
        QVERIFY(m_dir.isValid());
        if (!PdfTools::Available())
            QSKIP("pdftoppm, pdftotext and pdfinfo (poppler-utils) are not installed");
    }

    void printedPageIsTheScreensPage_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<bool>("objects");
        QTest::newRow("month grid") << int(calendar::LOFullCalendarLS) << false;
        QTest::newRow("grid with minis") << int(calendar::loFCMinisInTitle) << false;
        QTest::newRow("12 after") << int(calendar::loFC12AfterLS) << false;
        QTest::newRow("6 minis") << int(calendar::lopMC6Month) << false;
        QTest::newRow("60 minis") << int(calendar::loMC60MonthLS) << false;
        QTest::newRow("week planner") << int(calendar::loWeek) << false;
        QTest::newRow("day planner") << int(calendar::loDay15) << false;
        QTest::newRow("every placed object") << int(calendar::LOFullCalendarLS) << true;
    }

    // Grid lines, the text of each cell and each object stand within half a millimetre of the screen's at
    // every printer resolution, and within a 96-dpi pixel of one another; the ink is the screen's within a
    // tenth; the texts print in the same order at every resolution.
    void printedPageIsTheScreensPage()
    {
        QFETCH(int, layout);
        QFETCH(bool, objects);
        QWidget window;
        auto* renderer = new richtext::TVelRichRenderer(&window);
        renderer->setObjectName(u"MasterVelRichText"_s);
        auto* page = new calendar::TCalendarPanel32(&window);
        page->ResetToNew();
        page->SetCalendarLayout(calendar::TCalendarLayout(layout));
        page->SetMainCalMonth(12);
        page->SetMainCalYear(2026);
        page->SetMainCalDay(7);
        page->Relayout(true);
        QList<int> cells = layout >= calendar::loWeek ? QList<int>{1, 3} : QList<int>{10, 17, 30};
        if (!page->ShowMainCalendar() && layout < calendar::loWeek)
            cells.clear();
        for (const int cell : cells)
            putText(*page, cell,
                    u"Dentist at 9:30: bring the forms, the new card and the letter from the school"_s);
        const QList<QRect> places = objects ? placeObjects(*page) : QList<QRect>{};
        const QString file = path(QStringLiteral("page%1%2.KVF").arg(layout).arg(objects));
        persist::SaveCalendarFile(*page, file);

        const QString png = file + u".png"_s;
        QCOMPARE(Run({u"render"_s, u"--file"_s, file, u"--objects"_s, u"--zoom"_s, u"1"_s, u"-o"_s, png}), 0);
        const QImage screen = QImage(png).convertToFormat(QImage::Format_RGB32);
        page->RenderToBitmap();
        const Measures onScreen = measure(screen, *page, cells, places);

        QList<Measures> printed;
        QStringList texts;
        for (const int dpi : kResolutions) {
            const QString pdf = file + QStringLiteral("-%1.pdf").arg(dpi);
            QCOMPARE(
                Run({u"pdf"_s, u"--file"_s, file, u"--resolution"_s, QString::number(dpi), u"-o"_s, pdf}), 0);
            const QImage paper = PdfTools::Render(pdf).convertToFormat(QImage::Format_RGB32);
            QCOMPARE(paper.size(), screen.size());
            printed.append(measure(paper, *page, cells, places));
            // Where the screen keeps the text off the grid line left of it, so does the paper.
            const qsizetype firstCell = page->TitleRect().isZero() ? 0 : 1;
            for (int i = 0; i < cells.size(); ++i) {
                const int line = page->Cell(cells[i]).rTotal.left - 1;
                if (onScreen.boxes[firstCell + i].left() - line >= 1)
                    QVERIFY2(printed.last().boxes[firstCell + i].left() - line >= 1,
                             qPrintable(QStringLiteral("%1 dpi: cell %2 text at %3, its line at %4")
                                            .arg(dpi)
                                            .arg(cells[i])
                                            .arg(printed.last().boxes[firstCell + i].left())
                                            .arg(line)));
            }
            const QString against = Compare(printed.last(), onScreen, kHalfMillimetre);
            QVERIFY2(against.isEmpty(),
                     qPrintable(QStringLiteral("%1 dpi against the screen: %2").arg(dpi).arg(against)));
            const double inkRatio = printed.last().ink / onScreen.ink;
            QVERIFY2(inkRatio > 0.9 && inkRatio < 1.1,
                     qPrintable(QStringLiteral("%1 dpi: ink %2 of the screen's").arg(dpi).arg(inkRatio)));
            texts.append(PdfTools::Text(pdf).simplified());
            const auto [lines, centres] = Farthest(printed.last(), onScreen);
            qInfo("%d dpi: lines within %.2f px, ink centres within %.2f px, ink %.3f of the screen's", dpi,
                  lines, centres, inkRatio);
        }
        for (int i = 1; i < printed.size(); ++i) {
            const QString against = Compare(printed[i], printed[0], 1.0);
            QVERIFY2(against.isEmpty(), qPrintable(QStringLiteral("%1 dpi against %2 dpi: %3")
                                                       .arg(kResolutions[i])
                                                       .arg(kResolutions[0])
                                                       .arg(against)));
            QCOMPARE(texts[i], texts[0]);
        }
        if (!cells.isEmpty())
            QVERIFY2(texts[0].contains(u"Dentist at 9:30"_s), qPrintable(texts[0]));
    }
};

QTEST_MAIN(TestPaperScreen)
#include "tst_paperscreen.moc"
