#include "chart/PlotLineSeries.h"

#include "chart/PlotCtrl.h"
#include "framework/Gdi.h"

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
    Pen pen(::CreatePen(PS_SOLID, 1, GetColor()));
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    const RECT& clip = GetPlottingRect();
    ::IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    {
        ScopedSelect selectPen(dc, pen.get());
        // Many points fall on one pixel when the series is long; draw each pixel once.
        screenPoints_.clear();
        for (unsigned i = first; i <= last; ++i) {
            const POINT p = GetPointScreenCoord(i);
            if (screenPoints_.empty() || p.x != screenPoints_.back().x ||
                p.y != screenPoints_.back().y) {
                screenPoints_.push_back(p);
            }
        }
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
