#include "chart/PlotAxis.h"

#include "chart/PlotAxisLabel.h"
#include "chart/PlotCtrl.h"
#include "chart/PlotGrid.h"
#include "chart/PlotScrollBar.h"
#include "chart/PlotSeries.h"
#include "chart/PlotTextFont.h"
#include "chart/PlotTypes.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cwchar>

CPlotAxis::CPlotAxis()
    : grid_(std::make_unique<CPlotGrid>()), label_(std::make_unique<CPlotAxisLabel>()) {}

CPlotAxis::~CPlotAxis() = default;

void CPlotAxis::RefreshControl() const {
    if (control_ != nullptr) {
        control_->Refresh();
    }
}

int CPlotAxis::Length() const {
    return std::abs(end_ - start_);
}

void CPlotAxis::SetDiscreteMode(bool discrete) {
    discrete_ = discrete;
    RefreshControl();
}

void CPlotAxis::SetParentControl(CPlotCtrl* control) {
    control_ = control;
    grid_->SetParentControl(control);
    label_->SetParentControl(control);
}

void CPlotAxis::SetHorizontal(bool horizontal) {
    horizontal_ = horizontal;
    grid_->SetHorizontal(horizontal);
    label_->SetHorizontal(horizontal);
}

void CPlotAxis::SetVisible(bool visible) {
    visible_ = visible;
    RefreshControl();
}

void CPlotAxis::SetLineColor(COLORREF colour) {
    lineColour_ = colour;
    RefreshControl();
}

void CPlotAxis::SetTickLabelColor(COLORREF colour) {
    tickLabelColour_ = colour;
    RefreshControl();
}

void CPlotAxis::SetTickFont(int pointSizeTenths, const std::wstring& faceName) {
    tickFontSize_ = pointSizeTenths;
    tickFontFace_ = faceName;
    tickFont_.reset();
    RefreshControl();
}

// ---- Range ----

void CPlotAxis::SetAutoRange(bool automatic) {
    if (automatic) {
        automatic_ = 1;
        max_ = 0.0;
        min_ = 0.0;
    } else {
        automatic_ = 0;
    }
    RefreshAutoRange();
}

void CPlotAxis::SetRange(double min, double max) {
    min_ = min;
    resetMin_ = min;
    max_ = max;
    resetMax_ = max;
    RefreshScrollBar();
    RefreshControl();
}

void CPlotAxis::ResetZoom() {
    SetRange(resetMin_, resetMax_);
}

void CPlotAxis::LinkSeries(CPlotSeries* series) {
    if (series != nullptr &&
        std::find(linkedSeries_.begin(), linkedSeries_.end(), series) == linkedSeries_.end()) {
        linkedSeries_.push_back(series);
    }
}

void CPlotAxis::UnlinkSeries(CPlotSeries* series) {
    auto found = std::find(linkedSeries_.begin(), linkedSeries_.end(), series);
    if (found != linkedSeries_.end()) {
        linkedSeries_.erase(found);
    }
}

void CPlotAxis::SeriesExtent(double& newMin, double& newMax) const {
    newMin = 0.0;
    newMax = 0.0;
    if (linkedSeries_.empty()) {
        return;
    }
    // The first series seeds the extent. A series that reports nothing (hidden or empty)
    // writes nothing, so as the first one it leaves 0 in the extent, and later on the
    // temporaries still hold the extent of the series before it.
    auto extent = [this](const CPlotSeries* series, double& lo, double& hi) {
        return horizontal_ ? series->GetXExtent(lo, hi) : series->GetYExtent(lo, hi);
    };
    extent(linkedSeries_.front(), newMin, newMax);
    double tMin = 0.0;
    double tMax = 0.0;
    for (const CPlotSeries* series : linkedSeries_) {
        extent(series, tMin, tMax);
        if (tMin < newMin) {
            newMin = tMin;
        }
        if (tMax > newMax) {
            newMax = tMax;
        }
    }
}

void CPlotAxis::RefreshAutoRange() {
    RefreshScrollBar();
    if (automatic_ == 0) {
        return;
    }
    double newMin = 0.0;
    double newMax = 0.0;
    SeriesExtent(newMin, newMax);
    if (newMax == max_ && newMin == min_) {
        return;
    }
    SetRange(newMin, newMax);
}

// ---- Mapping ----

