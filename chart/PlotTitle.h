#pragma once
// The chart title: centred text lines above the plotting rectangle, each optionally in a
// font of its own.

#include "chart/PlotTextFont.h"

#include <map>
#include <string>
#include <vector>

class CPlotCtrl;

class CPlotTitle {
  public:
    explicit CPlotTitle(CPlotCtrl* control) : control_(control) {}
    virtual ~CPlotTitle() = default;
    CPlotTitle(const CPlotTitle&) = delete;
    CPlotTitle& operator=(const CPlotTitle&) = delete;

    void AddLine(const std::wstring& text);
    void RemoveAllLines();
    // Gives line index a font of its own instead of the title font.
    void SetLineFont(unsigned index, CPlotTextFont font);
    void SetVisible(bool visible);
    void SetTextColor(COLORREF colour);
    CPlotTextFont& GetFont() { return font_; }

    // The size of the text block; also sets the rectangle's bottom to its top + height.
    SIZE GetSize(HDC dc);
    void SetRect(const RECT& rect) { rect_ = rect; }
    const RECT& GetRect() const { return rect_; }
    void Draw(HDC dc);
    bool IsPointInside(POINT point) const { return ::PtInRect(&rect_, point) != FALSE; }

  private:
    void RefreshControl();
    CPlotTextFont* LineFont(unsigned index);

    CPlotCtrl* control_;
    std::vector<std::wstring> lines_;
    std::map<unsigned, CPlotTextFont> lineFonts_;
    bool visible_ = true;
    CPlotTextFont font_{L"Microsoft Sans Serif", 100};
    COLORREF textColour_ = 0;
    RECT rect_{};
};
