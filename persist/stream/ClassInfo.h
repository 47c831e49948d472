#pragma once

#include "persist/stream/NameTables.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace persist {

class TReader;
class TWriter;
struct ClassInfo;

/** An object of the component model: its address and the table that describes it. */
struct ObjRef
{
    void* object = nullptr;
    const ClassInfo* cls = nullptr;

    explicit operator bool() const { return object != nullptr && cls != nullptr; }
};

enum class PropKind
{
    Integer,     // 32-bit; written by name when its name table has the value
    Char,        // one character
    Enumeration, // ordinal, written as the member's name (Booleans are enumerations False/True)
    Set,         // bit i holds member i
    Real,        // written as an 80-bit real, converted from its own width
    String,
    Object, // a nested persistent object whose properties are written with a dotted prefix
    Event,  // the name of the handler method, empty when unassigned
};

enum class RealWidth
{
    Single,
    Double,
};

/** One published property: its stream name, kind, default, and access to its value. */
struct PropertyInfo
{
    QString name;
    PropKind kind = PropKind::Integer;
    const IntNameTable* intNames = nullptr;
    const EnumNames* enumNames = nullptr;
    RealWidth realWidth = RealWidth::Double;
    /** Integers, enumerations and sets equal to their default are not written; without one they always are.
     */
    std::optional<qint64> defaultValue;
    /** When given and false, the property is not written. */
    std::function<bool(const void*)> stored;
    /** An empty string is written too: for a string whose constructor value is not empty. */
    bool writeEmpty = false;

    std::function<qint64(const void*)> getInt;
    std::function<void(void*, qint64)> setInt;
    std::function<double(const void*)> getReal;
    std::function<void(void*, double)> setReal;
    std::function<QString(const void*)> getString;
    std::function<void(void*, const QString&)> setString;
    std::function<ObjRef(void*)> getObject;

    bool IsReadOnly() const;
};

/**
 * A property the component writes itself, after the published ones: raw data (a length and bytes the
 * component produces, such as rich text or a picture) or plain values from its own writer routine.
 */
struct DefinedProperty
{
    QString name;
    /** Whether there is anything to write; a defined property without data writes nothing. */
    std::function<bool(const void*)> hasData;
    // Raw data.
    std::function<QByteArray(const void*)> writeRaw;
    std::function<void(void*, const QByteArray&)> readRaw;
    // Plain values.
    std::function<void(const void*, TWriter&)> write;
    std::function<void(void*, TReader&)> read;

    bool IsRaw() const { return bool(writeRaw) || bool(readRaw); }
};

/**
 * The published-property table of one class, extending its base class's table, and the operations the stream
 * reader and writer need on its objects. The stream code knows no concrete class; it works through these.
 */
struct ClassInfo
{
    QString name;
    const ClassInfo* base = nullptr;
    QList<PropertyInfo> properties;
    QList<DefinedProperty> defined;

    /** Creates an object of the class owned by owner (registered classes only). */
    std::function<ObjRef(QObject* owner)> create;
    /** Frees an object that create made (a record that fails to read is not kept). */
    std::function<void(void*)> destroy;
    std::function<QString(const void*)> getName;
    std::function<void(void*, const QString&)> setName;
    std::function<QList<ObjRef>(const void*)> children;
    /** Places an object read as a child of another. */
    std::function<void(void*, const ObjRef& parent)> setParent;
    /** Told once the whole record it was read in is complete. */
    std::function<void(void*)> loaded;

    /** Every published property, base class first, in declaration order. */
    QList<const PropertyInfo*> AllProperties() const;
    QList<const DefinedProperty*> AllDefined() const;
    /** Property names compare without regard to case, as identifiers do. */
    const PropertyInfo* FindProperty(const QString& name) const;
    const DefinedProperty* FindDefined(const QString& name) const;

    // The first of these hooks found from this class towards its bases.
    QString NameOf(const void* object) const;
    bool SetNameOf(void* object, const QString& name) const;
    QList<ObjRef> ChildrenOf(const void* object) const;
    /** Whether objects of the class hold children: only then does a stream nest records in theirs. */
    bool HoldsChildren() const;
    bool SetParentOf(void* object, const ObjRef& parent) const;
    void Loaded(void* object) const;
    void Destroy(void* object) const;
};

/** An integer property, written by name where the table has one. */
PropertyInfo IntegerProperty(const QString& name, std::optional<qint64> def, const IntNameTable* names,
                             std::function<qint64(const void*)> get, std::function<void(void*, qint64)> set);

} // namespace persist
