#include "chart/PlotTitle.h"

#include "chart/PlotCtrl.h"

#include <algorithm>
#include <cmath>
#include <utility>

void CPlotTitle::RefreshControl() {
    if (control_ != nullptr) {
        control_->Refresh();
    }
}

void CPlotTitle::AddLine(const std::wstring& text) {
    lines_.push_back(text);
    RefreshControl();
}

void CPlotTitle::RemoveAllLines() {
    lines_.clear();
    lineFonts_.clear();
    RefreshControl();
}

void CPlotTitle::SetLineFont(unsigned index, CPlotTextFont font) {
    lineFonts_.insert_or_assign(index, std::move(font));
    RefreshControl();
}

void CPlotTitle::SetVisible(bool visible) {
    visible_ = visible;
    RefreshControl();
}

void CPlotTitle::SetTextColor(COLORREF colour) {
    textColour_ = colour;
    RefreshControl();
}

CPlotTextFont* CPlotTitle::LineFont(unsigned index) {
    auto found = lineFonts_.find(index);
    return found != lineFonts_.end() ? &found->second : nullptr;
}

SIZE CPlotTitle::GetSize(HDC dc) {
    if (!visible_ || lines_.empty() || dc == nullptr) {
        return {0, 0};
    }
    font_.Select(dc);
    int height = 4;
    int width = 0;
    for (unsigned i = 0; i < lines_.size(); ++i) {
        CPlotTextFont* own = LineFont(i);
        if (own != nullptr) {
            own->Select(dc);
        }
        SIZE size{};
        ::GetTextExtentPoint32W(dc, lines_[i].c_str(), static_cast<int>(lines_[i].size()), &size);
        height += size.cy + 2;
        width = std::max(width, static_cast<int>(size.cx));
        if (own != nullptr) {
            own->Unselect(dc);
        }
    }
    font_.Unselect(dc);
    rect_.bottom = rect_.top + height;
    return {width + 2, height};
}

void CPlotTitle::Draw(HDC dc) {
    if (dc == nullptr || !visible_) {
        return;
    }
    font_.Select(dc);
    const COLORREF previousColour = ::SetTextColor(dc, textColour_);
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    int y = 4;
    for (unsigned i = 0; i < lines_.size(); ++i) {
        CPlotTextFont* own = LineFont(i);
        if (own != nullptr) {
            own->Select(dc);
        }
        const std::wstring& line = lines_[i];
        SIZE size{};
        ::GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        const int centre = static_cast<int>(std::fabs((rect_.left - rect_.right) / 2.0));
        const int x = centre + rect_.left - size.cx / 2;
        ::ExtTextOutW(dc, x, rect_.top + y, 0, nullptr, line.c_str(),
                      static_cast<UINT>(line.size()), nullptr);
        if (own != nullptr) {
            own->Unselect(dc);
        }
        y += size.cy + 2;
    }
    ::SetBkMode(dc, previousMode);
    ::SetTextColor(dc, previousColour);
    font_.Unselect(dc);
}
