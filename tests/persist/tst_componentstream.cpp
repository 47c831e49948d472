#include "persist/stream/ClassRegistry.h"
#include "persist/stream/StandardClasses.h"
#include "persist/stream/StreamDump.h"
#include "persist/stream/StreamError.h"
#include "persist/stream/TReader.h"
#include "persist/stream/TWriter.h"
#include "platform/TFont.h"
#include "tests/support/Bytes.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QTest>
#include <QtEndian>

#include <memory>

using namespace persist;
using testsupport::Hex;
using testsupport::HexOf;

namespace {

// A component with one property of every kind, a nested font, raw data and children.
struct Thing
{
    static inline int live = 0;
    Thing() { ++live; }
    ~Thing() { --live; }
    Thing(const Thing&) = delete;
    Thing& operator=(const Thing&) = delete;

    QString name;
    qint32 color = 0xFFFFFF; // default clWhite
    int align = 0;
    bool visible = true;
    qint64 options = 0x3; // default: members 0 and 1
    float scale = 0;
    double ratio = 0;
    QString caption;
    QString onClick;
    qint32 readOnlyValue = 5;
    platform::TFont font;
    QByteArray data;
    QList<qint32> points;
    std::vector<std::unique_ptr<Thing>> kids;
    Thing* parent = nullptr;
};

const EnumNames kAlign{
    {QStringLiteral("taLeftJustify"), QStringLiteral("taRightJustify"), QStringLiteral("taCenter")}};
const EnumNames kOptions{{QStringLiteral("opA"), QStringLiteral("opB"), QStringLiteral("opC")}};
QStringList* g_log = nullptr;

Thing* T(void* o)
{
    return static_cast<Thing*>(o);
}
const Thing* T(const void* o)
{
    return static_cast<const Thing*>(o);
}

ClassInfo MakeThingClass()
{
    ClassInfo c;
    c.name = QStringLiteral("TThing");
    auto add = [&c](PropertyInfo p) { c.properties.append(std::move(p)); };
    PropertyInfo p;

    p = {};
    p.name = QStringLiteral("Color");
    p.kind = PropKind::Integer;
    p.intNames = &ColorNames();
    p.defaultValue = 0xFFFFFF;
    p.getInt = [](const void* o) { return T(o)->color; };
    p.setInt = [](void* o, qint64 v) { T(o)->color = qint32(v); };
    add(p);

    p = {};
    p.name = QStringLiteral("Alignment");
    p.kind = PropKind::Enumeration;
    p.enumNames = &kAlign;
    p.defaultValue = 0;
    p.getInt = [](const void* o) { return T(o)->align; };
    p.setInt = [](void* o, qint64 v) { T(o)->align = int(v); };
    add(p);

    p = {};
    p.name = QStringLiteral("Visible");
    p.kind = PropKind::Enumeration;
    p.enumNames = &BooleanNames();
    p.defaultValue = 1;
    p.getInt = [](const void* o) { return qint64(T(o)->visible); };
    p.setInt = [](void* o, qint64 v) { T(o)->visible = v != 0; };
    add(p);

    p = {};
    p.name = QStringLiteral("Options");
    p.kind = PropKind::Set;
    p.enumNames = &kOptions;
    p.defaultValue = 0x3;
    p.getInt = [](const void* o) { return T(o)->options; };
    p.setInt = [](void* o, qint64 v) { T(o)->options = v; };
    add(p);

    p = {};
    p.name = QStringLiteral("Scale");
    p.kind = PropKind::Real;
    p.realWidth = RealWidth::Single;
    p.getReal = [](const void* o) { return double(T(o)->scale); };
    p.setReal = [](void* o, double v) { T(o)->scale = float(v); };
    add(p);

    p = {};
    p.name = QStringLiteral("Ratio");
    p.kind = PropKind::Real;
    p.getReal = [](const void* o) { return T(o)->ratio; };
    p.setReal = [](void* o, double v) { T(o)->ratio = v; };
    add(p);

    p = {};
    p.name = QStringLiteral("Caption");
    p.kind = PropKind::String;
    p.getString = [](const void* o) { return T(o)->caption; };
    p.setString = [](void* o, const QString& v) { T(o)->caption = v; };
    add(p);

    p = {};
    p.name = QStringLiteral("Font");
    p.kind = PropKind::Object;
    p.getObject = [](void* o) { return FontRef(&T(o)->font); };
    add(p);

    p = {};
    p.name = QStringLiteral("ReadOnly");
    p.kind = PropKind::Integer;
    p.getInt = [](const void* o) { return T(o)->readOnlyValue; };
    p.stored = [](const void*) { return false; };
    add(p);

    p = {};
    p.name = QStringLiteral("OnClick");
    p.kind = PropKind::Event;
    p.getString = [](const void* o) { return T(o)->onClick; };
    p.setString = [](void* o, const QString& v) { T(o)->onClick = v; };
    add(p);

    DefinedProperty d;
    d.name = QStringLiteral("Data");
    d.hasData = [](const void* o) { return !T(o)->data.isEmpty(); };
    d.writeRaw = [](const void* o) { return T(o)->data; };
    d.readRaw = [](void* o, const QByteArray& b) { T(o)->data = b; };
    c.defined.append(d);

    // A defined property of plain values, and one an older version wrote that is now only skipped.
    d = {};
    d.name = QStringLiteral("Points");
    d.hasData = [](const void* o) { return !T(o)->points.isEmpty(); };
    d.write = [](const void* o, TWriter& w) {
        w.BeginList();
        for (const qint32 point : T(o)->points)
            w.PutInteger(point);
        w.EndList();
    };
    d.read = [](void* o, TReader& r) {
        r.ExpectBeginList();
        while (!r.AtListEnd())
            T(o)->points.append(r.TakeInteger());
        r.ExpectEndList();
    };
    c.defined.append(d);
    d = {};
    d.name = QStringLiteral("Legacy");
    d.hasData = [](const void*) { return false; };
    c.defined.append(d);

    c.getName = [](const void* o) { return T(o)->name; };
    c.setName = [](void* o, const QString& n) { T(o)->name = n; };
    c.children = [](const void* o) {
        QList<ObjRef> list;
        for (const auto& k : T(o)->kids)
            list.append(ObjRef{k.get(), ClassRegistry::Instance().Find(QStringLiteral("TThing"))});
        return list;
    };
    c.create = [](QObject*) {
        return ObjRef{new Thing, ClassRegistry::Instance().Find(QStringLiteral("TThing"))};
    };
    c.destroy = [](void* o) {
        Thing* t = T(o);
        if (t->parent) {
            auto& kids = t->parent->kids;
            for (auto it = kids.begin(); it != kids.end(); ++it) {
                if (it->get() == t) {
                    it->release();
                    kids.erase(it);
                    break;
                }
            }
        }
        delete t;
    };
    c.setParent = [](void* o, const ObjRef& parent) {
        Thing* p = T(parent.object);
        T(o)->parent = p;
        p->kids.emplace_back(T(o));
    };
    c.loaded = [](void* o) {
        if (g_log)
            g_log->append(QStringLiteral("loaded ") + T(o)->name);
    };
    return c;
}

const ClassInfo& ThingClass()
{
    static const ClassInfo c = MakeThingClass();
    return c;
}

QByteArray WriteRoot(Thing& thing)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TWriter w(&buffer);
    w.PutRootRecord(ObjRef{&thing, &ThingClass()});
    w.Flush();
    return buffer.data();
}

