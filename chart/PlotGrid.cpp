#include "chart/PlotGrid.h"

#include "chart/PlotCtrl.h"
#include "framework/Gdi.h"

void CPlotGrid::SetVisible(bool visible) {
    visible_ = visible;
    if (control_ != nullptr) {
        control_->Refresh();
    }
}

void CPlotGrid::SetColor(COLORREF colour) {
    colour_ = colour;
    if (control_ != nullptr) {
        control_->Refresh();
    }
}

void CPlotGrid::Draw(HDC dc) {
    if (!visible_ || dc == nullptr || control_ == nullptr) {
        return;
    }
    const RECT plot = control_->GetPlottingRect();
    ::IntersectClipRect(dc, plot.left, plot.top, plot.right, plot.bottom);
    // Dashes of three pixels with gaps of three, from the bottom up or from the left; all
    // of them go to GDI in one call.
    dashPoints_.clear();
    for (int t : ticks_) {
        if (horizontal_) {
            for (int y = plot.bottom; y > plot.top; y -= 6) {
                dashPoints_.push_back({t, y});
                dashPoints_.push_back({t, y - 3});
            }
        } else {
            for (int x = plot.left; x < plot.right; x += 6) {
                dashPoints_.push_back({x, t});
                dashPoints_.push_back({x + 3, t});
            }
        }
    }
    dashLengths_.assign(dashPoints_.size() / 2, 2);
    Pen pen(::CreatePen(PS_SOLID, 0, colour_));
    if (!dashLengths_.empty()) {
        ScopedSelect selectPen(dc, pen.get());
        ::PolyPolyline(dc, dashPoints_.data(), dashLengths_.data(),
                       static_cast<DWORD>(dashLengths_.size()));
    }
    ::SelectClipRgn(dc, nullptr);
}