int CPlotAxis::ValueToScreenLinear(double value) const {
    if (max_ == min_) {
        return start_;
    }
    const LinearMap map{min_, max_ - min_, Length(), start_, horizontal_};
    return map(value);
}

bool CPlotAxis::GetLinearMap(LinearMap& map) const {
    if (discrete_ || max_ == min_) {
        return false;
    }
    map = {min_, max_ - min_, Length(), start_, horizontal_};
    return true;
}

int CPlotAxis::ValueToScreen(double value) const {
    if (max_ != min_) {
        return discrete_ ? ValueToScreenCentered(value) : ValueToScreenLinear(value);
    }
    const int middle = static_cast<int>(std::fabs((end_ - start_) / 2.0));
    return horizontal_ ? start_ + middle : start_ - middle;
}

double CPlotAxis::ScreenToValue(int pixel) const {
    // A collapsed axis (no pixels or no range) has only one value to offer.
    if (max_ == min_ || Length() == 0) {
        return min_;
    }
    const int offset = horizontal_ ? pixel - start_ : start_ - pixel;
    return offset * 1.0 / Length() * (max_ - min_) + min_;
}

bool CPlotAxis::IsValueOnAxis(double value) const {
    const int p = ValueToScreen(value);
    return horizontal_ ? (start_ <= p && p <= end_) : (end_ <= p && p <= start_);
}

bool CPlotAxis::IsPointInside(POINT point) const {
    return ::PtInRect(&axisRect_, point) != FALSE;
}

// ---- Zoom, pan, scroll ----

void CPlotAxis::Zoom(double newMin, double newMax) {
    if (max_ == min_) {
        return;
    }
    min_ = newMin;
    max_ = newMax - newMin < minZoomSpan_ ? newMin + minZoomSpan_ : newMax;
    RefreshScrollBar();
}

void CPlotAxis::Pan(int fromPixel, int toPixel) {
    const double shift = ScreenToValue(fromPixel) - ScreenToValue(toPixel);
    Zoom(min_ + shift, max_ + shift);
}

void CPlotAxis::ScrollStepInfo(int& stepCount, int& stepPosition) const {
    double seriesMin = 0.0;
    double seriesMax = 0.0;
    SeriesExtent(seriesMin, seriesMax);
    const double span = max_ - min_;
    const double extent = seriesMax - seriesMin;
    const double steps = std::ceil(extent / (span / 10.0));
    // A collapsed range or extent has nothing to scroll through, and neither have points
    // at infinity or NaN, whose steps could not be counted.
    if (span == 0.0 || extent == 0.0 || !std::isfinite(steps) || !std::isfinite(min_ - seriesMin)) {
        stepCount = 1;
        stepPosition = 1;
        return;
    }
    // Steps of a tenth of the shown range; a deep zoom could ask for more steps than an
    // int (and a scroll bar) holds, so the count is kept within range.
    constexpr double kMaxSteps = INT_MAX / 2;
    const double count = std::clamp(steps, 1.0, kMaxSteps);
    const double position = std::trunc(count * ((min_ - seriesMin) / extent));
    stepCount = static_cast<int>(count);
    stepPosition = static_cast<int>(std::clamp(position, -kMaxSteps, kMaxSteps));
}

void CPlotAxis::ScrollByStep(int previousStep, int currentStep, bool reversed) {
    const double shift = (currentStep - previousStep) * ((max_ - min_) / 10.0);
    if (reversed) {
        Zoom(min_ - shift, max_ - shift);
    } else {
        Zoom(min_ + shift, max_ + shift);
    }
    if (control_ != nullptr) {
        control_->RefreshAxes();
    }
}

// ---- Scroll bar ----

void CPlotAxis::CreateScrollBar() {
    scrollBar_ = std::make_unique<CPlotScrollBar>(this);
    if (control_ != nullptr) {
        scrollBar_->CreateBar(control_->GetPlottingRect());
    }
}

void CPlotAxis::RefreshScrollBar() {
    if (scrollBar_ != nullptr) {
        scrollBar_->RefreshSteps();
    }
}

