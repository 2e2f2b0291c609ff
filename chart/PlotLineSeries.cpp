#include "chart/PlotLineSeries.h"

#include "chart/PlotAxis.h"
#include "chart/PlotCtrl.h"
#include "framework/Gdi.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {
// Whether p lies within three pixels of the segment from a to b (across and along it).
bool IsNearSegment(POINT p, POINT a, POINT b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double squaredLength = dx * dx + dy * dy;
    if (squaredLength == 0.0) {
        return false;
    }
    const double u = ((p.x - a.x) * dx + (p.y - a.y) * dy) / squaredLength;
    if (u < 0.0 || u > 1.0) {
        return false;
    }
    return std::fabs(p.x - (a.x + u * dx)) <= 3.0 && std::fabs(p.y - (a.y + u * dy)) <= 3.0;
}

bool IsNearPoint(POINT p, POINT q) {
    return std::abs(p.x - q.x) <= 5 && std::abs(p.y - q.y) <= 5;
}
}  // namespace

void CPlotLineSeries::AppendScreenPoint(POINT p) {
    // Many points fall on one pixel when the series is long; draw each pixel once.
    const size_t n = screenPoints_.size();
    if (n > 0 && p.x == screenPoints_[n - 1].x && p.y == screenPoints_[n - 1].y) {
        return;
    }
    // A point that carries a horizontal or vertical run on in the same direction draws no
    // pixel the longer segment would not: extend the run instead of adding a segment.
    if (n > 1) {
        const POINT a = screenPoints_[n - 2];
        const POINT b = screenPoints_[n - 1];
        const bool sameRow = a.y == b.y && b.y == p.y && (b.x - a.x > 0) == (p.x - b.x > 0);
        const bool sameColumn = a.x == b.x && b.x == p.x && (b.y - a.y > 0) == (p.y - b.y > 0);
        if (sameRow || sameColumn) {
            screenPoints_[n - 1] = p;
            return;
        }
    }
    screenPoints_.push_back(p);
}

bool CPlotLineSeries::WidenedVisibleRange(unsigned& first, unsigned& last) const {
    if (!GetVisiblePointRange(first, last)) {
        return false;
    }
    if (first > 0) {
        --first;
    }
    if (last < GetPointsCount() - 1) {
        ++last;
    }
    return true;
}

bool CPlotLineSeries::HitTest(POINT point, int& index) const {
    index = -1;
    unsigned first = 0;
    unsigned last = 0;
    if (!IsVisible() || !WidenedVisibleRange(first, last)) {
        return false;
    }
    for (unsigned i = first; i < last; ++i) {
        const POINT a = GetPointScreenCoord(i);
        const POINT b = GetPointScreenCoord(i + 1);
        if (IsNearSegment(point, a, b)) {
            if (IsNearPoint(point, a)) {
                index = static_cast<int>(i);
            }
            if (IsNearPoint(point, b)) {
                index = static_cast<int>(i + 1);
            }
            return true;
        }
    }
    return false;
}

void CPlotLineSeries::DrawAll(HDC dc) {
    unsigned first = 0;
    unsigned last = 0;
    if (!IsVisible() || dc == nullptr || !WidenedVisibleRange(first, last) || first == last) {
        return;
    }
    const CPlotAxis* horizontal = GetHorizontalAxis();
    const CPlotAxis* vertical = GetVerticalAxis();
    if (horizontal == nullptr || vertical == nullptr) {
        return;
    }
    CPlotAxis::LinearMap mapX;
    CPlotAxis::LinearMap mapY;
    const bool linear = horizontal->GetLinearMap(mapX) && vertical->GetLinearMap(mapY);
    screenPoints_.clear();
    RECT bounds = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (unsigned i = first; i <= last; ++i) {
        const SPlotXYPoint& point = GetPoint(i);
        const POINT p =
            linear ? POINT{mapX(point.X), mapY(point.Y)}
                   : POINT{horizontal->ValueToScreen(point.X), vertical->ValueToScreen(point.Y)};
        AppendScreenPoint(p);
        bounds.left = std::min(bounds.left, p.x);
        bounds.top = std::min(bounds.top, p.y);
        bounds.right = std::max(bounds.right, p.x);
        bounds.bottom = std::max(bounds.bottom, p.y);
    }
    Pen pen(::CreatePen(PS_SOLID, 1, GetColor()));
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    // Clipping costs GDI time on every segment; a line wholly inside the plotting
    // rectangle (the usual case with automatic ranges) looks the same without it.
    const RECT& clip = GetPlottingRect();
    const bool inside = bounds.left >= clip.left && bounds.top >= clip.top &&
                        bounds.right < clip.right && bounds.bottom < clip.bottom;
    if (!inside) {
        ::IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    }
    {
        ScopedSelect selectPen(dc, pen.get());
        ::Polyline(dc, screenPoints_.data(), static_cast<int>(screenPoints_.size()));
    }
    ::SelectClipRgn(dc, nullptr);
    ::SetBkMode(dc, previousMode);
    lastDrawnIndex_ = last;
}

void CPlotLineSeries::DrawNewPoints(HDC dc) {
    if (!IsVisible() || dc == nullptr || GetPointsCount() == 0) {
        return;
    }
    Pen pen(::CreatePen(PS_SOLID, 1, GetColor()));
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    const RECT clip =
        GetParentControl() != nullptr ? GetParentControl()->GetPlottingRect() : GetPlottingRect();
    ::IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    {
        ScopedSelect selectPen(dc, pen.get());
        while (lastDrawnIndex_ < GetPointsCount() - 1) {
            const POINT from = GetPointScreenCoord(lastDrawnIndex_);
            const POINT to = GetPointScreenCoord(lastDrawnIndex_ + 1);
            ::MoveToEx(dc, from.x, from.y, nullptr);
            ::LineTo(dc, to.x, to.y);
            ++lastDrawnIndex_;
        }
    }
    ::SelectClipRgn(dc, nullptr);
    ::SetBkMode(dc, previousMode);
}

void CPlotLineSeries::DrawLegendSample(HDC dc, RECT rect) {
    if (GetName().empty() || dc == nullptr) {
        return;
    }
    LOGBRUSH brush{BS_SOLID, GetColor(), 0};
    Pen pen(::ExtCreatePen(PS_GEOMETRIC | PS_SOLID, 1, &brush, 0, nullptr));
    ScopedSelect selectPen(dc, pen.get());
    const int y = (rect.top + rect.bottom) / 2;
    ::MoveToEx(dc, rect.left, y, nullptr);
    ::LineTo(dc, rect.right, y);
}
