#include "persist/stream/ClassInfo.h"

namespace persist {

bool PropertyInfo::IsReadOnly() const
{
    switch (kind) {
    case PropKind::Integer:
    case PropKind::Enumeration:
    case PropKind::Set:
        return !setInt;
    case PropKind::Real:
        return !setReal;
    case PropKind::Char:
    case PropKind::String:
    case PropKind::Event:
        return !setString;
    case PropKind::Object:
        return !getObject;
    }
    return true;
}

QList<const PropertyInfo*> ClassInfo::AllProperties() const
{
    QList<const PropertyInfo*> all = base ? base->AllProperties() : QList<const PropertyInfo*>();
    for (const PropertyInfo& p : properties)
        all.append(&p);
    return all;
}

QList<const DefinedProperty*> ClassInfo::AllDefined() const
{
    QList<const DefinedProperty*> all = base ? base->AllDefined() : QList<const DefinedProperty*>();
    for (const DefinedProperty& d : defined)
        all.append(&d);
    return all;
}

const PropertyInfo* ClassInfo::FindProperty(const QString& wanted) const
{
    for (const ClassInfo* c = this; c; c = c->base) {
        for (const PropertyInfo& p : c->properties) {
            if (p.name.compare(wanted, Qt::CaseInsensitive) == 0)
                return &p;
        }
    }
    return nullptr;
}

const DefinedProperty* ClassInfo::FindDefined(const QString& wanted) const
{
    for (const ClassInfo* c = this; c; c = c->base) {
        for (const DefinedProperty& d : c->defined) {
            if (d.name.compare(wanted, Qt::CaseInsensitive) == 0)
                return &d;
        }
    }
    return nullptr;
}

QString ClassInfo::NameOf(const void* object) const
{
    for (const ClassInfo* c = this; c; c = c->base) {
        if (c->getName)
            return c->getName(object);
    }
    return QString();
}

bool ClassInfo::SetNameOf(void* object, const QString& value) const
{
    for (const ClassInfo* c = this; c; c = c->base) {
        if (c->setName) {
            c->setName(object, value);
            return true;
        }
    }
    return false;
}

QList<ObjRef> ClassInfo::ChildrenOf(const void* object) const
{
    for (const ClassInfo* c = this; c; c = c->base) {
        if (c->children)
            return c->children(object);
    }
    return {};
}

bool ClassInfo::HoldsChildren() const
{
    for (const ClassInfo* c = this; c; c = c->base) {
        if (c->children)
            return true;
    }
    return false;
}

bool ClassInfo::SetParentOf(void* object, const ObjRef& parent) const
{
    for (const ClassInfo* c = this; c; c = c->base) {
        if (c->setParent) {
            c->setParent(object, parent);
            return true;
        }
    }
    return false;
}

void ClassInfo::Loaded(void* object) const
{
    for (const ClassInfo* c = this; c; c = c->base) {
        if (c->loaded) {
            c->loaded(object);
            return;
        }
    }
}

void ClassInfo::Destroy(void* object) const
{
    for (const ClassInfo* c = this; c; c = c->base) {
        if (c->destroy) {
            c->destroy(object);
            return;
        }
    }
}

PropertyInfo IntegerProperty(const QString& name, std::optional<qint64> def, const IntNameTable* names,
                             std::function<qint64(const void*)> get, std::function<void(void*, qint64)> set)
{
    PropertyInfo p;
    p.name = name;
    p.kind = PropKind::Integer;
    p.defaultValue = def;
    p.intNames = names;
    p.getInt = std::move(get);
    p.setInt = std::move(set);
    return p;
}

} // namespace persist