QString ReadRootError(const QByteArray& bytes, Thing& into)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader r(&buffer);
    try {
        r.TakeRootRecord(ObjRef{&into, &ThingClass()});
    } catch (const StreamError& e) {
        return e.message();
    }
    return QString();
}

QByteArray Short(const char* text)
{
    return char(qstrlen(text)) + QByteArray(text);
}

} // namespace

class TestComponentStream : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ClassRegistry::Instance().Register(ThingClass()); }

    // Properties at their defaults write nothing but the font's always-written height and name.
    void defaultsAreSkipped()
    {
        Thing thing;
        thing.font.SetName(QStringLiteral("Arial"));
        const QByteArray bytes = WriteRoot(thing);
        const QByteArray expected = QByteArray("TPF0") + Short("TThing") + Short("") + Short("Font.Height") +
                                    Hex("02 F5") + Short("Font.Name") + Hex("06 05") + "Arial" + Hex("00 00");
        QCOMPARE(HexOf(bytes), HexOf(expected));
    }

    void everyKindIsWritten()
    {
        Thing thing;
        thing.name = QStringLiteral("Thing1");
        thing.color = 0x123456;
        thing.align = 2;
        thing.visible = false;
        thing.options = 0; // empty, default is not: tSet and a zero byte
        thing.scale = 0.5f;
        thing.caption = QStringLiteral("Hi");
        thing.onClick = QStringLiteral("ThingClick");
        thing.font.SetName(QStringLiteral("Arial"));
        thing.font.SetColor(platform::clRed);
        thing.font.SetStyle(platform::fsBold | platform::fsUnderline);
        thing.font.SetPitch(platform::fpFixed);
        thing.data = "xyz";
        const QByteArray bytes = WriteRoot(thing);
        const QByteArray expected =
            QByteArray("TPF0") + Short("TThing") + Short("Thing1") + Short("Color") + Hex("04 56 34 12 00") +
            Short("Alignment") + Hex("07") + Short("taCenter") + Short("Visible") + Hex("08") +
            Short("Options") + Hex("0B 00") + Short("Scale") + Hex("05 00 00 00 00 00 00 00 80 FE 3F") +
            Short("Caption") + Hex("06 02") + "Hi" + Short("Font.Color") + Hex("07") + Short("clRed") +
            Short("Font.Height") + Hex("02 F5") + Short("Font.Name") + Hex("06 05") + "Arial" +
            Short("Font.Pitch") + Hex("07") + Short("fpFixed") + Short("Font.Style") + Hex("0B") +
            Short("fsBold") + Short("fsUnderline") + Hex("00") + Short("OnClick") + Hex("07") +
            Short("ThingClick") + Short("Data") + Hex("0A 03 00 00 00") + "xyz" + Hex("00 00");
        QCOMPARE(HexOf(bytes), HexOf(expected));
    }

    void roundTrip()
    {
        Thing thing;
        thing.name = QStringLiteral("Root");
        thing.color = int(0x80000008);
        thing.align = 1;
        thing.options = 0x5;
        thing.scale = 0.1f;
        thing.ratio = 0.1;
        thing.caption = QStringLiteral("\u00C9t\u00E9 \u2192 \u03A9");
        thing.font.SetHeight(-35);
        thing.font.SetStyle(platform::fsItalic);
        thing.font.SetPitch(platform::fpVariable);
        thing.data = QByteArray("\0\1\2", 3);
        auto kid = std::make_unique<Thing>();
        kid->name = QStringLiteral("Kid");
        kid->caption = QStringLiteral("child");
        thing.kids.push_back(std::move(kid));

        const QByteArray bytes = WriteRoot(thing);
        Thing back;
        QStringList log;
        g_log = &log;
        QCOMPARE(ReadRootError(bytes, back), QString());
        g_log = nullptr;
        QCOMPARE(back.name, QStringLiteral("Root"));
        QCOMPARE(back.color, int(0x80000008));
        QCOMPARE(back.align, 1);
        QCOMPARE(back.options, qint64(0x5));
        QCOMPARE(back.scale, 0.1f);
        QCOMPARE(back.ratio, 0.1);
        QCOMPARE(back.caption, thing.caption);
        QCOMPARE(back.font.Height(), -35);
        QCOMPARE(back.font.Style(), platform::TFontStyles(platform::fsItalic));
        QCOMPARE(back.font.Pitch(), platform::fpVariable);
        QCOMPARE(back.data, thing.data);
        QCOMPARE(back.kids.size(), size_t(1));
        QCOMPARE(back.kids[0]->caption, QStringLiteral("child"));
        QCOMPARE(back.kids[0]->parent, &back);
        // Every component read is told the record is complete, in reading order.
        QCOMPARE(log, (QStringList{QStringLiteral("loaded Kid"), QStringLiteral("loaded Root")}));
    }

    // Defined properties write and read their own values; one without a reader is skipped whole.
    void definedProperties()
    {
        Thing thing;
        thing.points = {3, 300};
        const QByteArray bytes = WriteRoot(thing);
        const QByteArray points = Short("Points") + Hex("01 02 03 03 2C 01 00");
        QVERIFY2(bytes.endsWith(points + Hex("00 00")), qPrintable(HexOf(bytes))); // after the font
        Thing back;
        QCOMPARE(ReadRootError(bytes, back), QString());
        QCOMPARE(back.points, (QList<qint32>{3, 300}));

        Thing old;
        const QByteArray legacy = QByteArray("TPF0") + Short("TThing") + Short("") + Short("Legacy") +
                                  Hex("01 02 01 06 01 78 00") + points + Short("Caption") + Hex("06 01 79") +
                                  Hex("00 00");
        QCOMPARE(ReadRootError(legacy, old), QString());
        QCOMPARE(old.points, (QList<qint32>{3, 300}));
        QCOMPARE(old.caption, QStringLiteral("y"));
    }

    // A colour with a name, system colours included, is written by that name and read back to its value;
    // any other colour is written as a number.
    void coloursByName_data()
    {
        QTest::addColumn<qint32>("color");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("button face") << qint32(0x8000000F) << Hex("07") + Short("clBtnFace");
        QTest::newRow("window text") << qint32(0x80000008) << Hex("07") + Short("clWindowText");
        QTest::newRow("red") << qint32(0x0000FF) << Hex("07") + Short("clRed");
        QTest::newRow("no name") << qint32(0x123456) << Hex("04 56 34 12 00");
    }
    void coloursByName()
    {
        QFETCH(qint32, color);
        QFETCH(QByteArray, written);
        Thing thing;
        thing.color = color;
        const QByteArray bytes = WriteRoot(thing);
        const QByteArray head = QByteArray("TPF0") + Short("TThing") + Short("") + Short("Color") + written;
        QCOMPARE(HexOf(bytes.left(head.size())), HexOf(head));
        QVERIFY(bytes.mid(head.size()).startsWith(Short("Font.Height"))); // the next property
        Thing back;
        QCOMPARE(ReadRootError(bytes, back), QString());
        QCOMPARE(back.color, color);
    }

    void readingAcceptsBothColourForms()
    {
        const QByteArray head = QByteArray("TPF0") + Short("TThing") + Short("");
        Thing a;
        QCOMPARE(ReadRootError(head + Short("Color") + Hex("07") + Short("CLNAVY") + Hex("00 00"), a),
                 QString());
        QCOMPARE(a.color, 0x800000);
        Thing b;
        QCOMPARE(ReadRootError(head + Short("Color") + Hex("03 C8 00") + Hex("00 00"), b), QString());
        QCOMPARE(b.color, 200);
        // Font.Size, never written, is still read.
        Thing c;
        QCOMPARE(ReadRootError(head + Short("Font.Size") + Hex("02 1A") + Hex("00 00"), c), QString());
        QCOMPARE(c.font.Height(), -35);
    }

    void readErrors_data()
    {
        QTest::addColumn<QByteArray>("properties");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown property") << Short("Colour") + Hex("02 01") << kPropertyDoesNotExist;
        QTest::newRow("unknown nested object") << Short("Pen.Width") + Hex("02 01") << kPropertyDoesNotExist;
        QTest::newRow("unknown font property")
            << Short("Font.Weight") + Hex("02 01") << kPropertyDoesNotExist;
        QTest::newRow("read-only") << Short("ReadOnly") + Hex("02 01") << kPropertyIsReadOnly;
        QTest::newRow("colour name not in the table")
            << Short("Color") + Hex("07") + Short("clPink") << kInvalidPropertyValue;
        QTest::newRow("enumeration by number") << Short("Alignment") + Hex("02 01") << kInvalidPropertyValue;
        QTest::newRow("unknown member")
            << Short("Alignment") + Hex("07") + Short("taMiddle") << kInvalidPropertyValue;
        QTest::newRow("set member unknown")
            << Short("Options") + Hex("0B") + Short("opZ") + Hex("00") << kInvalidPropertyValue;
        QTest::newRow("text for a set") << Short("Options") + Hex("06 00") << kInvalidPropertyValue;
        QTest::newRow("ident for a string") << Short("Caption") + Hex("07 01 41") << kInvalidPropertyValue;
        QTest::newRow("text for raw data") << Short("Data") + Hex("06 00") << kInvalidPropertyValue;
        QTest::newRow("unknown handler without a hook")
            << Short("OnClick") + Hex("07") + Short("Nowhere") << kInvalidPropertyValue;
        QTest::newRow("data ends") << Short("Caption") + Hex("06 09 41") << kStreamReadError;
    }
    void readErrors()
    {
        QFETCH(QByteArray, properties);
        QFETCH(QString, message);
        Thing thing;
        const QByteArray bytes = QByteArray("TPF0") + Short("TThing") + Short("") + properties + Hex("00 00");
        QCOMPARE(ReadRootError(bytes, thing), message);
    }

    void filerFlagsPrefixIsAccepted()
    {
        Thing thing;
        const QByteArray bytes = QByteArray("TPF0") + Hex("F2 02 03") + Short("TThing") + Short("P") +
                                 Short("Caption") + Hex("06 01 41") + Hex("00 00");
        QCOMPARE(ReadRootError(bytes, thing), QString());
        QCOMPARE(thing.caption, QStringLiteral("A"));
    }

    void recordListHooksAndCleanup()
    {
        Thing parent;
        Thing one, two;
        one.name = QStringLiteral("One");
        one.onClick = QStringLiteral("Missing");
        two.name = QStringLiteral("Two");
        QByteArray list = Hex("01") + WriteRoot(one) + WriteRoot(two);
        // A third record whose properties fail halfway.
        list += QByteArray("TPF0") + Short("TThing") + Short("Three") + Short("Caption") + Hex("06 01 41") +
                Short("Nonsense") + Hex("02 01") + Hex("00 00");

        QBuffer buffer;
        buffer.setData(list);
        buffer.open(QIODevice::ReadOnly);
        TReader r(&buffer);
        QStringList names;
        r.SetNameHook(
            [&](const ObjRef&, QString& name) { name = QStringLiteral("Component%1").arg(names.size()); });
        QStringList methods;
        r.SetMethodHook([&](const QString& method, bool& error) {
            methods.append(method);
            error = false;
        });
        r.ExpectBeginList();
        try {
            r.TakeRecordList(nullptr, ObjRef{&parent, &ThingClass()},
                             [&](const ObjRef& o) { names.append(T(o.object)->name); });
            QFAIL("the third record should fail");
        } catch (const StreamError& e) {
            QCOMPARE(e.message(), kPropertyDoesNotExist);
        }
        QCOMPARE(names, (QStringList{QStringLiteral("Component0"), QStringLiteral("Component1")}));
        QCOMPARE(methods, QStringList{QStringLiteral("Missing")});
        QCOMPARE(parent.kids.size(), size_t(2));
        QVERIFY(parent.kids[0]->onClick.isEmpty()); // left unassigned
        QCOMPARE(Thing::live, 5);                   // the failing record was destroyed
    }

    void unregisteredClass_data()
    {
        QTest::addColumn<QByteArray>("className");
        QTest::addColumn<QString>("message");
        QTest::newRow("a name") << QByteArray("TNoSuchThing")
                                << QStringLiteral("Class TNoSuchThing not found");
        // A record read from the wrong offset of a damaged file: control bytes and up to 255 bytes of
        // content.
        QByteArray damaged = "TPF0\x0eTVelRtfStorage" + QByteArray(200, '\0') + "\x01\x02TZubLabel";
        QTest::newRow("damaged") << damaged
                                 << QStringLiteral("Class TPF0\\x0eTVelRtfStorage") +
                                        QStringLiteral("\\x00").repeated(10) +
                                        QStringLiteral("... not found");
    }
    void unregisteredClass()
    {
        QFETCH(QByteArray, className);
        QFETCH(QString, message);
        QByteArray list =
            Hex("01") + QByteArray("TPF0") + char(className.size()) + className + Short("") + Hex("00 00 00");
        QBuffer buffer;
        buffer.setData(list);
        buffer.open(QIODevice::ReadOnly);
        TReader r(&buffer);
        r.ExpectBeginList();
        try {
            r.TakeRecordList(nullptr, ObjRef{}, nullptr);
            QFAIL("expected a failure");
        } catch (const StreamError& e) {
            QCOMPARE(e.message(), message);
        }
    }

    void truncationNeverCrashes()
    {
        Thing thing;
        thing.name = QStringLiteral("Root");
        thing.caption = QString(300, u'c');
        thing.scale = 2.5f;
        thing.data = QByteArray(50, 'd');
        thing.kids.push_back(std::make_unique<Thing>());
        const QByteArray bytes = WriteRoot(thing);
        for (qsizetype n = 0; n < bytes.size(); ++n) {
            Thing back;
            QVERIFY2(!ReadRootError(bytes.left(n), back).isEmpty(), qPrintable(QString::number(n)));
        }
        QCOMPARE(Thing::live, 2);
    }

    // The dump a person reads (the command line's "dump"): one line per value, nested values indented.
    void dumpShowsEveryValue_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("dump");
        QTest::newRow("integers") << Hex("02 05 02 FF 03 34 12 04 78 56 34 12")
                                  << QStringLiteral("int8 5\nint8 -1\nint16 4660\nint32 305419896\n");
        QTest::newRow("real") << Hex("05 00 00 00 00 00 00 00 C0 FF 3F") << QStringLiteral("real 1.5\n");
        QTest::newRow("texts")
            << Hex("06 02 48 69 0C 01 00 00 00 78 14 02 00 00 00 C3 A9 12 01 00 00 00 A9 03")
            << QStringLiteral("text \"Hi\"\nlongtext \"x\"\nutf8text \"\u00E9\"\n"
                              "widetext \"\u03A9\"\n");
        QTest::newRow("quoting") << Hex("06 0B 22 5C 0A 0D 09 01 1F 7F 41 20 42")
                                 << QStringLiteral("text \"\\\"\\\\\\n\\r\\t\\x01\\x1f\\x7fA B\"\n");
        QTest::newRow("identifiers") << Hex("07 03 61 62 63 08 09 0D")
                                     << QStringLiteral("ident abc\nident False\nident True\nident nil\n");
        QTest::newRow("raw data") << Hex("0A 03 00 00 00 41 42 43")
                                  << QStringLiteral("raw 3 bytes \"ABC\"\n");
        QTest::newRow("sets") << Hex("0B 02 66 73 02 66 62 00 0B 00")
                              << QStringLiteral("set [fs, fb]\nset []\n");
        QTest::newRow("list") << Hex("01 02 01 01 00 00")
                              << QStringLiteral("list\n  int8 1\n  list\n  end\nend\n");
        QTest::newRow("collection")
            << Hex("0E 02 07 01 04 4E 61 6D 65 02 01 00 01 00 00")
            << QStringLiteral(
                   "collection\n  order 7\n  item\n    Name = int8 1\n  end\n  item\n  end\nend\n");
        QTest::newRow("record with position and child")
            << Hex("54 50 46 30 F2 02 05 02 54 41 01 6E 04 4C 65 66 74 02 0A 00 02 54 42 00 00 00 00")
            << QStringLiteral("TPF0\nrecord TA \"n\" flags 2 position 5\n  Left = int8 10\n  child\n"
                              "    record TB \"\"\n    end record\nend record\n");
        QTest::newRow("record with flags only")
            << Hex("54 50 46 30 F1 02 54 41 00 00 00")
            << QStringLiteral("TPF0\nrecord TA \"\" flags 1\nend record\n");
        QTest::newRow("T that is no signature")
            << Hex("54 50 46 31") << QStringLiteral("error at offset 0: Unknown value tag 84\n");
        QTest::newRow("short value at the end")
            << Hex("02") << QStringLiteral("error at offset 1: Stream read error\n");
        QTest::newRow("record cut short after its flags")
            << Hex("54 50 46 30 F1") << QStringLiteral("TPF0\nerror at offset 5: Stream read error\n");
    }
    void dumpShowsEveryValue()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, dump);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QCOMPARE(DumpStream(&buffer), dump);
    }

    // Lists nested deeper than 64 levels are a damaged stream, not a reason to exhaust the stack.
    void dumpStopsAtTheNestingLimit()
    {
        QByteArray bytes(70, '\x01');
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const QStringList lines = DumpStream(&buffer).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 66);
        QCOMPARE(lines[64], QString(128, u' ') + QStringLiteral("list"));
        QCOMPARE(lines.last(), QStringLiteral("error at offset 65: Invalid stream format"));
    }

    // A long raw value shows its first 4000 bytes and a checksum of the whole; one of exactly 4000 bytes is
    // shown whole.
    void dumpShortensLongRawData_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("4000 bytes") << 4000;
        QTest::newRow("4002 bytes") << 4002;
    }
    void dumpShortensLongRawData()
    {
        QFETCH(int, size);
        const QByteArray data = QByteArray(4000, 'a') + QByteArray("bc").left(size - 4000);
        QByteArray bytes = Hex("0A") + QByteArray(4, '\0') + data;
        qToLittleEndian<quint32>(quint32(size), bytes.data() + 1);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const QString sha1 =
            QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex());
        const QString more = size > 4000 ? QStringLiteral(" ... 2 more bytes, sha1 ") + sha1 : QString();
        QCOMPARE(DumpStream(&buffer),
                 QStringLiteral("raw %1 bytes \"").arg(size) + QString(4000, u'a') + u'"' + more + u'\n');
    }

    void dumpShowsTheStructure()
    {
        Thing thing;
        thing.name = QStringLiteral("Root");
        thing.caption = QStringLiteral("Hi");
        thing.kids.push_back(std::make_unique<Thing>());
        QBuffer buffer;
        buffer.setData(Hex("01 02 03") + WriteRoot(thing) + Hex("00"));
        buffer.open(QIODevice::ReadOnly);
        const QString dump = DumpStream(&buffer);
        QVERIFY2(dump.startsWith(QStringLiteral("list\n  int8 3\n  TPF0\n  record TThing \"Root\"\n")),
                 qPrintable(dump));
        QVERIFY(dump.contains(QStringLiteral("    Caption = text \"Hi\"\n")));
        QVERIFY(dump.contains(QStringLiteral("    child\n      record TThing \"\"\n")));
        QVERIFY(dump.endsWith(QStringLiteral("end\n")));

        QBuffer broken;
        broken.setData(Hex("01 02"));
        broken.open(QIODevice::ReadOnly);
        QVERIFY(DumpStream(&broken).contains(QStringLiteral("error at offset 2: Stream read error")));
    }
};

QTEST_GUILESS_MAIN(TestComponentStream)
#include "tst_componentstream.moc"
