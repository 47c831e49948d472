#pragma once

#include "platform/TColor.h"

#include <QList>

#include <stdexcept>

namespace controls {

/** A cell index outside a colour grid: "Array index out of bounds". */
class EColorArrayIndexError : public std::out_of_range
{
public:
    EColorArrayIndexError() : std::out_of_range("Array index out of bounds") {}
};

/**
 * A small grid of colours, XSize columns by YSize rows, kept as one block in row order: cell (x, y), both
 * counted from 1, lies at x + (y - 1) * XSize. The colour drop-down buttons keep two: their fixed palette and
 * the user's custom colours.
 */
class TColorArrayClass
{
public:
    /** Grids larger than this are refused (std::length_error): a size read from a file must not make the
     * program allocate what the file does not hold. */
    static constexpr qsizetype kMaxCells = 65536;

    TColorArrayClass(int xSize, int ySize);

    int XSize() const { return m_xSize; }
    int YSize() const { return m_ySize; }
    /** A different size replaces the block: every cell must be written again before it is read. Negative
     * sizes count as 0. */
    void SetXSize(int xSize);
    void SetYSize(int ySize);
    int Count() const { return m_xSize * m_ySize; }

    platform::TColor Cell(int x, int y) const;
    void SetCell(int x, int y, platform::TColor color);
    /** Cell n, 1 to XSize * YSize, in block order. */
    platform::TColor At(int n) const;

    /** Takes the other grid's size and every cell. */
    void Assign(const TColorArrayClass& other);
    /** Same sizes and every cell equal. */
    bool operator==(const TColorArrayClass& other) const;
    /** A missing grid is unequal to any grid. */
    bool Equals(const TColorArrayClass* other) const { return other && (other == this || *this == *other); }

    /**
     * The cells column by column (for x = 1 to XSize, for y = 1 to YSize), as the stream lists them; reading
     * fills them back in the same order, and a list longer than the grid raises EColorArrayIndexError.
     */
    QList<platform::TColor> ColumnOrder() const;
    void SetColumnOrder(const QList<platform::TColor>& colors);

    /** The fixed colours the dialogs' drop-down buttons offer: 4 columns by 5 rows. */
    static TColorArrayClass DefaultPalette();
    /** The user's custom colours: 8 columns by 2 rows, all white to start with. */
    static TColorArrayClass DefaultCustomColors();

private:
    qsizetype index(int x, int y) const;
    void resize();

    int m_xSize;
    int m_ySize;
    QList<platform::TColor> m_cells;
};

} // namespace controls
