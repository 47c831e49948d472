#include "richtext/CharAttributes.h"

#include <algorithm>

namespace richtext {

const std::array<QColor, 16>& ColorTable()
{
    static const std::array<QColor, 16> table = {
        QColor(0, 0, 0),       QColor(128, 0, 0),   QColor(0, 128, 0),   QColor(128, 128, 0),
        QColor(0, 0, 128),     QColor(128, 0, 128), QColor(0, 128, 128), QColor(128, 128, 128),
        QColor(192, 192, 192), QColor(255, 0, 0),   QColor(0, 255, 0),   QColor(255, 255, 0),
        QColor(0, 0, 255),     QColor(255, 0, 255), QColor(0, 255, 255), QColor(255, 255, 255),
    };
    return table;
}

int ColorIndexOf(const QColor& c)
{
    const auto& table = ColorTable();
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].rgb() == c.rgb())
            return int(i);
    }
    return -1;
}

QTextCharFormat FormatOf(const CharAttributes& a)
{
    QTextCharFormat f;
    f.setFontFamilies({a.fontName});
    f.setFontPointSize(a.pointSize);
    f.setFontWeight(a.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(a.italic);
    f.setFontUnderline(a.underline);
    f.setFontStrikeOut(a.strikeOut);
    f.setForeground(ColorTable()[size_t(std::clamp(a.colorIndex, 0, 15))]);
    return f;
}

} // namespace richtext
