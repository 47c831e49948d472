#include "persist/stream/Extended80.h"
#include "persist/stream/StreamError.h"
#include "persist/stream/TReader.h"
#include "persist/stream/TWriter.h"
#include "platform/Windows1252.h"
#include "tests/support/Bytes.h"
#include "tests/support/FailDevice.h"

#include <QBuffer>
#include <QTest>

#include <cmath>
#include <functional>
#include <limits>

using namespace persist;
using testsupport::Hex;
using testsupport::HexOf;

namespace {

QByteArray Written(const std::function<void(TWriter&)>& write)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        TWriter w(&buffer);
        write(w);
        w.Flush();
    }
    return buffer.data();
}

/** Runs read on the bytes; returns the error message, empty when it succeeded. */
QString ReadError(const QByteArray& bytes, const std::function<void(TReader&)>& read)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader r(&buffer);
    try {
        read(r);
    } catch (const StreamError& e) {
        return e.message();
    }
    return QString();
}

template <typename T> T ReadBack(const QByteArray& bytes, const std::function<T(TReader&)>& read)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader r(&buffer);
    return read(r);
}

} // namespace

class TestStreamValues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void integers_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("bytes");
        QTest::newRow("3") << 3 << QStringLiteral("02 03");
        QTest::newRow("127") << 127 << QStringLiteral("02 7F");
        QTest::newRow("128") << 128 << QStringLiteral("03 80 00");
        QTest::newRow("200") << 200 << QStringLiteral("03 C8 00");
        QTest::newRow("-128") << -128 << QStringLiteral("02 80");
        QTest::newRow("-129") << -129 << QStringLiteral("03 7F FF");
        QTest::newRow("32767") << 32767 << QStringLiteral("03 FF 7F");
        QTest::newRow("32768") << 32768 << QStringLiteral("04 00 80 00 00");
        QTest::newRow("-32769") << -32769 << QStringLiteral("04 FF 7F FF FF");
        QTest::newRow("-40000") << -40000 << QStringLiteral("04 C0 63 FF FF");
        QTest::newRow("window text") << int(0x80000008) << QStringLiteral("04 08 00 00 80");
    }
    void integers()
    {
        QFETCH(int, value);
        QFETCH(QString, bytes);
        const QByteArray written = Written([&](TWriter& w) { w.PutInteger(value); });
        QCOMPARE(HexOf(written), bytes);
        QCOMPARE(ReadBack<qint32>(written, [](TReader& r) { return r.TakeInteger(); }), value);
    }

    void texts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("head");
        QTest::newRow("May") << QStringLiteral("May") << Hex("06 03 4D 61 79");
        QTest::newRow("empty") << QString() << Hex("06 00");
        QTest::newRow("255 characters") << QString(255, u'a') << Hex("06 FF 61");
        QTest::newRow("256 characters") << QString(256, u'a') << Hex("0C 00 01 00 00 61");
        QTest::newRow("euro is 0x80") << QStringLiteral("\u20AC") << Hex("06 01 80");
        QTest::newRow("e acute") << QStringLiteral("\u00E9t\u00E9") << Hex("06 03 E9 74 E9");
        // Text Windows-1252 cannot hold is kept whole as UTF-8.
        QTest::newRow("Greek") << QStringLiteral("\u03A9 ok") << Hex("14 05 00 00 00 CE A9 20 6F 6B");
    }
    void texts()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, head);
        const QByteArray written = Written([&](TWriter& w) { w.PutText(text); });
        QVERIFY2(written.startsWith(head), qPrintable(HexOf(written.left(12))));
        QCOMPARE(ReadBack<QString>(written, [](TReader& r) { return r.TakeText(); }), text);
    }

    void readerAcceptsWideStrings()
    {
        QCOMPARE(
            ReadBack<QString>(Hex("12 02 00 00 00 A9 03 21 00"), [](TReader& r) { return r.TakeText(); }),
            QStringLiteral("\u03A9!"));
    }

    void windows1252CoversEveryByte()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = platform::DecodeWindows1252(all);
        QCOMPARE(platform::EncodeWindows1252(text).value(), all);
        QCOMPARE(text.at(0x80), QChar(0x20AC));
        QCOMPARE(text.at(0x9F), QChar(0x0178));
        QVERIFY(!platform::EncodeWindows1252(QStringLiteral("\u4E2D")));
    }

    void reals_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("bytes");
        QTest::newRow("1.5") << 1.5 << QStringLiteral("05 00 00 00 00 00 00 00 C0 FF 3F");
        QTest::newRow("-2") << -2.0 << QStringLiteral("05 00 00 00 00 00 00 00 80 00 C0");
        // A float 0.1 and a double 0.1 differ: the real is written from the property's own precision.
        QTest::newRow("double 0.1") << 0.1 << QStringLiteral("05 00 D0 CC CC CC CC CC CC FB 3F");
        QTest::newRow("float 0.1") << double(0.1f) << QStringLiteral("05 00 00 00 00 00 CD CC CC FB 3F");
        QTest::newRow("zero") << 0.0 << QStringLiteral("05 00 00 00 00 00 00 00 00 00 00");
        QTest::newRow("smallest subnormal") << std::numeric_limits<double>::denorm_min()
                                            << QStringLiteral("05 00 00 00 00 00 00 00 80 CD 3B");
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity()
                                  << QStringLiteral("05 00 00 00 00 00 00 00 80 FF 7F");
    }
    void reals()
    {
        QFETCH(double, value);
        QFETCH(QString, bytes);
        const QByteArray written = Written([&](TWriter& w) { w.PutReal(value); });
        QCOMPARE(HexOf(written), bytes);
        QCOMPARE(ReadBack<double>(written, [](TReader& r) { return r.TakeReal(); }), value);
    }

    void extendedRoundsToNearestDouble()
    {
        // The extended nearest 0.1 (mantissa CCCC...CCCD) reads as the double 0.1.
        QCOMPARE(ReadBack<double>(Hex("05 CD CC CC CC CC CC CC CC FB 3F"),
                                  [](TReader& r) { return r.TakeReal(); }),
                 0.1);
        // An exponent beyond a double's range reads as infinity, a tiny one as zero.
        QVERIFY(std::isinf(DecodeExtended({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x7F})));
        QCOMPARE(DecodeExtended({0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x00}), 0.0);
        QVERIFY(std::isnan(DecodeExtended({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F})));
    }

    void takeRealAcceptsIntegers()
    {
        QCOMPARE(ReadBack<double>(Hex("02 05"), [](TReader& r) { return r.TakeReal(); }), 5.0);
        QCOMPARE(ReadBack<double>(Hex("03 C8 00"), [](TReader& r) { return r.TakeReal(); }), 200.0);
    }

    void identifiers_data()
    {
        QTest::addColumn<QString>("ident");
        QTest::addColumn<QString>("bytes");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("False") << QStringLiteral("false") << QStringLiteral("08") << QStringLiteral("False");
        QTest::newRow("True") << QStringLiteral("TRUE") << QStringLiteral("09") << QStringLiteral("True");
        QTest::newRow("nil") << QStringLiteral("Nil") << QStringLiteral("0D") << QStringLiteral("nil");
        QTest::newRow("clWhite") << QStringLiteral("clWhite") << QStringLiteral("07 07 63 6C 57 68 69 74 65")
                                 << QStringLiteral("clWhite");
    }
    void identifiers()
    {
        QFETCH(QString, ident);
        QFETCH(QString, bytes);
        QFETCH(QString, readBack);
        const QByteArray written = Written([&](TWriter& w) { w.PutIdent(ident); });
        QCOMPARE(HexOf(written), bytes);
        QCOMPARE(ReadBack<QString>(written, [](TReader& r) { return r.TakeIdent(); }), readBack);
    }

    void booleans()
    {
        QCOMPARE(HexOf(Written([](TWriter& w) {
                     w.PutBoolean(true);
                     w.PutBoolean(false);
                 })),
                 QStringLiteral("09 08"));
        // Only the true tag is true; any other tag is taken as false.
        QCOMPARE(ReadBack<bool>(Hex("09"), [](TReader& r) { return r.TakeBoolean(); }), true);
        QCOMPARE(ReadBack<bool>(Hex("02"), [](TReader& r) { return r.TakeBoolean(); }), false);
    }

    void skipItemConsumesWholeValues_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("int8") << Hex("02 05");
        QTest::newRow("int32") << Hex("04 01 02 03 04");
        QTest::newRow("real") << Hex("05 00 00 00 00 00 00 00 C0 FF 3F");
        QTest::newRow("text") << Hex("06 03 4D 61 79");
        QTest::newRow("long text") << Hex("0C 02 00 00 00 41 42");
        QTest::newRow("ident") << Hex("07 02 61 62");
        QTest::newRow("raw") << Hex("0A 03 00 00 00 01 02 03");
        QTest::newRow("set") << Hex("0B 06 66 73 42 6F 6C 64 00");
        QTest::newRow("nested list") << Hex("01 02 01 01 06 01 41 00 09 00");
        QTest::newRow("collection") << Hex("0E 01 04 4E 61 6D 65 06 01 41 00 02 01 01 00 00");
        QTest::newRow("utf8") << Hex("14 02 00 00 00 CE A9");
        QTest::newRow("wide text") << Hex("12 02 00 00 00 A9 03 41 00");
        QTest::newRow("empty set") << Hex("0B 00");
        QTest::newRow("true") << Hex("09");
        QTest::newRow("nil") << Hex("0D");
    }
    void skipItemConsumesWholeValues()
    {
        QFETCH(QByteArray, bytes);
        // The marker after the value must be what comes next.
        const qint32 after =
            ReadBack<qint32>(bytes + Hex("02 2A"), [](TReader& r) { return r.SkipItem(), r.TakeInteger(); });
        QCOMPARE(after, 42);
    }

    void errors_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("message");
        enum
        {
            Integer,
            Text,
            Ident,
            BeginList,
            EndList,
            Root,
            Skip,
            Raw
        };
        QTest::newRow("no data") << QByteArray() << int(Integer) << kStreamReadError;
        QTest::newRow("integer cut short") << Hex("04 01 02") << int(Integer) << kStreamReadError;
        QTest::newRow("text for an integer") << Hex("06 00") << int(Integer) << kInvalidPropertyValue;
        QTest::newRow("integer for a text") << Hex("02 01") << int(Text) << kInvalidPropertyValue;
        QTest::newRow("long text longer than the data")
            << Hex("0C FF FF FF 7F 41") << int(Text) << kStreamReadError;
        QTest::newRow("integer for an identifier") << Hex("02 01") << int(Ident) << kInvalidPropertyValue;
        QTest::newRow("no list") << Hex("02 01") << int(BeginList) << kInvalidPropertyValue;
        QTest::newRow("no end") << Hex("02 01") << int(EndList) << kInvalidPropertyValue;
        QTest::newRow("bad signature") << Hex("54 50 46 31 00") << int(Root) << kInvalidStreamFormat;
        QTest::newRow("short signature") << Hex("54 50") << int(Root) << kStreamReadError;
        QTest::newRow("unknown tag") << Hex("63") << int(Skip) << kInvalidPropertyValue;
        QTest::newRow("unclosed list") << Hex("01 02 01") << int(Skip) << kStreamReadError;
        QTest::newRow("deep nesting") << QByteArray(100000, '\x01') << int(Skip) << kInvalidStreamFormat;
        QTest::newRow("raw data that is not there") << Hex("0A 00 00 00 40") << int(Raw) << kStreamReadError;
        QTest::newRow("text for raw data") << Hex("06 00") << int(Raw) << kInvalidPropertyValue;
    }
    void errors()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, operation);
        QFETCH(QString, message);
        const QString got = ReadError(bytes, [operation](TReader& r) {
            switch (operation) {
            case 0:
                r.TakeInteger();
                break;
            case 1:
                r.TakeText();
                break;
            case 2:
                r.TakeIdent();
                break;
            case 3:
                r.ExpectBeginList();
                break;
            case 4:
                r.ExpectEndList();
                break;
            case 5:
                r.TakeRootRecord();
                break;
            case 6:
                r.SkipItem();
                break;
            case 7:
                r.TakeRawData();
                break;
            }
        });
        QCOMPARE(got, message);
    }

    // A value of the wrong kind where a list should begin is skipped whole before the failure.
    void expectBeginListSkipsTheValue()
    {
        QBuffer buffer;
        buffer.setData(Hex("06 03 4D 61 79 02 07"));
        buffer.open(QIODevice::ReadOnly);
        TReader r(&buffer);
        QVERIFY_THROWS_EXCEPTION(StreamError, r.ExpectBeginList());
        QCOMPARE(r.TakeInteger(), 7);
    }

    void writeFailureIsReported()
    {
        testsupport::FailDevice device(10);
        TWriter w(&device, 4);
        w.PutInteger(1);
        w.PutInteger(2);
        QVERIFY_THROWS_EXCEPTION(StreamError, {
            for (int i = 0; i < 20; ++i)
                w.PutInteger(i);
            w.Flush();
        });
        try {
            w.PutText(QStringLiteral("more than the device takes"));
            w.Flush();
            QFAIL("the write should fail");
        } catch (const StreamError& e) {
            QCOMPARE(e.message(), kStreamWriteError);
        }
    }

    void bufferSizeDoesNotChangeTheBytes()
    {
        auto write = [](TWriter& w) {
            w.BeginList();
            for (int i = 0; i < 300; ++i)
                w.PutText(QString(i, u'x'));
            w.EndList();
        };
        QByteArray small, large;
        for (auto [size, out] : {std::pair{1, &small}, std::pair{1000, &large}}) {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            TWriter w(&buffer, size);
            write(w);
            w.Flush();
            *out = buffer.data();
        }
        QCOMPARE(small, large);
    }
};

QTEST_GUILESS_MAIN(TestStreamValues)
#include "tst_streamvalues.moc"
