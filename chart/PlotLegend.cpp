#include "chart/PlotLegend.h"

#include "chart/PlotCtrl.h"
#include "chart/PlotSeries.h"
#include "chart/PlotTextFont.h"
#include "framework/Gdi.h"

#include <algorithm>

void CPlotLegend::RefreshControl() {
    if (control_ != nullptr) {
        control_->Refresh();
    }
}

void CPlotLegend::SetVisible(bool visible) {
    visible_ = visible;
    RefreshControl();
}

void CPlotLegend::SetDocked(int side) {
    docked_ = true;
    dockSide_ = side;
    RefreshControl();
}

void CPlotLegend::SetFreePosition(int x, int y) {
    docked_ = false;
    freeX_ = x;
    freeY_ = y;
    RefreshControl();
}

void CPlotLegend::SetHorizontal(bool horizontal) {
    horizontal_ = horizontal;
    RefreshControl();
}

void CPlotLegend::SetTransparent(bool transparent) {
    transparent_ = transparent;
    RefreshControl();
}

void CPlotLegend::SetShadow(bool shadow, int depth) {
    shadow_ = shadow;
    shadowDepth_ = depth;
    RefreshControl();
}

void CPlotLegend::SetBackgroundColor(COLORREF colour) {
    backgroundColour_ = colour;
    RefreshControl();
}

void CPlotLegend::SetShadowColor(COLORREF colour) {
    shadowColour_ = colour;
    RefreshControl();
}

void CPlotLegend::SetFont(int pointSizeTenths, const std::wstring& faceName) {
    fontSize_ = pointSizeTenths;
    fontFace_ = faceName;
    RefreshControl();
}

CPlotSeries* CPlotLegend::NextListed(bool first) {
    if (control_ == nullptr) {
        return nullptr;
    }
    if (first) {
        control_->FirstSeries();
    }
    for (CPlotSeries* series = control_->NextSeries(); series != nullptr;
         series = control_->NextSeries()) {
        if (!series->GetName().empty() && series->IsVisible()) {
            return series;
        }
    }
    return nullptr;
}

namespace {
SIZE MeasureName(HDC dc, const std::wstring& name) {
    SIZE size{};
    ::GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &size);
    return size;
}
}  // namespace

void CPlotLegend::UpdatePosition(HDC dc, const RECT& plot) {
    rect_ = {};
    if (!visible_ || dc == nullptr) {
        return;
    }
    Font font(CreatePointFontFor(fontSize_, fontFace_, dc));
    int width = 0;
    int height = 0;
    int tallest = 0;
    int widest = 0;
    bool any = false;
    {
        ScopedSelect selectFont(dc, font.get());
        for (CPlotSeries* series = NextListed(true); series != nullptr;
             series = NextListed(false)) {
            any = true;
            const SIZE text = MeasureName(dc, series->GetName());
            if (horizontal_) {
                width += text.cx + sampleSize_.cx + 14;
                tallest = std::max(tallest, static_cast<int>(text.cy));
            } else {
                height += std::max(text.cy, sampleSize_.cy) + 2;
                widest = std::max(widest, static_cast<int>(text.cx));
            }
        }
    }
    if (!any) {
        return;
    }
    if (horizontal_) {
        width -= 6;
        height = std::max(tallest, static_cast<int>(sampleSize_.cy)) + 8;
    } else {
        width = widest + sampleSize_.cx + 12;
        height += 6;
    }
    if (!docked_) {
        rect_ = {freeX_, freeY_, freeX_ + width, freeY_ + height + 2};
        return;
    }
    // The centring terms are half the plotting rectangle's size, not offset by its corner.
    int left = 0;
    int top = 0;
    switch (dockSide_) {
        case kDockLeft:
            top = (plot.bottom - plot.top) / 2 - (height + 2) / 2;
            left = plot.left + 3;
            break;
        case kDockTop:
            top = plot.top + 3;
            left = (plot.right - plot.left) / 2 - width / 2;
            break;
        case kDockBottom:
            top = plot.bottom - height - 2;
            left = (plot.right - plot.left) / 2 - width / 2;
            break;
        case kDockRight:
        default:
            top = (plot.bottom - plot.top) / 2 - (height + 2) / 2;
            left = plot.right - width - 6;
            break;
    }
    rect_ = {left, top, left + width, top + height};
}

void CPlotLegend::ClipArea(RECT& plot, HDC dc) {
    UpdatePosition(dc, plot);
    if (::IsRectEmpty(&rect_) || !docked_) {
        return;
    }
    switch (dockSide_) {
        case kDockLeft:
            plot.left = rect_.right - 2;
            break;
        case kDockTop:
            plot.top = rect_.bottom + 2;
            break;
        case kDockBottom:
            plot.bottom = rect_.top - 2;
            break;
        case kDockRight:
        default:
            plot.right = rect_.left + 2;
            break;
    }
}

void CPlotLegend::Draw(HDC dc) {
    if (dc == nullptr || !visible_ || ::IsRectEmpty(&rect_)) {
        return;
    }
    Pen pen(::CreatePen(PS_SOLID, 0, RGB(0, 0, 0)));
    Font font(CreatePointFontFor(fontSize_, fontFace_, dc));
    if (shadow_) {
        RECT shadow = rect_;
        ::OffsetRect(&shadow, shadowDepth_, shadowDepth_);
        Brush brush(::CreateSolidBrush(shadowColour_));
        ::FillRect(dc, &shadow, brush.get());
    }
    if (!transparent_) {
        Brush brush(::CreateSolidBrush(backgroundColour_));
        ::FillRect(dc, &rect_, brush.get());
    }
    ScopedSelect selectFont(dc, font.get());
    ScopedSelect selectPen(dc, pen.get());
    const POINT outline[] = {{rect_.left, rect_.top},
                             {rect_.right, rect_.top},
                             {rect_.right, rect_.bottom},
                             {rect_.left, rect_.bottom},
                             {rect_.left, rect_.top}};
    ::Polyline(dc, outline, 5);
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);

    RECT sample = {rect_.left + 2, rect_.top + 5, rect_.left + 2 + sampleSize_.cx,
                   rect_.top + sampleSize_.cy + 6};
    for (CPlotSeries* series = NextListed(true); series != nullptr; series = NextListed(false)) {
        const std::wstring& name = series->GetName();
        const SIZE text = MeasureName(dc, name);
        int entryHeight = sampleSize_.cy;
        if (text.cy > sampleSize_.cy) {
            ::ExtTextOutW(dc, sample.right + 4, sample.top, 0, nullptr, name.c_str(),
                          static_cast<UINT>(name.size()), nullptr);
            RECT moved = sample;
            ::OffsetRect(&moved, 0, text.cy / 2 - (sample.bottom - sample.top) / 2);
            series->DrawLegendSample(dc, moved);
            entryHeight = text.cy;
        } else {
            const int centre = (sample.top + sample.bottom) / 2;
            ::ExtTextOutW(dc, sample.right + 4, centre - text.cy / 2, 0, nullptr, name.c_str(),
                          static_cast<UINT>(name.size()), nullptr);
            series->DrawLegendSample(dc, sample);
        }
        if (horizontal_) {
            ::OffsetRect(&sample, sampleSize_.cx + text.cx + 14, 0);
        } else {
            ::OffsetRect(&sample, 0, entryHeight + 2);
        }
    }
    ::SetBkMode(dc, previousMode);
}
