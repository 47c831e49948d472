#pragma once

#include "persist/stream/ClassInfo.h"

#include <functional>

class QObject;

namespace design {

class TQelGraphicControl;

/** The design panel as the parent of objects read from a stream (no properties of its own are streamed). */
const persist::ClassInfo& PanelClass();

/** The stream table of the placed-object base: Tag, Left, Top, Width, Height, Cursor, Hint, Locked,
 * Unselectable. */
const persist::ClassInfo& GraphicControlClass();

/**
 * Completes a placed-object class table: creation by the factory, destruction, the Qt object name as
 * component name, placing on a panel, and the after-load step; then registers it by name and by Qt type.
 */
void RegisterPlacedObjectClass(persist::ClassInfo& cls, const QMetaObject* type,
                               std::function<TQelGraphicControl*()> factory);

/** The object behind a stream reference to a QObject-based component. */
template <typename T> T* ObjectOf(void* o)
{
    return static_cast<T*>(static_cast<QObject*>(o));
}
template <typename T> const T* ObjectOf(const void* o)
{
    return static_cast<const T*>(static_cast<const QObject*>(o));
}

/** Property builders for QObject-based components. */
using persist::IntegerProperty;
persist::PropertyInfo BooleanProperty(const QString& name, std::optional<bool> def,
                                      std::function<bool(const void*)> get,
                                      std::function<void(void*, bool)> set);
persist::PropertyInfo EnumProperty(const QString& name, const persist::EnumNames& names,
                                   std::optional<qint64> def, std::function<qint64(const void*)> get,
                                   std::function<void(void*, qint64)> set);

} // namespace design
