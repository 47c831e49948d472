#include "persist/stream/ClassRegistry.h"

namespace persist {

ClassRegistry& ClassRegistry::Instance()
{
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::Register(const ClassInfo& cls)
{
    m_classes.insert(cls.name.toLower(), &cls);
}

void ClassRegistry::Unregister(const QString& name)
{
    m_classes.remove(name.toLower());
}

const ClassInfo* ClassRegistry::Find(const QString& name) const
{
    return m_classes.value(name.toLower(), nullptr);
}

void ClassRegistry::RegisterType(const QMetaObject* type, const ClassInfo& cls)
{
    m_types.insert(type, &cls);
}

ObjRef ClassRegistry::RefOf(QObject* object) const
{
    if (!object)
        return {};
    for (const QMetaObject* type = object->metaObject(); type; type = type->superClass()) {
        if (const ClassInfo* cls = m_types.value(type, nullptr))
            return ObjRef{object, cls};
    }
    return {};
}

} // namespace persist
