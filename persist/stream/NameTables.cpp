#include "persist/stream/NameTables.h"

namespace persist {

std::optional<QString> IntNameTable::NameOf(qint32 value) const
{
    for (const Entry& e : m_entries) {
        if (e.value == value)
            return e.name;
    }
    return std::nullopt;
}

std::optional<qint32> IntNameTable::ValueOf(const QString& name) const
{
    for (const Entry& e : m_entries) {
        if (e.name.compare(name, Qt::CaseInsensitive) == 0)
            return e.value;
    }
    return std::nullopt;
}

std::optional<int> EnumNames::OrdinalOf(const QString& name) const
{
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

namespace {

constexpr qint32 Sys(quint32 n)
{
    return static_cast<qint32>(0x80000000u | n);
}

} // namespace

const IntNameTable& ColorNames()
{
    static const IntNameTable table({
        {QStringLiteral("clBlack"), 0x000000},
        {QStringLiteral("clMaroon"), 0x000080},
        {QStringLiteral("clGreen"), 0x008000},
        {QStringLiteral("clOlive"), 0x008080},
        {QStringLiteral("clNavy"), 0x800000},
        {QStringLiteral("clPurple"), 0x800080},
        {QStringLiteral("clTeal"), 0x808000},
        {QStringLiteral("clGray"), 0x808080},
        {QStringLiteral("clSilver"), 0xC0C0C0},
        {QStringLiteral("clRed"), 0x0000FF},
        {QStringLiteral("clLime"), 0x00FF00},
        {QStringLiteral("clYellow"), 0x00FFFF},
        {QStringLiteral("clBlue"), 0xFF0000},
        {QStringLiteral("clFuchsia"), 0xFF00FF},
        {QStringLiteral("clAqua"), 0xFFFF00},
        {QStringLiteral("clWhite"), 0xFFFFFF},
        {QStringLiteral("clNone"), 0x1FFFFFFF},
        {QStringLiteral("clScrollBar"), Sys(0)},
        {QStringLiteral("clBackground"), Sys(1)},
        {QStringLiteral("clActiveCaption"), Sys(2)},
        {QStringLiteral("clInactiveCaption"), Sys(3)},
        {QStringLiteral("clMenu"), Sys(4)},
        {QStringLiteral("clWindow"), Sys(5)},
        {QStringLiteral("clWindowFrame"), Sys(6)},
        {QStringLiteral("clMenuText"), Sys(7)},
        {QStringLiteral("clWindowText"), Sys(8)},
        {QStringLiteral("clCaptionText"), Sys(9)},
        {QStringLiteral("clActiveBorder"), Sys(10)},
        {QStringLiteral("clInactiveBorder"), Sys(11)},
        {QStringLiteral("clAppWorkSpace"), Sys(12)},
        {QStringLiteral("clHighlight"), Sys(13)},
        {QStringLiteral("clHighlightText"), Sys(14)},
        {QStringLiteral("clBtnFace"), Sys(15)},
        {QStringLiteral("clBtnShadow"), Sys(16)},
        {QStringLiteral("clGrayText"), Sys(17)},
        {QStringLiteral("clBtnText"), Sys(18)},
        {QStringLiteral("clInactiveCaptionText"), Sys(19)},
        {QStringLiteral("clBtnHighlight"), Sys(20)},
        {QStringLiteral("cl3DDkShadow"), Sys(21)},
        {QStringLiteral("cl3DLight"), Sys(22)},
        {QStringLiteral("clInfoText"), Sys(23)},
        {QStringLiteral("clInfoBk"), Sys(24)},
    });
    return table;
}

const IntNameTable& CursorNames()
{
    static const IntNameTable table({
        {QStringLiteral("crDefault"), 0},     {QStringLiteral("crArrow"), -2},
        {QStringLiteral("crCross"), -3},      {QStringLiteral("crIBeam"), -4},
        {QStringLiteral("crSize"), -5},       {QStringLiteral("crSizeNESW"), -6},
        {QStringLiteral("crSizeNS"), -7},     {QStringLiteral("crSizeNWSE"), -8},
        {QStringLiteral("crSizeWE"), -9},     {QStringLiteral("crUpArrow"), -10},
        {QStringLiteral("crHourGlass"), -11}, {QStringLiteral("crDrag"), -12},
        {QStringLiteral("crNoDrop"), -13},    {QStringLiteral("crHSplit"), -14},
        {QStringLiteral("crVSplit"), -15},    {QStringLiteral("crMultiDrag"), -16},
        {QStringLiteral("crSQLWait"), -17},   {QStringLiteral("crNo"), -18},
        {QStringLiteral("crAppStart"), -19},  {QStringLiteral("crHelp"), -20},
    });
    return table;
}

const IntNameTable& CharsetNames()
{
    static const IntNameTable table({
        {QStringLiteral("ANSI_CHARSET"), 0},          {QStringLiteral("DEFAULT_CHARSET"), 1},
        {QStringLiteral("SYMBOL_CHARSET"), 2},        {QStringLiteral("MAC_CHARSET"), 77},
        {QStringLiteral("SHIFTJIS_CHARSET"), 128},    {QStringLiteral("HANGEUL_CHARSET"), 129},
        {QStringLiteral("JOHAB_CHARSET"), 130},       {QStringLiteral("GB2312_CHARSET"), 134},
        {QStringLiteral("CHINESEBIG5_CHARSET"), 136}, {QStringLiteral("GREEK_CHARSET"), 161},
        {QStringLiteral("TURKISH_CHARSET"), 162},     {QStringLiteral("VIETNAMESE_CHARSET"), 163},
        {QStringLiteral("HEBREW_CHARSET"), 177},      {QStringLiteral("ARABIC_CHARSET"), 178},
        {QStringLiteral("BALTIC_CHARSET"), 186},      {QStringLiteral("RUSSIAN_CHARSET"), 204},
        {QStringLiteral("THAI_CHARSET"), 222},        {QStringLiteral("EASTEUROPE_CHARSET"), 238},
        {QStringLiteral("OEM_CHARSET"), 255},
    });
    return table;
}

const EnumNames& BooleanNames()
{
    static const EnumNames names{{QStringLiteral("False"), QStringLiteral("True")}};
    return names;
}

} // namespace persist
