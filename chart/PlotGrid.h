#pragma once
// The dotted grid lines of one axis: the axis hands over the pixel position of each tick
// while it draws, and the grid draws a line across the plotting rectangle at each one.

#include "framework/Gdi.h"

#include <windows.h>

#include <vector>

class CPlotCtrl;

class CPlotGrid {
  public:
    CPlotGrid() = default;
    virtual ~CPlotGrid() = default;
    CPlotGrid(const CPlotGrid&) = delete;
    CPlotGrid& operator=(const CPlotGrid&) = delete;

    void SetParentControl(CPlotCtrl* control) { control_ = control; }
    void SetHorizontal(bool horizontal) { horizontal_ = horizontal; }
    void SetVisible(bool visible);
    void SetColor(COLORREF colour);
    COLORREF GetColor() const { return colour_; }

    void ClearTicks() { ticks_.clear(); }
    void AddTick(int pixel) { ticks_.push_back(pixel); }
    const std::vector<int>& Ticks() const { return ticks_; }

    void Draw(HDC dc);

  private:
    // Each dash as a line of its own: right for any mapping mode.
    void DrawDashByDash(HDC dc, const RECT& plot);
    // Whole lines through a clip region of the dash pixels: for DCs that map one to one.
    void DrawThroughDashMask(HDC dc, const RECT& plot);
    void BuildDashMask(const RECT& plot);
    void DrawLines(HDC dc);

    COLORREF colour_ = RGB(128, 128, 128);
    CPlotCtrl* control_ = nullptr;
    bool visible_ = true;
    std::vector<int> ticks_;  // keeps its capacity, so redrawing allocates nothing
    bool horizontal_ = true;
    std::vector<POINT> lines_;  // drawing buffers, reused
    std::vector<DWORD> lineLengths_;
    Region dashMask_;
    RECT dashMaskRect_{};
    bool dashMaskHorizontal_ = true;
};
