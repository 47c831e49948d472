#include "persist/stream/ColorArrayClass.h"

#include "controls/TColorArrayClass.h"
#include "persist/stream/StreamError.h"
#include "persist/stream/TReader.h"
#include "persist/stream/TWriter.h"

namespace persist {

using controls::TColorArrayClass;

namespace {

TColorArrayClass* G(void* o)
{
    return static_cast<TColorArrayClass*>(o);
}
const TColorArrayClass* G(const void* o)
{
    return static_cast<const TColorArrayClass*>(o);
}

// A size the grid refuses is a value the stream cannot hold, not a failure of the program.
template <typename F> void Resize(F&& change)
{
    try {
        change();
    } catch (const std::length_error&) {
        throw StreamError(kInvalidPropertyValue);
    }
}

ClassInfo MakeColorArrayClass()
{
    ClassInfo c;
    c.name = QStringLiteral("TColorArrayClass");
    c.properties.append(IntegerProperty(
        QStringLiteral("XSize"), std::nullopt, nullptr, [](const void* o) { return G(o)->XSize(); },
        [](void* o, qint64 v) { Resize([&] { G(o)->SetXSize(int(v)); }); }));
    c.properties.append(IntegerProperty(
        QStringLiteral("YSize"), std::nullopt, nullptr, [](const void* o) { return G(o)->YSize(); },
        [](void* o, qint64 v) { Resize([&] { G(o)->SetYSize(int(v)); }); }));
    DefinedProperty colors;
    colors.name = QStringLiteral("Colors");
    colors.write = [](const void* o, TWriter& writer) {
        writer.BeginList();
        for (const platform::TColor color : G(o)->ColumnOrder())
            writer.PutInteger(color);
        writer.EndList();
    };
    colors.read = [](void* o, TReader& reader) {
        reader.ExpectBeginList();
        QList<platform::TColor> cells;
        while (!reader.AtListEnd())
            cells.append(reader.TakeInteger());
        reader.ExpectEndList();
        try {
            G(o)->SetColumnOrder(cells);
        } catch (const controls::EColorArrayIndexError& e) {
            throw StreamError(QString::fromLatin1(e.what()));
        }
    };
    c.defined.append(colors);
    return c;
}

} // namespace

const ClassInfo& ColorArrayClass()
{
    static const ClassInfo c = MakeColorArrayClass();
    return c;
}

ObjRef ColorArrayRef(TColorArrayClass* grid)
{
    return ObjRef{grid, &ColorArrayClass()};
}

} // namespace persist
