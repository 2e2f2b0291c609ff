#pragma once
// Small shared vocabulary of the chart control: axis positions, mouse event codes, the
// point type and the colours new series get.

#include <windows.h>

#include <algorithm>
#include <array>

// Positions of the four axes of a chart; bottom and top are horizontal, right and top are
// drawn on the far side of the plotting rectangle.
enum AxisSide : int { kAxisLeft = 0, kAxisBottom = 1, kAxisRight = 2, kAxisTop = 3 };
constexpr int kAxisSideCount = 4;

constexpr bool IsHorizontalSide(int side) {
    return side == kAxisBottom || side == kAxisTop;
}
constexpr bool IsSecondarySide(int side) {
    return side == kAxisRight || side == kAxisTop;
}

// Mouse events handed to series.
enum PlotMouseEvent : int {
    kPlotMouseMove = 0,
    kPlotLeftButtonUp = 1,
    kPlotLeftButtonDown = 2,
    kPlotLeftButtonDoubleClick = 3,
    kPlotRightButtonUp = 4,
    kPlotRightButtonDown = 5,
    kPlotRightButtonDoubleClick = 6,
};

// One chart point.
struct SPlotXYPoint {
    double X = 0.0;
    double Y = 0.0;
};

// Colours given to series in the order they are attached to a control, wrapping after ten.
inline constexpr std::array<COLORREF, 10> DefaultSeriesColours = {
    RGB(255, 0, 0),   RGB(0, 150, 0),   RGB(0, 0, 255),   RGB(255, 255, 0), RGB(0, 255, 255),
    RGB(255, 128, 0), RGB(128, 0, 128), RGB(128, 128, 0), RGB(255, 0, 255), RGB(64, 128, 128),
};

// The largest pixel coordinate, either way, that the chart hands to GDI: far beyond any
// screen, and well within what GDI draws and clips safely.
constexpr int kPixelLimit = 1 << 26;

// Converts a computed pixel coordinate to int. Values far outside any screen (huge zoom
// factors, infinities) are pinned to the pixel limit and NaN maps to 0, so that no
// conversion overflows.
inline int ToPixel(double value) {
    if (value != value) {
        return 0;
    }
    // Written as min and max, which compile without branches: the chart maps every
    // point through this.
    constexpr double kLimit = kPixelLimit;
    return static_cast<int>(std::min(std::max(value, -kLimit), kLimit));
}

// The same for the largest whole number not above value (what floor gives), without a
// call into the C library.
inline int FloorToPixel(double value) {
    const int truncated = ToPixel(value);
    return truncated > value ? truncated - 1 : truncated;
}
