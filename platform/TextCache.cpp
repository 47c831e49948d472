#include "platform/TextCache.h"

namespace platform {

namespace {
// Zooming through every step with odd fonts stays far below these; they only stop unbounded growth.
constexpr qsizetype kMaxFonts = 256;
} // namespace

TextCache::FontTexts& TextCache::ForFont(const QFont& font)
{
    const QString key = font.key();
    auto it = m_fonts.find(key);
    if (it == m_fonts.end()) {
        if (m_fonts.size() >= kMaxFonts)
            m_fonts.clear();
        it = m_fonts.insert(key, FontTexts());
    }
    return it.value();
}

} // namespace platform
