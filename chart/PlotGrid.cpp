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
    Pen pen(::CreatePen(PS_SOLID, 0, colour_));
    {
        ScopedSelect selectPen(dc, pen.get());
        // Dashes of three pixels with gaps of three, from the bottom up or from the left.
        for (int t : ticks_) {
            if (horizontal_) {
                for (int y = plot.bottom; y > plot.top; y -= 6) {
                    ::MoveToEx(dc, t, y, nullptr);
                    ::LineTo(dc, t, y - 3);
                }
            } else {
                for (int x = plot.left; x < plot.right; x += 6) {
                    ::MoveToEx(dc, x, t, nullptr);
                    ::LineTo(dc, x + 3, t);
                }
            }
        }
    }
    ::SelectClipRgn(dc, nullptr);
}
