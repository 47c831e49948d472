#include "supertext/SuperTextLayout.h"

#include "platform/Screen.h"

#include <cmath>
#include <cstdlib>

namespace supertext {

namespace {

int Trunc(double v)
{
    return static_cast<int>(std::trunc(v));
}

} // namespace

QPoint ShadowOffset(TShadowOrientation orientation, int d)
{
    switch (orientation) {
    case sdRight:
        return {d, 0};
    case sdLeft:
        return {-d, 0};
    case sdDownRight:
        return {d, d};
    case sdDownLeft:
        return {-d, d};
    case sdDown:
        return {0, d};
    case sdNone:
        break;
    }
    return {0, 0};
}

SuperTextLayout ComputeSuperTextLayout(const SuperTextLayoutInput& in)
{
    SuperTextLayout out;
    out.shadow = in.shadow;
    if (in.zoom != 1.0f)
        out.shadow = QPoint(Trunc(in.shadow.x() * double(in.zoom)), Trunc(in.shadow.y() * double(in.zoom)));
    out.shift = QPoint(out.shadow.x() < 0 ? -out.shadow.x() : 0, out.shadow.y() < 0 ? -out.shadow.y() : 0);
    out.width = in.width <= 5 ? in.textWidth : in.width;
    out.height = in.height;
    const int need = std::abs(out.shadow.y()) + in.textHeight;
    if (1.2 * need < out.height && in.transparent && !in.border)
        out.height = Trunc(1.2 * need);
    if (out.height < need)
        out.height = need;
    out.text = {out.shift.x() + 5, out.shift.y(), out.width, out.shift.y() + in.textHeight};
    out.shadowRect = {out.text.left + out.shadow.x(), out.text.top + out.shadow.y(),
                      out.text.right + out.shadow.x(), out.text.bottom + out.shadow.y()};
    return out;
}

QSize FitSize(int left, int top, int cx, int cy)
{
    int width = Trunc(left + 1.2 * cx);
    int height = Trunc(1.2 * (cy + top));
    if (height < cy)
        height = Trunc(1.5 * cy);
    if (width < cx)
        width = Trunc(1.5 * cx);
    return {width, height};
}

std::pair<platform::TColor, platform::TColor> GradientEnds(TFillDirection direction, platform::TColor from,
                                                           platform::TColor to)
{
    if (direction == gdUp || direction == gdLeft)
        return {to, from};
    return {from, to};
}

QRgb GradientBandColor(QRgb s, QRgb e, int i)
{
    auto channel = [i](int a, int b) { return a + platform::MulDiv(i, b - a, 255); };
    return qRgb(channel(qRed(s), qRed(e)), channel(qGreen(s), qGreen(e)), channel(qBlue(s), qBlue(e)));
}

QImage MakeGradientStrip(QSize size, TFillDirection direction, platform::TColor from, platform::TColor to)
{
    const bool across = direction == gdLeft || direction == gdRight;
    const int extent = across ? size.width() : size.height();
    if (extent < 1 || size.width() < 1 || size.height() < 1)
        return {};
    const auto [s, e] = GradientEnds(direction, from, to);
    const QRgb start = platform::ToQColor(s).rgb();
    const QRgb end = platform::ToQColor(e).rgb();
    QImage strip(across ? QSize(extent, 1) : QSize(1, extent), QImage::Format_RGB32);
    auto* pixels = reinterpret_cast<QRgb*>(strip.bits());
    const qsizetype step = across ? 1 : strip.bytesPerLine() / qsizetype(sizeof(QRgb));
    for (int i = 0; i < 256; ++i) {
        const QRgb color = GradientBandColor(start, end, i);
        const int first = platform::MulDiv(i, extent, 256);
        const int last = platform::MulDiv(i + 1, extent, 256);
        for (int p = first; p < last; ++p)
            pixels[p * step] = color;
    }
    return strip;
}

} // namespace supertext
