#include "tests/persist/TestComponent.h"

#include "persist/stream/ClassRegistry.h"

namespace testsupport {

using persist::ClassInfo;
using persist::ObjRef;
using persist::PropertyInfo;
using persist::PropKind;

namespace {

TTestObject* O(void* o)
{
    return static_cast<TTestObject*>(static_cast<QObject*>(o));
}
const TTestObject* O(const void* o)
{
    return static_cast<const TTestObject*>(static_cast<const QObject*>(o));
}

PropertyInfo Geometry(const char* name, int (QWidget::*get)() const, void (*set)(TTestObject*, int))
{
    PropertyInfo p;
    p.name = QString::fromLatin1(name);
    p.kind = PropKind::Integer;
    p.getInt = [get](const void* o) { return (O(o)->*get)(); };
    p.setInt = [set](void* o, qint64 v) { set(O(o), int(v)); };
    return p;
}

ClassInfo Make()
{
    ClassInfo c;
    c.name = QStringLiteral("TTestObject");
    c.properties.append(Geometry("Left", &QWidget::x, [](TTestObject* o, int v) { o->move(v, o->y()); }));
    c.properties.append(Geometry("Top", &QWidget::y, [](TTestObject* o, int v) { o->move(o->x(), v); }));
    c.properties.append(
        Geometry("Width", &QWidget::width, [](TTestObject* o, int v) { o->resize(v, o->height()); }));
    c.properties.append(
        Geometry("Height", &QWidget::height, [](TTestObject* o, int v) { o->resize(o->width(), v); }));
    PropertyInfo caption;
    caption.name = QStringLiteral("Caption");
    caption.kind = PropKind::String;
    caption.getString = [](const void* o) { return O(o)->caption; };
    caption.setString = [](void* o, const QString& v) { O(o)->caption = v; };
    c.properties.append(caption);
    PropertyInfo click;
    click.name = QStringLiteral("OnClick");
    click.kind = PropKind::Event;
    click.getString = [](const void* o) { return O(o)->onClick; };
    click.setString = [](void* o, const QString& v) { O(o)->onClick = v; };
    c.properties.append(click);

    c.create = [](QObject*) { return ObjRef{static_cast<QObject*>(new TTestObject), &TestObjectClass()}; };
    c.destroy = [](void* o) { delete O(o); };
    c.getName = [](const void* o) { return O(o)->objectName(); };
    c.setName = [](void* o, const QString& name) { O(o)->setObjectName(name); };
    c.setParent = [](void* o, const ObjRef& parent) {
        O(o)->setParent(qobject_cast<QWidget*>(static_cast<QObject*>(parent.object)));
    };
    c.loaded = [](void* o) { ++O(o)->loadedCount; };
    return c;
}

} // namespace

const ClassInfo& TestObjectClass()
{
    static const ClassInfo c = Make();
    return c;
}

void RegisterTestObject()
{
    persist::ClassRegistry::Instance().Register(TestObjectClass());
    persist::ClassRegistry::Instance().RegisterType(&TTestObject::staticMetaObject, TestObjectClass());
}

} // namespace testsupport
