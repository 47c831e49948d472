#include "controls/TColorArrayClass.h"

#include <algorithm>

namespace controls {

TColorArrayClass::TColorArrayClass(int xSize, int ySize)
    : m_xSize(std::max(0, xSize)), m_ySize(std::max(0, ySize))
{
    resize();
}

void TColorArrayClass::resize()
{
    if (qsizetype(m_xSize) * m_ySize > kMaxCells)
        throw std::length_error("colour grid too large");
    m_cells = QList<platform::TColor>(qsizetype(m_xSize) * m_ySize, platform::clBlack);
}

void TColorArrayClass::SetXSize(int xSize)
{
    xSize = std::max(0, xSize);
    if (xSize == m_xSize)
        return;
    const int old = m_xSize;
    m_xSize = xSize;
    try {
        resize();
    } catch (...) {
        m_xSize = old;
        throw;
    }
}

void TColorArrayClass::SetYSize(int ySize)
{
    ySize = std::max(0, ySize);
    if (ySize == m_ySize)
        return;
    const int old = m_ySize;
    m_ySize = ySize;
    try {
        resize();
    } catch (...) {
        m_ySize = old;
        throw;
    }
}

qsizetype TColorArrayClass::index(int x, int y) const
{
    if (x < 1 || x > m_xSize || y < 1 || y > m_ySize)
        throw EColorArrayIndexError();
    return qsizetype(x - 1) + qsizetype(y - 1) * m_xSize;
}

platform::TColor TColorArrayClass::Cell(int x, int y) const
{
    return m_cells[index(x, y)];
}

void TColorArrayClass::SetCell(int x, int y, platform::TColor color)
{
    m_cells[index(x, y)] = color;
}

platform::TColor TColorArrayClass::At(int n) const
{
    if (n < 1 || n > m_cells.size())
        throw EColorArrayIndexError();
    return m_cells[n - 1];
}

void TColorArrayClass::Assign(const TColorArrayClass& other)
{
    m_xSize = other.m_xSize;
    m_ySize = other.m_ySize;
    m_cells = other.m_cells;
}

bool TColorArrayClass::operator==(const TColorArrayClass& other) const
{
    return m_xSize == other.m_xSize && m_ySize == other.m_ySize && m_cells == other.m_cells;
}

QList<platform::TColor> TColorArrayClass::ColumnOrder() const
{
    QList<platform::TColor> colors;
    colors.reserve(m_cells.size());
    for (int x = 1; x <= m_xSize; ++x)
        for (int y = 1; y <= m_ySize; ++y)
            colors.append(Cell(x, y));
    return colors;
}

void TColorArrayClass::SetColumnOrder(const QList<platform::TColor>& colors)
{
    int x = 1, y = 1;
    for (const platform::TColor color : colors) {
        SetCell(x, y, color);
        if (++y > m_ySize) {
            y = 1;
            ++x;
        }
    }
}

TColorArrayClass TColorArrayClass::DefaultPalette()
{
    TColorArrayClass palette(4, 5);
    palette.SetColumnOrder({0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0xBFD7BF, 0x000000, 0x00007F,
                            0x007F00, 0x7F0000, 0xEFBF9F, 0xBFBFBF, 0x00FFFF, 0xFFFF00, 0xFF00FF,
                            0xEFF7FF, 0x7F7F7F, 0x007F7F, 0x7F7F00, 0x7F007F, 0x9F9F9F});
    return palette;
}

TColorArrayClass TColorArrayClass::DefaultCustomColors()
{
    TColorArrayClass custom(8, 2);
    custom.SetColumnOrder(QList<platform::TColor>(16, platform::clWhite));
    return custom;
}

} // namespace controls
