#include "design/PlacedObjectClasses.h"

#include "design/TQelBasePanel.h"
#include "design/TQelGraphicControl.h"
#include "persist/stream/ClassRegistry.h"

namespace design {

using persist::ClassInfo;
using persist::ObjRef;
using persist::PropertyInfo;
using persist::PropKind;

PropertyInfo BooleanProperty(const QString& name, std::optional<bool> def,
                             std::function<bool(const void*)> get, std::function<void(void*, bool)> set)
{
    PropertyInfo p;
    p.name = name;
    p.kind = PropKind::Enumeration;
    p.enumNames = &persist::BooleanNames();
    if (def)
        p.defaultValue = *def ? 1 : 0;
    p.getInt = [get = std::move(get)](const void* o) { return qint64(get(o)); };
    p.setInt = [set = std::move(set)](void* o, qint64 v) { set(o, v != 0); };
    return p;
}

PropertyInfo EnumProperty(const QString& name, const persist::EnumNames& names, std::optional<qint64> def,
                          std::function<qint64(const void*)> get, std::function<void(void*, qint64)> set)
{
    PropertyInfo p;
    p.name = name;
    p.kind = PropKind::Enumeration;
    p.enumNames = &names;
    p.defaultValue = def;
    p.getInt = std::move(get);
    p.setInt = std::move(set);
    return p;
}

const ClassInfo& PanelClass()
{
    static const ClassInfo c = [] {
        ClassInfo info;
        info.name = QStringLiteral("TQelBasePanel");
        return info;
    }();
    return c;
}

namespace {

using G = TQelGraphicControl;

ClassInfo MakeGraphicControlClass()
{
    ClassInfo c;
    c.name = QStringLiteral("TQelGraphicControl");
    c.properties.append(IntegerProperty(
        QStringLiteral("Tag"), 0, nullptr, [](const void* o) { return ObjectOf<G>(o)->Tag(); },
        [](void* o, qint64 v) { ObjectOf<G>(o)->SetTag(int(v)); }));
    c.properties.append(IntegerProperty(
        QStringLiteral("Left"), std::nullopt, nullptr, [](const void* o) { return ObjectOf<G>(o)->x(); },
        [](void* o, qint64 v) { ObjectOf<G>(o)->move(int(v), ObjectOf<G>(o)->y()); }));
    c.properties.append(IntegerProperty(
        QStringLiteral("Top"), std::nullopt, nullptr, [](const void* o) { return ObjectOf<G>(o)->y(); },
        [](void* o, qint64 v) { ObjectOf<G>(o)->move(ObjectOf<G>(o)->x(), int(v)); }));
    c.properties.append(IntegerProperty(
        QStringLiteral("Width"), std::nullopt, nullptr, [](const void* o) { return ObjectOf<G>(o)->width(); },
        [](void* o, qint64 v) { ObjectOf<G>(o)->resize(int(v), ObjectOf<G>(o)->height()); }));
    c.properties.append(IntegerProperty(
        QStringLiteral("Height"), std::nullopt, nullptr,
        [](const void* o) { return ObjectOf<G>(o)->height(); },
        [](void* o, qint64 v) { ObjectOf<G>(o)->resize(ObjectOf<G>(o)->width(), int(v)); }));
    c.properties.append(IntegerProperty(
        QStringLiteral("Cursor"), 0, &persist::CursorNames(),
        [](const void* o) { return ObjectOf<G>(o)->CursorNumber(); },
        [](void* o, qint64 v) { ObjectOf<G>(o)->SetCursorNumber(int(v)); }));
    PropertyInfo hint;
    hint.name = QStringLiteral("Hint");
    hint.kind = PropKind::String;
    hint.getString = [](const void* o) { return ObjectOf<G>(o)->Hint(); };
    hint.setString = [](void* o, const QString& v) { ObjectOf<G>(o)->SetHint(v); };
    c.properties.append(hint);
    c.properties.append(BooleanProperty(
        QStringLiteral("Locked"), std::nullopt, [](const void* o) { return ObjectOf<G>(o)->Locked(); },
        [](void* o, bool v) { ObjectOf<G>(o)->SetLocked(v); }));
    c.properties.append(BooleanProperty(
        QStringLiteral("Unselectable"), std::nullopt,
        [](const void* o) { return ObjectOf<G>(o)->Unselectable(); },
        [](void* o, bool v) { ObjectOf<G>(o)->SetUnselectable(v); }));
    return c;
}

} // namespace

const ClassInfo& GraphicControlClass()
{
    static const ClassInfo c = MakeGraphicControlClass();
    return c;
}

void RegisterPlacedObjectClass(ClassInfo& cls, const QMetaObject* type,
                               std::function<TQelGraphicControl*()> factory)
{
    if (!cls.base)
        cls.base = &GraphicControlClass();
    const ClassInfo* self = &cls;
    cls.create = [factory, self](QObject*) {
        TQelGraphicControl* object = factory();
        object->SetLoading(true);
        return ObjRef{static_cast<QObject*>(object), self};
    };
    cls.destroy = [](void* o) { delete ObjectOf<G>(o); };
    cls.getName = [](const void* o) { return ObjectOf<G>(o)->objectName(); };
    cls.setName = [](void* o, const QString& name) { ObjectOf<G>(o)->setObjectName(name); };
    cls.setParent = [](void* o, const ObjRef& parent) {
        auto* widget = qobject_cast<QWidget*>(static_cast<QObject*>(parent.object));
        G* object = ObjectOf<G>(o);
        object->setParent(widget);
        object->show();
    };
    cls.loaded = [](void* o) { ObjectOf<G>(o)->AfterLoad(); };
    persist::ClassRegistry::Instance().Register(cls);
    persist::ClassRegistry::Instance().RegisterType(type, cls);
}

} // namespace design
