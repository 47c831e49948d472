// Rich-text labels and floating calendars in calendar files: byte-exact round trips, the independent reader,
// damaged documents, and printing at the place they stand.
#include "calendar/TCalendarPanel32.h"
#include "calendar/TQelFlatCalendar.h"
#include "design/TQelBaseLabel.h"
#include "design/TZubRichBaseLabel.h"
#include "persist/formats/CalendarFile.h"
#include "persist/stream/StreamDump.h"
#include "platform/TFont.h"
#include "richtext/RtfReader.h"
#include "richtext/TVelRichRenderer.h"
#include "tests/support/ImageProbe.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/Tpf0Tools.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using calendar::TCalendarPanel32;
using calendar::TQelFlatCalendar;
using design::TZubRichBaseLabel;

namespace {

const QString kReference = QStringLiteral(DATORIA_TEST_DATA "/persist/richobjects.kvf");

// A bold run, a red run and a centred paragraph.
const QByteArray kRich =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
    "{\\colortbl ;\\red255\\green0\\blue0;}\\f0\\fs24 Plain \\b bold\\b0  \\cf1 red\\cf0\\par"
    "\\qc Rich centred\\par}";

/** A window as the main window is for placed objects: a page on it and the shared renderer. */
struct Document
{
    QWidget window;
    TCalendarPanel32* page;

    explicit Document(bool withRenderer = true)
    {
        page = new TCalendarPanel32(&window);
        if (withRenderer) {
            auto* renderer = new richtext::TVelRichRenderer(&window);
            renderer->setObjectName(QStringLiteral("MasterVelRichText"));
        }
    }

    QByteArray Save() const
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        persist::WriteCalendar(&buffer, *page);
        return buffer.data();
    }

    /** Reads the bytes onto the page; where the placed objects were damaged. */
    std::optional<persist::CalendarDamage> Open(const QByteArray& bytes)
    {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        const auto damage = persist::ReadCalendar(&buffer, *page, &window);
        page->HookObjectEvents();
        return damage;
    }

    template <typename T> QList<T*> Objects() const
    {
        QList<T*> found;
        for (design::TQelGraphicControl* o : page->PlacedObjects())
            if (auto* t = qobject_cast<T*>(o))
                found.append(t);
        return found;
    }
};

/** December 1997 with a text label, a rich-text label and a floating calendar on it. */
void MakePage(Document& d)
{
    d.page->ResetToNew();
    d.page->SetMainCalDay(1);
    d.page->SetMainCalMonth(12);
    d.page->SetMainCalYear(1997);
    auto* text = new design::TZubLabel;
    text->AfterLoad();
    d.page->AddObject(text, {30, 40, 200, 80});
    text->SetCaption(QStringLiteral("Family"));

    auto* rich = new TZubRichBaseLabel(d.page);
    rich->AfterLoad();
    d.page->AddObject(rich, {250, 60, 450, 140});
    rich->RTFText().SetRtfText(kRich);
    rich->SetTransparent(false);
    rich->SetBGColor(platform::clYellow);

    auto* mini = new TQelFlatCalendar;
    mini->AfterLoad();
    d.page->AddObject(mini, {500, 40, 700, 200});
    mini->SetMonth(2);
    mini->SetYear(2025);
    mini->SetStartOfWeek(2);
    mini->SetLanguage(calendar::fclGerman);
    mini->SetShowYear(true);
    mini->SetDayNameStyle(calendar::fdsThreeChars);
    mini->SetShadowDepth(4);
    mini->SetShadowPosition(calendar::fcpUpperLeft);
    mini->SetShadowColor(platform::clGray);
    mini->SetTitleBGColor(0x123456);
    mini->TitleFont()->SetName(QStringLiteral("Times New Roman"));
    mini->TitleFont()->SetStyle(platform::fsBold);
    mini->CellFont()->SetSize(9);
}

QString Dump(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return persist::DumpStream(&buffer);
}

} // namespace

class TestPlacedObjectFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(QDate(1997, 12, 1)); }

    // Opened and saved again, a file gives the same bytes, which are those of the stored reference. (The
    // first open renames the objects "Component" and a number, so the file made from the new page is opened
    // once.)
    void openSaveIsByteExact()
    {
        Document first;
        MakePage(first);
        Document second;
        QVERIFY(!second.Open(first.Save()));
        const QByteArray saved = second.Save();

        if (qEnvironmentVariableIntValue("DATORIA_REGENERATE") == 1) {
            QFile out(kReference);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(saved);
        }
        QFile stored(kReference);
        QVERIFY(stored.open(QIODevice::ReadOnly));
        const QByteArray expected = stored.readAll();
        if (saved != expected) {
            QCOMPARE(Dump(saved), Dump(expected));
            QFAIL("the bytes differ");
        }

        Document third;
        QVERIFY(!third.Open(saved));
        QCOMPARE(third.page->PlacedObjects().size(), 3);
        const QByteArray again = third.Save();
        if (again != saved)
            QCOMPARE(Dump(again), Dump(saved));
        QCOMPARE(again, saved);
        // The stacking stays: the calendar, placed last, is still on top.
        QVERIFY(qobject_cast<TQelFlatCalendar*>(third.page->PlacedObjects().last()));

        TQelFlatCalendar* mini = third.Objects<TQelFlatCalendar>().value(0);
        QVERIFY(mini);
        QCOMPARE(mini->geometry(), QRect(500, 40, 200, 160));
        QCOMPARE(mini->Language(), calendar::fclGerman);
        QCOMPARE(mini->ShadowPosition(), calendar::fcpUpperLeft);
        QCOMPARE(mini->TitleBGColor(), platform::TColor(0x123456));
        QCOMPARE(mini->TitleFont()->Name(), QStringLiteral("Times New Roman"));
        QCOMPARE(mini->CellFont()->Size(), 9);
        QVERIFY(mini->Menu());

        // The document's text and formats: the bold run, the red run, the centred paragraph.
        TZubRichBaseLabel* rich = third.Objects<TZubRichBaseLabel>().value(0);
        QVERIFY(rich);
        QCOMPARE(rich->RTFText().RtfText(), kRich);
        QVERIFY(rich->Renderer());
        QVERIFY(!rich->Transparent());
        QCOMPARE(rich->BGColor(), platform::clYellow);
        QTextDocument document;
        richtext::ReadRtf(rich->RTFText().RtfText(), document);
        QCOMPARE(document.toPlainText(), QStringLiteral("Plain bold red\nRich centred"));
        QTextCursor cursor(&document);
        cursor.setPosition(8);
        QVERIFY(cursor.charFormat().fontWeight() >= QFont::Bold);
        cursor.setPosition(14);
        QCOMPARE(cursor.charFormat().foreground().color(), QColor(255, 0, 0));
        QVERIFY(cursor.charFormat().fontWeight() < QFont::Bold);
        QCOMPARE(document.lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(document.firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    }

    void independentReaderAcceptsThem()
    {
        const QString tools = testsupport::Tpf0Tools();
        if (tools.isEmpty())
            QSKIP("fpc or the tpf0 tools are not available");
        QTemporaryDir dir;
        Document d;
        MakePage(d);
        const QString path = dir.filePath(QStringLiteral("objects.KVF"));
        persist::SaveCalendarFile(*d.page, path);
        QProcess check;
        check.start(tools + QStringLiteral("/tpf0check"), {QStringLiteral("--strict"), path});
        QVERIFY(check.waitForFinished(30000));
        QVERIFY2(check.exitCode() == 0, check.readAllStandardError().constData());
        QProcess dump;
        dump.start(tools + QStringLiteral("/tpf0dump"), {QStringLiteral("--text"), path});
        QVERIFY(dump.waitForFinished(30000));
        const QString text = QString::fromUtf8(dump.readAllStandardOutput());
        for (const char* expected : {"TZubRichBaseLabel", "RTFText.Data", "TQelFlatCalendar",
                                     "CalTransparent", "fclGerman", "fcpUpperLeft"})
            QVERIFY2(text.contains(QLatin1String(expected)), expected);
    }

    // A damaged document is read as well as it can be and costs nothing else of the file; odd months and
    // years of a floating calendar are kept as stored.
    void damagedDocumentsAndOddDates_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::newRow("unclosed group")
            << QByteArray("{\\rtf1\\ansi Hello {\\b world") << QStringLiteral("Hello world");
        QTest::newRow("bad hex and stray brace")
            << QByteArray("{\\rtf1 caf\\'zz\\'e9}} tail}") << QStringLiteral("caf\u00E9");
        // Bytes that are not RTF hold no text the reader can take; the label stays, empty.
        QTest::newRow("not RTF at all") << QByteArray("plain words, no rtf") << QString();
    }
    void damagedDocumentsAndOddDates()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        Document d;
        auto* rich = new TZubRichBaseLabel(d.page);
        rich->AfterLoad();
        d.page->AddObject(rich, {20, 20, 220, 120});
        rich->RTFText().SetRtfText(rtf);
        rich->SetTransparent(false);
        auto* mini = new TQelFlatCalendar;
        mini->AfterLoad();
        d.page->AddObject(mini, {300, 20, 500, 180});
        mini->SetMonth(13);
        mini->SetYear(0);
        auto* other = new TQelFlatCalendar;
        other->AfterLoad();
        d.page->AddObject(other, {300, 200, 500, 360});
        other->SetMonth(0);
        other->SetYear(10000);
        const QByteArray saved = d.Save();

        Document back;
        QVERIFY(!back.Open(saved));
        QCOMPARE(back.page->PlacedObjects().size(), 3);
        TZubRichBaseLabel* label = back.Objects<TZubRichBaseLabel>().value(0);
        QVERIFY(label);
        QCOMPARE(label->RTFText().RtfText(), rtf);
        QTextDocument document;
        richtext::ReadRtf(label->RTFText().RtfText(), document);
        QVERIFY2(document.toPlainText().startsWith(text), qPrintable(document.toPlainText()));
        QCOMPARE(testsupport::CountInk(label->grab().toImage(), {1, 1, 199, 99}) > 0, !text.isEmpty());
        const QList<TQelFlatCalendar*> minis = back.Objects<TQelFlatCalendar>();
        QCOMPARE(minis.size(), 2);
        QCOMPARE(QSet<int>({minis[0]->Month(), minis[1]->Month()}), QSet<int>({13, 0}));
        QCOMPARE(QSet<int>({minis[0]->Year(), minis[1]->Year()}), QSet<int>({0, 10000}));
        for (TQelFlatCalendar* m : minis)
            QVERIFY(testsupport::CountInk(m->grab().toImage(), {0, 0, 200, 160}) > 200);
        Document again;
        QVERIFY(!again.Open(back.Save()));
        QCOMPARE(again.Save(), back.Save());
    }

    // Read where there is no shared renderer, a rich-text label ends the object list and is not kept; the
    // file is reported as damaged there.
    void labelWithoutRendererIsNotKept()
    {
        Document d;
        MakePage(d);
        const QByteArray saved = d.Save();
        Document bare(false);
        const auto damage = bare.Open(saved);
        QVERIFY(damage);
        QCOMPARE(damage->objectsLost, 2); // the label and the text label written after it
        QVERIFY(!damage->endedEarly);
        QVERIFY(bare.Objects<TZubRichBaseLabel>().isEmpty());
        // Written last child first: the calendar came before the label and stays.
        QCOMPARE(bare.Objects<TQelFlatCalendar>().size(), 1);
        QCOMPARE(bare.page->PlacedObjects().size(), 1);
    }

    // Printed to PDF the two objects stay text and vectors, each at the place it has on the page.
    void printedAsVectorsWhereTheyStand()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        Document d;
        MakePage(d);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
        {
            QPdfWriter writer(pdf);
            writer.setPageSize(QPageSize(QPageSize::Letter));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            writer.setResolution(600);
            QPainter painter(&writer);
            for (design::TQelGraphicControl* o : d.page->PlacedObjects())
                o->PrintTo(painter, 0.25, 0.5);
        }
        QProcess process;
        process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        QVERIFY(process.waitForFinished(30000));
        const QString html = QString::fromUtf8(process.readAllStandardOutput());
        // Words with their boxes in points: 72 per inch, a page pixel being 1/96 inch.
        const QRegularExpression word(QStringLiteral(
            R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
        QHash<QString, QRectF> boxes;
        for (const QRegularExpressionMatch& m : word.globalMatch(html))
            boxes.insert(m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                               QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())));
        const auto inPoints = [](double originInches, int pixels) {
            return (originInches + pixels / 96.0) * 72;
        };
        // The rich label spans 250..450 x 60..140 page pixels; "Plain" starts its first line.
        QVERIFY2(boxes.contains(QStringLiteral("Plain")), qPrintable(html));
        const QRectF plain = boxes.value(QStringLiteral("Plain"));
        QCOMPARE(boxes.value(QStringLiteral("bold")).top(), plain.top());
        QVERIFY(std::abs(plain.left() - inPoints(0.25, 250)) < 3);
        QVERIFY(plain.top() >= inPoints(0.5, 60) - 1 && plain.bottom() < inPoints(0.5, 90));
        // "centred" is centred in the label's width.
        const QRectF rich = boxes.value(QStringLiteral("Rich"));
        const QRectF centred = boxes.value(QStringLiteral("centred"));
        QVERIFY(std::abs((rich.left() + centred.right()) / 2 - inPoints(0.25, 350)) < 3);
        QVERIFY(rich.top() > plain.bottom());
        // The calendar's German title lies in its upper band, clear of its shadow side.
        QVERIFY2(boxes.contains(QStringLiteral("Februar")), qPrintable(html));
        const QRectF title = boxes.value(QStringLiteral("Februar"));
        QVERIFY(title.left() > inPoints(0.25, 504) && title.right() < inPoints(0.25, 700));
        QVERIFY(title.top() > inPoints(0.5, 40) && title.bottom() < inPoints(0.5, 80));
        QVERIFY(boxes.contains(QStringLiteral("Mon")) || boxes.contains(QStringLiteral("Mit")));
    }
};

QTEST_MAIN(TestPlacedObjectFiles)
#include "tst_placedobjectfiles.moc"
