#pragma once
// The legend: a framed box listing the names of the visible, named series of the control,
// each with a short sample of its line. Docked to a side of the plotting rectangle it
// takes its area from there.

#include <windows.h>

#include <string>

class CPlotCtrl;
class CPlotSeries;

class CPlotLegend {
  public:
    enum DockSide : int { kDockRight = 0, kDockLeft = 1, kDockTop = 2, kDockBottom = 3 };

    explicit CPlotLegend(CPlotCtrl* control) : control_(control) {}
    virtual ~CPlotLegend() = default;
    CPlotLegend(const CPlotLegend&) = delete;
    CPlotLegend& operator=(const CPlotLegend&) = delete;

    void SetVisible(bool visible);
    bool IsVisible() const { return visible_; }
    void SetDocked(int side);
    void SetFreePosition(int x, int y);
    void SetHorizontal(bool horizontal);
    void SetTransparent(bool transparent);
    void SetShadow(bool shadow, int depth);
    void SetBackgroundColor(COLORREF colour);
    void SetShadowColor(COLORREF colour);
    void SetFont(int pointSizeTenths, const std::wstring& faceName);

    void ClipArea(RECT& plotRect, HDC dc);
    void Draw(HDC dc);
    bool IsPointInside(POINT point) const { return ::PtInRect(&rect_, point) != FALSE; }
    const RECT& GetRect() const { return rect_; }
    void UpdatePosition(HDC dc, const RECT& plotRect);

  private:
    void RefreshControl();
    // The next series with a name that is visible, walking the control's series.
    CPlotSeries* NextListed(bool first);

    CPlotCtrl* control_;
    RECT rect_{};
    std::wstring fontFace_ = L"Times New Roman";
    int fontSize_ = 100;
    bool docked_ = true;
    int dockSide_ = kDockRight;
    int freeX_ = 0;
    int freeY_ = 0;
    bool visible_ = false;
    bool transparent_ = false;
    bool horizontal_ = false;
    bool shadow_ = true;
    int shadowDepth_ = 3;
    COLORREF backgroundColour_ = RGB(255, 255, 255);
    COLORREF shadowColour_ = 0;
    SIZE sampleSize_{16, 16};
};
