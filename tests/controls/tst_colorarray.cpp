#include "controls/TColorArrayClass.h"
#include "persist/stream/ColorArrayClass.h"
#include "persist/stream/StreamError.h"
#include "persist/stream/TReader.h"
#include "persist/stream/TWriter.h"
#include "tests/support/Bytes.h"

#include <QBuffer>
#include <QTest>

using controls::EColorArrayIndexError;
using controls::TColorArrayClass;
using persist::ClassInfo;
using persist::ObjRef;
using testsupport::Hex;
using testsupport::HexOf;

namespace {

// An owner with a colour grid as a sub-object, as a colour button keeps its palette.
struct Owner
{
    TColorArrayClass grid{4, 5};
};

const ClassInfo& OwnerClass()
{
    static const ClassInfo c = [] {
        ClassInfo info;
        info.name = QStringLiteral("TOwner");
        persist::PropertyInfo grid;
        grid.name = QStringLiteral("Palette");
        grid.kind = persist::PropKind::Object;
        grid.getObject = [](void* o) { return persist::ColorArrayRef(&static_cast<Owner*>(o)->grid); };
        info.properties.append(grid);
        return info;
    }();
    return c;
}

QByteArray Write(Owner& owner)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    persist::TWriter writer(&buffer);
    writer.PutRootRecord(ObjRef{&owner, &OwnerClass()});
    writer.Flush();
    return buffer.data();
}

void Read(const QByteArray& bytes, Owner& owner)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    persist::TReader reader(&buffer);
    reader.TakeRootRecord(ObjRef{&owner, &OwnerClass()});
}

/** The record of an owner whose palette has the given sizes and colours list. */
QByteArray Record(const QByteArray& sizes, const char* colors)
{
    return Hex("54 50 46 30 06") + QByteArray("TOwner") + Hex("00") + sizes + Hex("0E") +
           QByteArray("Palette.Colors") + Hex(colors) + Hex("00 00");
}

} // namespace