void CPlotAxis::PositionScrollBar() {
    if (scrollBar_ == nullptr || scrollBar_->m_hWnd == nullptr || control_ == nullptr) {
        return;
    }
    RECT bar = control_->GetPlottingRect();
    bar.left += 1;
    bar.top += 1;
    // A bar created before the first layout has no size yet; give it the system's thickness.
    const SIZE current = scrollBar_->GetWindowSize();
    int height = current.cy;
    int width = current.cx;
    if (height <= 0) {
        height = ::GetSystemMetrics(SM_CYHSCROLL);
    }
    if (width <= 0) {
        width = ::GetSystemMetrics(SM_CXVSCROLL);
    }
    if (horizontal_) {
        if (secondary_) {
            bar.bottom = bar.top + height;
        } else {
            bar.top = bar.bottom - height;
        }
    } else if (secondary_) {
        bar.left = bar.right - width;
    } else {
        bar.right = bar.left + width;
    }
    scrollBar_->Place(bar);
}

// ---- Layout and drawing ----

HFONT CPlotAxis::TickFont(HDC dc) {
    const LONG height = PointHeightFor(tickFontSize_, dc);
    if (!tickFont_ || height != tickFontHeight_) {
        LOGFONTW description{};
        description.lfHeight = height;
        description.lfCharSet = DEFAULT_CHARSET;
        ::wcsncpy(description.lfFaceName, tickFontFace_.c_str(), LF_FACESIZE - 1);
        tickFont_.reset(::CreateFontIndirectW(&description));
        tickFontHeight_ = height;
        labelSizes_.clear();
    }
    return tickFont_.get();
}

SIZE CPlotAxis::MeasureTickLabel(HDC dc, const std::wstring& text) {
    // Panning through wide ranges meets ever new labels; a full table starts over.
    constexpr size_t kMaxRemembered = 1024;
    if (dc != labelSizesDC_ || labelSizes_.size() >= kMaxRemembered) {
        labelSizes_.clear();
        labelSizesDC_ = dc;
    }
    auto [entry, added] = labelSizes_.try_emplace(text, SIZE{0, 0});
    if (added) {
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &entry->second);
    }
    return entry->second;
}

template <class Visit>
void CPlotAxis::ForEachTick(Visit&& visit) {
    // An axis keeps its step when it becomes shorter than one tick spacing, and that step
    // may then cut a wide range into millions of ticks. No axis that lays its ticks out
    // itself has more than a few hundred, so the walk stops at a bound that a real layout
    // never reaches rather than stalling the window.
    constexpr int kMaxTicks = 10000;
    double value = FirstTickValue();
    double next = 0.0;
    for (int walked = 1;; ++walked) {
        visit(value);
        if (walked == kMaxTicks || !NextTickValue(value, next)) {
            return;
        }
        value = next;
    }
}

SIZE CPlotAxis::LargestTickLabelSize(HDC dc) {
    SIZE largest{0, 0};
    if (dc == nullptr) {
        return largest;
    }
    ScopedSelect font(dc, TickFont(dc));
    auto measure = [&](double value) {
        const SIZE size = MeasureTickLabel(dc, TickLabelText(value));
        largest.cx = std::max(largest.cx, size.cx);
        largest.cy = std::max(largest.cy, size.cy);
    };
    if (max_ != min_) {
        ForEachTick([&](double value) {
            if (IsValueOnAxis(value)) {
                measure(value);
            }
        });
    } else {
        measure(min_);
    }
    return largest;
}

void CPlotAxis::SetAxisSize(const RECT& controlRect, const RECT& plotRect) {
    axisRect_ = controlRect;
    if (horizontal_) {
        start_ = plotRect.left;
        end_ = plotRect.right;
        if (secondary_) {
            axisRect_.bottom = plotRect.top;
        } else {
            axisRect_.top = plotRect.bottom;
        }
    } else {
        start_ = plotRect.bottom;
        end_ = plotRect.top;
        if (secondary_) {
            axisRect_.left = plotRect.right;
        } else {
            axisRect_.right = plotRect.left;
        }
    }
}

void CPlotAxis::RefreshTicks() {
    UpdateTickStep();
    UpdateFirstTick();
}

