#pragma once

#include <QColor>
#include <QString>
#include <QTextCharFormat>

#include <array>

namespace richtext {

/** The engine's 16-entry colour table: the classic colours an attribute's colour index names. */
const std::array<QColor, 16>& ColorTable();
/** The index of the table colour equal to c, or -1. */
int ColorIndexOf(const QColor& c);

/** Character attributes as the rest of the program sets them: font, size in points, styles, colour index. */
struct CharAttributes
{
    QString fontName = QStringLiteral("Arial");
    int pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int colorIndex = 0;

    friend bool operator==(const CharAttributes&, const CharAttributes&) = default;
};

/** A character format with the attributes, the colour from the engine's table. */
QTextCharFormat FormatOf(const CharAttributes& attributes);

} // namespace richtext