class TestColorArray : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cellsInRowOrder()
    {
        TColorArrayClass grid(3, 2);
        QCOMPARE(grid.Count(), 6);
        int v = 0;
        for (int y = 1; y <= 2; ++y)
            for (int x = 1; x <= 3; ++x)
                grid.SetCell(x, y, ++v);
        // Cell (x, y) is block position x + (y - 1) * XSize.
        for (int n = 1; n <= 6; ++n)
            QCOMPARE(grid.At(n), n);
        QCOMPARE(grid.Cell(3, 1), 3);
        QCOMPARE(grid.Cell(1, 2), 4);
        // The stream lists them column by column.
        QCOMPARE(grid.ColumnOrder(), (QList<platform::TColor>{1, 4, 2, 5, 3, 6}));
    }

    void indexErrors_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("column 0") << 0 << 1;
        QTest::newRow("row 0") << 1 << 0;
        QTest::newRow("column past") << 5 << 1;
        QTest::newRow("row past") << 1 << 6;
        QTest::newRow("negative") << -1 << -1;
    }
    void indexErrors()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        TColorArrayClass grid(4, 5);
        try {
            grid.Cell(x, y);
            QFAIL("reading outside the grid should fail");
        } catch (const EColorArrayIndexError& e) {
            QCOMPARE(QLatin1String(e.what()), QLatin1String("Array index out of bounds"));
        }
        QVERIFY_THROWS_EXCEPTION(EColorArrayIndexError, grid.SetCell(x, y, 0));
    }

    void blockIndexErrors()
    {
        TColorArrayClass grid(4, 5);
        QVERIFY_THROWS_EXCEPTION(EColorArrayIndexError, grid.At(0));
        QVERIFY_THROWS_EXCEPTION(EColorArrayIndexError, grid.At(21));
        grid.At(20);
    }

    void resizingReplacesTheBlock()
    {
        TColorArrayClass grid(2, 2);
        grid.SetCell(2, 2, 0x123456);
        grid.SetXSize(3);
        QCOMPARE(grid.Count(), 6);
        QCOMPARE(grid.Cell(2, 2), platform::clBlack);
        grid.SetCell(3, 2, 7);
        grid.SetYSize(2); // the same size keeps the cells
        QCOMPARE(grid.Cell(3, 2), 7);
        grid.SetYSize(-4);
        QCOMPARE(grid.Count(), 0);
        QVERIFY_THROWS_EXCEPTION(std::length_error, grid.SetYSize(100000));
        QCOMPARE(grid.YSize(), 0); // a refused size leaves the grid as it was
        grid.SetYSize(1);
        grid.SetXSize(TColorArrayClass::kMaxCells); // the largest grid there is
        QCOMPARE(grid.Count(), TColorArrayClass::kMaxCells);
        QVERIFY_THROWS_EXCEPTION(std::length_error, grid.SetYSize(2));
    }

    void assignAndEquality()
    {
        TColorArrayClass a = TColorArrayClass::DefaultPalette();
        TColorArrayClass b(8, 2);
        QVERIFY(!(a == b));
        b.Assign(a);
        QCOMPARE(b.XSize(), 4);
        QCOMPARE(b.YSize(), 5);
        QVERIFY(a == b);
        QVERIFY(a.Equals(&b));
        QVERIFY(a.Equals(&a));
        QVERIFY(!a.Equals(nullptr));
        b.SetCell(4, 5, 1);
        QVERIFY(!(a == b));
        // The same cells in another shape are another grid.
        TColorArrayClass wide(20, 1), tall(1, 20);
        QVERIFY(!(wide == tall));
    }

    void defaultPalette()
    {
        const TColorArrayClass palette = TColorArrayClass::DefaultPalette();
        QCOMPARE(palette.XSize(), 4);
        QCOMPARE(palette.YSize(), 5);
        // Listed column by column: the first column is white, red, green, blue and a pale green.
        QCOMPARE(palette.Cell(1, 1), 0xFFFFFF);
        QCOMPARE(palette.Cell(1, 2), 0x0000FF);
        QCOMPARE(palette.Cell(1, 5), 0xBFD7BF);
        QCOMPARE(palette.Cell(2, 1), 0x000000);
        QCOMPARE(palette.Cell(3, 2), 0x00FFFF);
        QCOMPARE(palette.Cell(4, 5), 0x9F9F9F);
        const TColorArrayClass custom = TColorArrayClass::DefaultCustomColors();
        QCOMPARE(custom.XSize(), 8);
        QCOMPARE(custom.YSize(), 2);
        QCOMPARE(custom.ColumnOrder(), QList<platform::TColor>(16, 0xFFFFFF));
    }

    void streamForm()
    {
        Owner owner;
        owner.grid.SetXSize(2);
        owner.grid.SetYSize(2);
        owner.grid.SetCell(1, 1, 1);
        owner.grid.SetCell(2, 1, 2);
        owner.grid.SetCell(1, 2, 200);
        owner.grid.SetCell(2, 2, 0x10000);
        const QByteArray bytes = Write(owner);
        const QByteArray expected = Hex("54 50 46 30 06") + "TOwner" + Hex("00 0D") + "Palette.XSize" +
                                    Hex("02 02 0D") + "Palette.YSize" + Hex("02 02 0E") + "Palette.Colors" +
                                    Hex("01 02 01 03 C8 00 02 02 04 00 00 01 00 00 00 00");
        QCOMPARE(HexOf(bytes), HexOf(expected));
    }

    void roundTrip()
    {
        Owner written;
        written.grid.Assign(TColorArrayClass::DefaultPalette());
        Owner read;
        read.grid.SetXSize(8);
        read.grid.SetYSize(2);
        Read(Write(written), read);
        QVERIFY(read.grid == written.grid);
        // A shape other than the owner's own comes back too.
        written.grid.SetXSize(3);
        written.grid.SetYSize(1);
        written.grid.SetColumnOrder({5, 6, 7});
        Read(Write(written), read);
        QCOMPARE(read.grid.XSize(), 3);
        QCOMPARE(read.grid.ColumnOrder(), (QList<platform::TColor>{5, 6, 7}));
    }

    void brokenStreams_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray sizes2x1 =
            Hex("0D") + "Palette.XSize" + Hex("02 02 0D") + "Palette.YSize" + Hex("02 01");
        QTest::newRow("one colour too many")
            << Record(sizes2x1, "01 02 01 02 02 02 03 00") << QStringLiteral("Array index out of bounds");
        QTest::newRow("a colour that is not a number")
            << Record(sizes2x1, "01 06 01 41 00") << QStringLiteral("Invalid property value");
        QTest::newRow("no list") << Record(sizes2x1, "02 01") << QStringLiteral("Invalid property value");
        const QByteArray huge =
            Hex("0D") + "Palette.XSize" + Hex("04 00 00 01 00 0D") + "Palette.YSize" + Hex("04 00 00 01 00");
        QTest::newRow("a grid larger than any file")
            << Record(huge, "01 00") << QStringLiteral("Invalid property value");
        QTest::newRow("list cut short")
            << Record(sizes2x1, "01 02 01 02 02").chopped(4) << QStringLiteral("Stream read error");
    }
    void brokenStreams()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        Owner owner;
        try {
            Read(bytes, owner);
            QFAIL("reading should fail");
        } catch (const persist::StreamError& e) {
            QCOMPARE(e.message(), message);
        }
    }

    void colorsFillColumnByColumnUntilTheListEnds()
    {
        Owner owner;
        const QByteArray sizes =
            Hex("0D") + "Palette.XSize" + Hex("02 02 0D") + "Palette.YSize" + Hex("02 03");
        // Three colours for a 2 x 3 grid: the first column only.
        Read(Record(sizes, "01 02 0A 02 0B 02 0C 00"), owner);
        QCOMPARE(owner.grid.Cell(1, 1), 10);
        QCOMPARE(owner.grid.Cell(1, 2), 11);
        QCOMPARE(owner.grid.Cell(1, 3), 12);
    }
};

QTEST_APPLESS_MAIN(TestColorArray)
#include "tst_colorarray.moc"
