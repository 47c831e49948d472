#include "calendar/PageLayout.h"

#include "calendar/DateRules.h"

#include <algorithm>
#include <cmath>

namespace calendar {

namespace {

int Trunc(double x)
{
    return static_cast<int>(std::trunc(x));
}

struct GridShape
{
    int slots;
    int portraitRows;
    int portraitCols;
    int fontSize;
};

// Mini-calendar-only pages, by layout family (layouts 8/9 .. 16/17); landscape swaps rows and columns.
constexpr GridShape kMiniPages[] = {
    {6, 3, 2, 18}, {12, 4, 3, 18}, {24, 6, 4, 12}, {48, 8, 6, 10}, {60, 10, 6, 8},
};

} // namespace

TCalendarOrientation OrientationOfLayout(int layout)
{
    return layout >= 1 && layout <= 17 && layout % 2 == 1 ? coLandscape : coPortrait;
}

void FillSlots(const platform::TRect& area, int rows, int cols, int first, int last,
               std::array<MiniSlot, kMaxMiniSlots>& slots)
{
    const int x0 = area.left, y0 = area.top, x1 = area.right, y1 = area.bottom;
    const int gv = Trunc(0.01 * (y1 - y0));
    const int gh = Trunc(0.01 * (x1 - x0));
    const int sh = (y1 - y0 - gv * (rows - 1)) / rows;
    const int sw = (x1 - x0 - gh * (cols - 1)) / cols;
    int index = first;
    for (int i = 0; i < rows; ++i) {
        const int top = i == rows - 1 ? y1 - sh : y0 + i * (gv + sh);
        for (int j = 0; j < cols; ++j) {
            if (index > last || index >= kMaxMiniSlots)
                return;
            const int left = j == cols - 1 ? x1 - sw : x0 + j * (gh + sw);
            slots[static_cast<size_t>(index)].rect = {left, top, left + sw, top + sh};
            ++index;
        }
    }
}

void ComputePageLayout(const PageLayoutInput& in, PageLayoutResult& out)
{
    const int layout = std::clamp(in.layout, 0, kLayoutCount - 1);
    const int ppi = in.pixelsPerInch;
    auto px = [ppi](double inches) { return Trunc(inches * ppi); };

    out.orientation = OrientationOfLayout(layout);
    const bool landscape = out.orientation == coLandscape;
    double width = in.paperSize == 1 ? 8.27 : 8.5;
    double height = in.paperSize == 1 ? 11.69 : 11.0;
    if (landscape)
        std::swap(width, height);
    out.pageWidth = Trunc(ppi * width);
    out.pageHeight = Trunc(ppi * height);

    const double L = in.leftMargin, T = in.topMargin, R = in.rightMargin, B = in.bottomMargin;
    const int W = out.pageWidth, H = out.pageHeight;
    const platform::TRect defaultRect{px(L) + 2, px(T) + 2, W - px(R) - 2, H - px(B) - 2};

    auto setOffsets = [&](int count, auto offsetOfSlot) {
        const MonthYear base = ClampMonthYear(in.month, in.year);
        for (int k = 0; k < count; ++k) {
            const MonthYear my = StepMonth(base.month, base.year, offsetOfSlot(k));
            out.miniSlots[static_cast<size_t>(k)].month = my.month;
            out.miniSlots[static_cast<size_t>(k)].year = my.year;
        }
        out.miniCount = count;
    };

    out.miniFontSize = 0;
    if (layout <= 7 || layout >= 18) {
        out.showMainCalendar = layout <= 7;
        out.plannerMode = layout >= 18;
        out.showMiniCalendars = layout >= 2 && layout <= 7;
        out.mainRect = defaultRect;
    } else {
        out.showMainCalendar = false;
        out.plannerMode = false;
        out.showMiniCalendars = true;
    }

    switch (layout) {
    case loFCMinisInTitle:
    case loFCMinisInTitleLS: {
        const int s = Trunc(1.5 * ppi);
        const int h = ppi / 8;
        const platform::TRect& m = out.mainRect;
        out.miniSlots[0].rect = {m.left + h, m.top + h, m.left + s - h, m.top + s - h};
        out.miniSlots[1].rect = {m.right + h - s, m.top + h, m.right - h, m.top + s - h};
        setOffsets(2, [](int k) { return k == 0 ? -1 : 1; });
        out.miniFontSize = 10;
        break;
    }
    case loFC6Before6After:
    case loFC6Before6AfterLS:
        if (landscape) {
            out.mainRect = {px(L + 1.3) + 4, px(T) + 2, W - px(R + 1.3) - 4, H - px(B) - 2};
            FillSlots({px(L) + 2, px(T) + 2, px(L + 1.3), H - px(B) - 2}, 6, 1, 0, 5, out.miniSlots);
            FillSlots({W - px(R + 1.3) + 2, px(T) + 2, W - px(R) - 2, H - px(B) - 2}, 6, 1, 6, 11,
                      out.miniSlots);
        } else {
            out.mainRect = {px(L) + 2, px(T + 1.3) + 2, W - px(R) - 2, H - px(B + 1.3) - 2};
            FillSlots({px(L) + 2, px(T) + 2, W - px(R) - 2, px(T + 1.3) - 2}, 1, 6, 0, 5, out.miniSlots);
            FillSlots({px(L) + 2, H - px(B + 1.3) + 2, W - px(R) - 2, H - px(B) - 2}, 1, 6, 6, 11,
                      out.miniSlots);
        }
        setOffsets(12, [](int k) { return k < 6 ? k - 6 : k - 5; });
        out.miniFontSize = 10;
        break;
    case loFC12After:
    case loFC12AfterLS:
        if (landscape) {
            out.mainRect = {px(L) + 2, px(T) + 2, W - px(R + 2.9) - 2, H - px(B) - 2};
            FillSlots({W - px(R + 2.8) + 2, px(T) + 2, W - px(R), H - px(B) - 2}, 6, 2, 0, 11, out.miniSlots);
        } else {
            out.mainRect = {px(L) + 2, px(T) + 2, W - px(R) - 2, H - px(B + 2.9) - 2};
            FillSlots({px(L) + 2, H - px(B + 2.8) + 2, W - px(R) - 2, H - px(B) + 2}, 2, 6, 0, 11,
                      out.miniSlots);
        }
        setOffsets(12, [](int k) { return k + 1; });
        out.miniFontSize = 10;
        break;
    default:
        if (layout >= lopMC6Month && layout <= loMC60MonthLS) {
            const GridShape& shape = kMiniPages[(layout - lopMC6Month) / 2];
            const int rows = landscape ? shape.portraitCols : shape.portraitRows;
            const int cols = landscape ? shape.portraitRows : shape.portraitCols;
            FillSlots(defaultRect, rows, cols, 0, shape.slots - 1, out.miniSlots);
            setOffsets(shape.slots, [](int k) { return k; });
            out.miniFontSize = shape.fontSize;
        }
        break;
    }
}

} // namespace calendar
