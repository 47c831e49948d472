#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>

namespace platform {

/**
 * Laid-out short texts per font, kept across paints: a page draws the same day numbers and names in the same
 * few fonts on every paint, and laying them out again each time dominates the cost of a 60-calendar page.
 */
class TextCache
{
public:
    struct Entry
    {
        QStaticText text;
        int width = 0;
    };
    using FontTexts = QHash<QString, Entry>;

    /** The texts of one font; the reference stays valid until the cache is cleared. */
    FontTexts& ForFont(const QFont& font);

private:
    QHash<QString, FontTexts> m_fonts;
};

} // namespace platform
