#include "platform/TColor.h"

#include <array>

namespace platform {

namespace {

// The classic Windows standard scheme, indexed by system colour number.
constexpr std::array<QRgb, 31> kSystemColors = {
    qRgb(192, 192, 192), // scroll bar
    qRgb(0, 128, 128),   // desktop
    qRgb(0, 0, 128),     // active caption
    qRgb(128, 128, 128), // inactive caption
    qRgb(192, 192, 192), // menu
    qRgb(255, 255, 255), // window
    qRgb(0, 0, 0),       // window frame
    qRgb(0, 0, 0),       // menu text
    qRgb(0, 0, 0),       // window text
    qRgb(255, 255, 255), // caption text
    qRgb(192, 192, 192), // active border
    qRgb(192, 192, 192), // inactive border
    qRgb(128, 128, 128), // application workspace
    qRgb(0, 0, 128),     // highlight
    qRgb(255, 255, 255), // highlight text
    qRgb(192, 192, 192), // button face
    qRgb(128, 128, 128), // button shadow
    qRgb(128, 128, 128), // grey text
    qRgb(0, 0, 0),       // button text
    qRgb(192, 192, 192), // inactive caption text
    qRgb(255, 255, 255), // button highlight
    qRgb(0, 0, 0),       // 3D dark shadow
    qRgb(192, 192, 192), // 3D light
    qRgb(0, 0, 0),       // info text
    qRgb(255, 255, 225), // info background
    qRgb(0, 0, 0),       // (unused)
    qRgb(0, 0, 255),     // hot light
    qRgb(16, 132, 208),  // active caption gradient
    qRgb(181, 181, 181), // inactive caption gradient
    qRgb(49, 106, 197),  // menu highlight
    qRgb(236, 233, 216), // menu bar
};

} // namespace

QColor ToQColor(TColor color)
{
    if (color < 0) {
        const quint32 index = static_cast<quint32>(color) & 0xFFu;
        return QColor(index < kSystemColors.size() ? kSystemColors[index] : qRgb(0, 0, 0));
    }
    const quint32 value = static_cast<quint32>(color);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

TColor FromQColor(const QColor& color)
{
    return static_cast<TColor>(quint32(color.red()) | (quint32(color.green()) << 8) |
                               (quint32(color.blue()) << 16));
}

} // namespace platform
