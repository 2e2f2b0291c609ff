#include "chart/PlotAxisLabel.h"

#include "chart/PlotCtrl.h"

void CPlotAxisLabel::RefreshControl() {
    if (control_ != nullptr) {
        control_->Refresh();
    }
}

void CPlotAxisLabel::SetHorizontal(bool horizontal) {
    horizontal_ = horizontal;
    font_.SetVertical(!horizontal);
}

void CPlotAxisLabel::SetText(const std::wstring& text) {
    text_ = text;
    RefreshControl();
}

void CPlotAxisLabel::SetTextColor(COLORREF colour) {
    textColour_ = colour;
    RefreshControl();
}

void CPlotAxisLabel::SetVisible(bool visible) {
    visible_ = visible;
    RefreshControl();
}

SIZE CPlotAxisLabel::GetSize(HDC dc) {
    if (!visible_ || dc == nullptr || text_.empty()) {
        return {0, 0};
    }
    font_.Select(dc);
    SIZE text{};
    ::GetTextExtentPoint32W(dc, text_.c_str(), static_cast<int>(text_.size()), &text);
    font_.Unselect(dc);
    if (horizontal_) {
        return {text.cx + 4, text.cy + 4};
    }
    return {text.cy + 4, text.cx + 4};
}

void CPlotAxisLabel::SetPosition(int x, int y, HDC dc) {
    SIZE size = GetSize(dc);
    rect_ = {x, y, x + size.cx, y + size.cy};
}

void CPlotAxisLabel::Draw(HDC dc) {
    if (!visible_ || dc == nullptr || text_.empty()) {
        return;
    }
    int previousMode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF previousColour = ::SetTextColor(dc, textColour_);
    font_.Select(dc);
    const int x = horizontal_ ? rect_.left : rect_.left + 2;
    const int y = horizontal_ ? rect_.top + 2 : rect_.top;
    ::ExtTextOutW(dc, x, y, 0, nullptr, text_.c_str(), static_cast<UINT>(text_.size()), nullptr);
    font_.Unselect(dc);
    ::SetTextColor(dc, previousColour);
    ::SetBkMode(dc, previousMode);
}