int CPlotAxis::ClipMargin(const RECT& controlRect, RECT& plotRect, HDC dc) {
    if (!visible_) {
        return 0;
    }
    const SIZE ticks = LargestTickLabelSize(dc);
    const SIZE label = label_->GetSize(dc);
    int margin = 0;
    if (horizontal_) {
        margin = ticks.cy + label.cy + 6;
        if (secondary_) {
            plotRect.top = std::max(plotRect.top, controlRect.top + margin);
        } else {
            plotRect.bottom = std::min(plotRect.bottom, controlRect.bottom - margin);
        }
        plotRect.right = std::min(plotRect.right, controlRect.right - (ticks.cx / 2 + 3));
    } else {
        margin = ticks.cx + label.cx + 10;
        plotRect.top = std::max(plotRect.top, controlRect.top + ticks.cy / 2 + 3);
        if (secondary_) {
            plotRect.right = std::min(plotRect.right, controlRect.right - margin);
        } else {
            plotRect.left = std::max(plotRect.left, controlRect.left + margin);
        }
    }
    marginSize_ = margin;
    return margin;
}

void CPlotAxis::DrawTick(HDC dc, double value, int labelWidth, bool markAndGrid) {
    const RECT& r = axisRect_;
    const int p = markAndGrid ? TickScreenPosition(value) : 0;
    const int q = markAndGrid ? ValueToScreen(value) : ValueToScreen(min_);
    const bool markOnAxis =
        markAndGrid && (horizontal_ ? (start_ <= p && p <= end_) : (end_ <= p && p <= start_));
    const bool textOnAxis = !markAndGrid || IsValueOnAxis(value);
    if (markOnAxis) {
        if (horizontal_) {
            const int y = secondary_ ? r.bottom - 1 : r.top + 1;
            ::MoveToEx(dc, p, y, nullptr);
            ::LineTo(dc, p, secondary_ ? y - 3 : y + 3);
        } else {
            const int x = secondary_ ? r.left + 1 : r.right - 1;
            ::MoveToEx(dc, x, p, nullptr);
            ::LineTo(dc, secondary_ ? x + 3 : x - 3, p);
        }
    }
    if (textOnAxis) {
        const std::wstring& text = TickLabelText(value);
        const SIZE size = MeasureTickLabel(dc, text);
        int x = 0;
        int y = 0;
        if (horizontal_) {
            x = q - size.cx / 2;
            y = secondary_ ? r.bottom - size.cy - 5 : r.top + 5;
        } else {
            x = secondary_ ? r.left + 6 : r.left + labelWidth + 4;
            y = q - size.cy / 2;
        }
        ::ExtTextOutW(dc, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    }
    if (markAndGrid) {
        grid_->AddTick(p);
    }
}

void CPlotAxis::Draw(HDC dc) {
    if (!visible_ || dc == nullptr) {
        return;
    }
    Pen pen(::CreatePen(PS_SOLID, 0, lineColour_));
    ScopedSelect selectPen(dc, pen.get());
    ScopedSelect selectFont(dc, TickFont(dc));
    const COLORREF previousColour = ::SetTextColor(dc, tickLabelColour_);
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    const UINT previousAlign = ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);

    // Axis line just outside the plotting rectangle.
    if (horizontal_) {
        const int y = secondary_ ? axisRect_.bottom - 1 : axisRect_.top + 1;
        ::MoveToEx(dc, start_, y, nullptr);
        ::LineTo(dc, end_, y);
    } else {
        const int x = secondary_ ? axisRect_.left + 1 : axisRect_.right - 1;
        ::MoveToEx(dc, x, start_, nullptr);
        ::LineTo(dc, x, end_);
    }

    // Axis title beside the tick labels.
    const int mid = static_cast<int>(std::fabs((start_ + end_) / 2.0));
    const SIZE label = label_->GetSize(dc);
    int x = 0;
    int y = 0;
    if (horizontal_) {
        x = mid - label.cx / 2;
        y = secondary_ ? axisRect_.top : axisRect_.top + LargestTickLabelSize(dc).cy + 2;
    } else {
        x = secondary_ ? axisRect_.right - label.cx - 2 : axisRect_.left;
        y = mid + label.cy / 2;
    }
    label_->SetPosition(x, y, dc);
    label_->Draw(dc);

    grid_->ClearTicks();
    if (max_ != min_) {
        ForEachTick([&](double value) { DrawTick(dc, value, label.cx, true); });
    } else {
        // A collapsed range shows its one value in the middle, without mark or grid line.
        DrawTick(dc, min_, label.cx, false);
    }
    grid_->Draw(dc);

    ::SetTextAlign(dc, previousAlign);
    ::SetBkMode(dc, previousMode);
    ::SetTextColor(dc, previousColour);
}
