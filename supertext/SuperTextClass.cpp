#include "supertext/SuperTextClass.h"

#include "design/PlacedObjectClasses.h"
#include "persist/stream/NameTables.h"
#include "persist/stream/StandardClasses.h"
#include "supertext/TQelSuperText.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtEndian>

namespace supertext {

using design::BooleanProperty;
using design::EnumProperty;
using design::IntegerProperty;
using design::ObjectOf;
using persist::ClassInfo;
using persist::PropertyInfo;
using persist::PropKind;
using S = TQelSuperText;

QByteArray BitmapStreamData(const QImage& image)
{
    if (image.isNull())
        return {};
    QByteArray file;
    QBuffer buffer(&file);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "BMP");
    if (!writer.write(image))
        return {};
    QByteArray data(4, '\0');
    qToLittleEndian<quint32>(quint32(file.size()), data.data());
    return data + file;
}

QImage BitmapFromStreamData(const QByteArray& data)
{
    if (data.size() < 4)
        return {};
    const quint32 length = qFromLittleEndian<quint32>(data.constData());
    if (length != quint32(data.size() - 4))
        return {};
    QImage image;
    if (!image.loadFromData(QByteArrayView(data).sliced(4), "BMP"))
        return {};
    return image;
}

namespace {

const persist::EnumNames& SurfaceTypeNames()
{
    static const persist::EnumNames names{{QStringLiteral("stNormal"), QStringLiteral("stBrushTransparent"),
                                           QStringLiteral("stBrushImage"), QStringLiteral("stGradientFill")}};
    return names;
}

const persist::EnumNames& FillDirectionNames()
{
    static const persist::EnumNames names{{QStringLiteral("gdUp"), QStringLiteral("gdDown"),
                                           QStringLiteral("gdLeft"), QStringLiteral("gdRight")}};
    return names;
}

const persist::EnumNames& ShadowOrientationNames()
{
    static const persist::EnumNames names{{QStringLiteral("sdNone"), QStringLiteral("sdRight"),
                                           QStringLiteral("sdLeft"), QStringLiteral("sdDownRight"),
                                           QStringLiteral("sdDownLeft"), QStringLiteral("sdDown")}};
    return names;
}

const persist::EnumNames& PenStyleNames()
{
    static const persist::EnumNames names{{QStringLiteral("psSolid"), QStringLiteral("psDash"),
                                           QStringLiteral("psDot"), QStringLiteral("psDashDot"),
                                           QStringLiteral("psDashDotDot"), QStringLiteral("psClear"),
                                           QStringLiteral("psInsideFrame")}};
    return names;
}

const persist::EnumNames& BorderStyleNames()
{
    static const persist::EnumNames names{{QStringLiteral("bsNone"), QStringLiteral("bsSingle")}};
    return names;
}

PropertyInfo ColorProperty(const QString& name, std::optional<qint64> def,
                           std::function<platform::TColor(const S*)> get,
                           std::function<void(S*, platform::TColor)> set)
{
    return IntegerProperty(
        name, def, &persist::ColorNames(), [get](const void* o) { return qint64(get(ObjectOf<S>(o))); },
        [set](void* o, qint64 v) { set(ObjectOf<S>(o), platform::TColor(v)); });
}

PropertyInfo StringProperty(const QString& name, std::function<QString(const S*)> get,
                            std::function<void(S*, const QString&)> set)
{
    PropertyInfo p;
    p.name = name;
    p.kind = PropKind::String;
    p.getString = [get](const void* o) { return get(ObjectOf<S>(o)); };
    p.setString = [set](void* o, const QString& v) { set(ObjectOf<S>(o), v); };
    return p;
}

template <typename E>
PropertyInfo Enum(const QString& name, const persist::EnumNames& names, std::optional<qint64> def,
                  E (S::*get)() const, void (S::*set)(E))
{
    return EnumProperty(
        name, names, def, [get](const void* o) { return qint64((ObjectOf<S>(o)->*get)()); },
        [set, count = names.names.size()](void* o, qint64 v) {
            if (v >= 0 && v < count)
                (ObjectOf<S>(o)->*set)(E(v));
        });
}

// The texture as the framework's bitmap: a nested object whose only content is "Data", a 4-byte length and
// the bitmap file. A picture that cannot be decoded leaves the texture empty instead of failing the file.
const ClassInfo& BitmapClass()
{
    static const ClassInfo c = [] {
        ClassInfo info;
        info.name = QStringLiteral("TBitmap");
        persist::DefinedProperty data;
        data.name = QStringLiteral("Data");
        data.hasData = [](const void* o) { return !ObjectOf<S>(o)->Image().isNull(); };
        data.writeRaw = [](const void* o) { return BitmapStreamData(ObjectOf<S>(o)->Image()); };
        data.readRaw = [](void* o, const QByteArray& bytes) {
            ObjectOf<S>(o)->SetImage(BitmapFromStreamData(bytes));
        };
        info.defined.append(data);
        return info;
    }();
    return c;
}

ClassInfo MakeSuperTextClass()
{
    ClassInfo c;
    c.name = QStringLiteral("TQelSuperText");
    c.properties.append(IntegerProperty(
        QStringLiteral("ShadowDepth"), 0, nullptr,
        [](const void* o) { return ObjectOf<S>(o)->ShadowDepth(); },
        [](void* o, qint64 v) { ObjectOf<S>(o)->SetShadowDepth(int(v)); }));
    c.properties.append(Enum(QStringLiteral("ShadowOrientation"), ShadowOrientationNames(), sdDownRight,
                             &S::ShadowOrientation, &S::SetShadowOrientation));
    c.properties.append(ColorProperty(
        QStringLiteral("Shadowcolor"), 0x808080, [](const S* s) { return s->Shadowcolor(); },
        [](S* s, platform::TColor v) { s->SetShadowcolor(v); }));
    c.properties.append(Enum(QStringLiteral("BorderStyle"), BorderStyleNames(), std::nullopt, &S::BorderStyle,
                             &S::SetBorderStyle));
    c.properties.append(BooleanProperty(
        QStringLiteral("ControlTransparent"), std::nullopt,
        [](const void* o) { return ObjectOf<S>(o)->ControlTransparent(); },
        [](void* o, bool v) { ObjectOf<S>(o)->SetControlTransparent(v); }));
    c.properties.append(ColorProperty(
        QStringLiteral("BGColor"), std::nullopt, [](const S* s) { return s->BGColor(); },
        [](S* s, platform::TColor v) { s->SetBGColor(v); }));
    c.properties.append(StringProperty(
        QStringLiteral("Caption"), [](const S* s) { return s->Caption(); },
        [](S* s, const QString& v) { s->SetCaption(v); }));
    PropertyInfo font;
    font.name = QStringLiteral("Font");
    font.kind = PropKind::Object;
    font.getObject = [](void* o) { return persist::FontRef(ObjectOf<S>(o)->Font()); };
    c.properties.append(font);
    c.properties.append(Enum(QStringLiteral("FillDirection"), FillDirectionNames(), std::nullopt,
                             &S::FillDirection, &S::SetFillDirection));
    c.properties.append(ColorProperty(
        QStringLiteral("GradientToColor"), std::nullopt, [](const S* s) { return s->GradientToColor(); },
        [](S* s, platform::TColor v) { s->SetGradientToColor(v); }));
    c.properties.append(ColorProperty(
        QStringLiteral("GradientFromColor"), std::nullopt, [](const S* s) { return s->GradientFromColor(); },
        [](S* s, platform::TColor v) { s->SetGradientFromColor(v); }));
    PropertyInfo image;
    image.name = QStringLiteral("Image");
    image.kind = PropKind::Object;
    image.getObject = [](void* o) { return persist::ObjRef{o, &BitmapClass()}; };
    c.properties.append(image);
    c.properties.append(ColorProperty(
        QStringLiteral("OutlineColor"), std::nullopt, [](const S* s) { return s->OutlineColor(); },
        [](S* s, platform::TColor v) { s->SetOutlineColor(v); }));
    c.properties.append(Enum(QStringLiteral("OutlineStyle"), PenStyleNames(), std::nullopt, &S::OutlineStyle,
                             &S::SetOutlineStyle));
    c.properties.append(IntegerProperty(
        QStringLiteral("OutlineWidth"), std::nullopt, nullptr,
        [](const void* o) { return ObjectOf<S>(o)->OutlineWidth(); },
        [](void* o, qint64 v) { ObjectOf<S>(o)->SetOutlineWidth(int(v)); }));
    c.properties.append(Enum(QStringLiteral("SurfaceType"), SurfaceTypeNames(), std::nullopt, &S::SurfaceType,
                             &S::SetSurfaceType));
    c.properties.append(StringProperty(
        QStringLiteral("LastBitmapFileNameandPath"),
        [](const S* s) { return s->LastBitmapFileNameandPath(); },
        [](S* s, const QString& v) { s->SetLastBitmapFileNameandPath(v); }));
    return c;
}

ClassInfo& TheClass()
{
    static ClassInfo c = MakeSuperTextClass();
    return c;
}

} // namespace

const persist::ClassInfo& SuperTextClass()
{
    TQelSuperText::Register();
    return TheClass();
}

void TQelSuperText::Register()
{
    static const bool registered = [] {
        design::RegisterPlacedObjectClass(TheClass(), &TQelSuperText::staticMetaObject,
                                          [] { return new TQelSuperText; });
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace supertext
