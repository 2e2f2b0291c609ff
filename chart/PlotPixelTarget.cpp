#include "chart/PlotPixelTarget.h"

namespace {
bool DrawsInPlainPixels(HDC dc) {
    POINT viewport{};
    POINT window{};
    return ::GetMapMode(dc) == MM_TEXT && ::GetGraphicsMode(dc) == GM_COMPATIBLE &&
           ::GetROP2(dc) == R2_COPYPEN && ::GetViewportOrgEx(dc, &viewport) != FALSE &&
           ::GetWindowOrgEx(dc, &window) != FALSE && viewport.x == 0 && viewport.y == 0 &&
           window.x == 0 && window.y == 0;
}
}  // namespace

bool FindPixelTarget(HDC dc, const MemoryDC& memory, PlotPixelTarget& target) {
    if (dc == nullptr || dc != memory.get() || memory.pixels() == nullptr ||
        !DrawsInPlainPixels(dc)) {
        return false;
    }
    RECT box{};
    const int clipping = ::GetClipBox(dc, &box);
    if (clipping != SIMPLEREGION && clipping != NULLREGION) {
        return false;  // a clip of several rectangles is left to GDI
    }
    const SIZE size = memory.size();
    target.surface = {memory.pixels(), size.cx, static_cast<int>(size.cx),
                      static_cast<int>(size.cy)};
    target.clip = clipping == NULLREGION
                      ? PixelBox{}
                      : PixelBox{static_cast<int>(box.left), static_cast<int>(box.top),
                                 static_cast<int>(box.right), static_cast<int>(box.bottom)};
    ::GdiFlush();
    return true;
}
