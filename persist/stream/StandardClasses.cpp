#include "persist/stream/StandardClasses.h"

#include "platform/TFont.h"
#include "richtext/TVelRtfStorage.h"

namespace persist {

using platform::TFont;
using richtext::TVelRtfStorage;

namespace {

const TFont* F(const void* o)
{
    return static_cast<const TFont*>(o);
}
TFont* F(void* o)
{
    return static_cast<TFont*>(o);
}

ClassInfo MakeFontClass()
{
    ClassInfo c;
    c.name = QStringLiteral("TFont");
    c.properties.append(IntegerProperty(
        QStringLiteral("Charset"), platform::DEFAULT_CHARSET, &CharsetNames(),
        [](const void* o) { return F(o)->Charset(); }, [](void* o, qint64 v) { F(o)->SetCharset(int(v)); }));
    c.properties.append(IntegerProperty(
        QStringLiteral("Color"), platform::clWindowText, &ColorNames(),
        [](const void* o) { return F(o)->Color(); },
        [](void* o, qint64 v) { F(o)->SetColor(platform::TColor(v)); }));
    c.properties.append(IntegerProperty(
        QStringLiteral("Height"), std::nullopt, nullptr, [](const void* o) { return F(o)->Height(); },
        [](void* o, qint64 v) { F(o)->SetHeight(int(v)); }));

    PropertyInfo name;
    name.name = QStringLiteral("Name");
    name.kind = PropKind::String;
    name.getString = [](const void* o) { return F(o)->Name(); };
    name.setString = [](void* o, const QString& v) { F(o)->SetName(v); };
    c.properties.append(name);

    PropertyInfo pitch;
    pitch.name = QStringLiteral("Pitch");
    pitch.kind = PropKind::Enumeration;
    pitch.enumNames = &FontPitchNames();
    pitch.defaultValue = platform::fpDefault;
    pitch.getInt = [](const void* o) { return qint64(F(o)->Pitch()); };
    pitch.setInt = [](void* o, qint64 v) { F(o)->SetPitch(platform::TFontPitch(v)); };
    c.properties.append(pitch);

    PropertyInfo style;
    style.name = QStringLiteral("Style");
    style.kind = PropKind::Set;
    style.enumNames = &FontStyleNames();
    style.defaultValue = 0;
    style.getInt = [](const void* o) { return qint64(F(o)->Style().toInt()); };
    style.setInt = [](void* o, qint64 v) { F(o)->SetStyle(platform::TFontStyles::fromInt(int(v & 0xF))); };
    c.properties.append(style);

    // Older files may carry the size in points; it is never written, the height says it all.
    PropertyInfo size = IntegerProperty(
        QStringLiteral("Size"), std::nullopt, nullptr, [](const void* o) { return F(o)->Size(); },
        [](void* o, qint64 v) { F(o)->SetSize(int(v)); });
    size.stored = [](const void*) { return false; };
    c.properties.append(size);
    return c;
}

ClassInfo MakeRtfTextClass()
{
    ClassInfo c;
    c.name = QStringLiteral("TVelRtfText");
    DefinedProperty data;
    data.name = QStringLiteral("Data");
    data.hasData = [](const void* o) { return !static_cast<const TVelRtfStorage*>(o)->IsEmpty(); };
    data.writeRaw = [](const void* o) { return static_cast<const TVelRtfStorage*>(o)->RtfText(); };
    data.readRaw = [](void* o, const QByteArray& bytes) {
        static_cast<TVelRtfStorage*>(o)->SetRtfText(bytes);
    };
    c.defined.append(data);
    return c;
}

const ClassInfo& RtfTextClass()
{
    static const ClassInfo c = MakeRtfTextClass();
    return c;
}

ClassInfo MakeRtfStorageClass()
{
    ClassInfo c;
    c.name = QStringLiteral("TVelRtfStorage");
    PropertyInfo text;
    text.name = QStringLiteral("RtfText");
    text.kind = PropKind::Object;
    text.getObject = [](void* o) { return ObjRef{o, &RtfTextClass()}; };
    c.properties.append(text);
    return c;
}

} // namespace

const EnumNames& FontStyleNames()
{
    static const EnumNames names{{QStringLiteral("fsBold"), QStringLiteral("fsItalic"),
                                  QStringLiteral("fsUnderline"), QStringLiteral("fsStrikeOut")}};
    return names;
}

const EnumNames& FontPitchNames()
{
    static const EnumNames names{
        {QStringLiteral("fpDefault"), QStringLiteral("fpVariable"), QStringLiteral("fpFixed")}};
    return names;
}

const ClassInfo& FontClass()
{
    static const ClassInfo c = MakeFontClass();
    return c;
}

ObjRef FontRef(TFont* font)
{
    return ObjRef{font, &FontClass()};
}

const ClassInfo& RtfStorageClass()
{
    static const ClassInfo c = MakeRtfStorageClass();
    return c;
}

ObjRef RtfStorageRef(TVelRtfStorage* storage)
{
    return ObjRef{storage, &RtfStorageClass()};
}

ObjRef RtfTextRef(TVelRtfStorage* storage)
{
    return ObjRef{storage, &RtfTextClass()};
}

} // namespace persist
