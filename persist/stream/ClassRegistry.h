#pragma once

#include "persist/stream/ClassInfo.h"

#include <QHash>

namespace persist {

/** The classes a stream may create by name. Registering a class twice is harmless. */
class ClassRegistry
{
public:
    static ClassRegistry& Instance();

    void Register(const ClassInfo& cls);
    void Unregister(const QString& name);
    /** Class names compare without regard to case. */
    const ClassInfo* Find(const QString& name) const;

    /**
     * Components that are QObjects are found by their Qt class: this table describes objects of that class
     * and its subclasses that have no table of their own. Such components are referred to by their QObject
     * address.
     */
    void RegisterType(const QMetaObject* type, const ClassInfo& cls);
    /** The component behind a QObject, or an empty reference when its class has no table. */
    ObjRef RefOf(QObject* object) const;

private:
    QHash<QString, const ClassInfo*> m_classes;
    QHash<const QMetaObject*, const ClassInfo*> m_types;
};

} // namespace persist
