#pragma once
// The title text of an axis, written beside the axis' tick labels; vertical axes write it
// upward.

#include "chart/PlotTextFont.h"

#include <string>

class CPlotCtrl;

class CPlotAxisLabel {
  public:
    CPlotAxisLabel() = default;
    virtual ~CPlotAxisLabel() = default;
    CPlotAxisLabel(const CPlotAxisLabel&) = delete;
    CPlotAxisLabel& operator=(const CPlotAxisLabel&) = delete;

    void SetParentControl(CPlotCtrl* control) { control_ = control; }
    void SetHorizontal(bool horizontal);
    void SetText(const std::wstring& text);
    void SetTextColor(COLORREF colour);
    void SetVisible(bool visible);
    CPlotTextFont& GetFont() { return font_; }

    // The size the label needs: the text plus a border of two pixels on every side,
    // turned for a vertical label; zero when there is nothing to draw.
    SIZE GetSize(HDC dc);
    void SetPosition(int x, int y, HDC dc);
    const RECT& GetRect() const { return rect_; }
    void Draw(HDC dc);

  private:
    void RefreshControl();

    CPlotCtrl* control_ = nullptr;
    bool visible_ = true;
    RECT rect_{};
    COLORREF textColour_ = 0;
    bool horizontal_ = true;
    CPlotTextFont font_{L"Microsoft Sans Serif", 100};
    std::wstring text_;
};
