#include "chart/PlotLineSeries.h"

#include "chart/PlotAxis.h"
#include "chart/PlotCtrl.h"
#include "chart/PlotPixelTarget.h"
#include "chart/PlotSegmentClip.h"
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

// Adds p to the line run[0..n), growing n unless p adds no pixel of its own.
inline void AppendToRun(POINT* run, size_t& n, POINT p) {
    // Many points fall on one pixel when the series is long; draw each pixel once.
    if (n > 0 && p.x == run[n - 1].x && p.y == run[n - 1].y) {
        return;
    }
    // A point that carries a horizontal or vertical run on in the same direction draws no
    // pixel the longer segment would not: extend the run instead of adding a segment.
    if (n > 1) {
        const POINT a = run[n - 2];
        const POINT b = run[n - 1];
        const bool sameRow = a.y == b.y && b.y == p.y && (b.x - a.x > 0) == (p.x - b.x > 0);
        const bool sameColumn = a.x == b.x && b.x == p.x && (b.y - a.y > 0) == (p.y - b.y > 0);
        if (sameRow || sameColumn) {
            run[n - 1] = p;
            return;
        }
    }
    run[n++] = p;
}
}  // namespace

void CPlotLineSeries::AppendScreenPoint(POINT p) {
    size_t n = used_ - runStart_;
    AppendToRun(screenPoints_.data() + runStart_, n, p);
    used_ = runStart_ + n;
}

void CPlotLineSeries::AppendMappedPoints(unsigned first, unsigned last,
                                         const CPlotAxis::LinearMap& mapX,
                                         const CPlotAxis::LinearMap& mapY) {
    // The chart's hottest loop: the line being built stays in locals.
    POINT* run = screenPoints_.data() + runStart_;
    size_t n = used_ - runStart_;
    for (unsigned i = first; i <= last; ++i) {
        const SPlotXYPoint& point = GetPoint(i);
        AppendToRun(run, n, POINT{mapX(point.X), mapY(point.Y)});
    }
    used_ = runStart_ + n;
}

void CPlotLineSeries::EndRun() {
    const size_t n = used_ - runStart_;
    if (n > 1) {
        runLengths_.push_back(static_cast<DWORD>(n));
        runStart_ = used_;
    } else {
        used_ = runStart_;  // a single point draws nothing
    }
}

void CPlotLineSeries::AppendFarPoints(unsigned first, unsigned last,
                                      const CPlotAxis::LinearMap& mapX,
                                      const CPlotAxis::LinearMap& mapY) {
    // Offsets are kept finite for the cutting; NaN goes to the start pixel, as ToPixel
    // would send it.
    auto finite = [](double offset) {
        constexpr double kFarthest = 1e300;
        return offset != offset ? 0.0 : std::clamp(offset, -kFarthest, kFarthest);
    };
    auto offsetOf = [&](unsigned i) {
        const SPlotXYPoint& point = GetPoint(i);
        return PlotOffset{finite(mapX.Offset(point.X)), finite(mapY.Offset(point.Y))};
    };
    auto pixelOf = [&](const PlotOffset& offset) {
        return POINT{mapX.Pixel(offset.x), mapY.Pixel(offset.y)};
    };
    PlotOffset previous = offsetOf(first);
    for (unsigned i = first + 1; i <= last; ++i) {
        const PlotOffset current = offsetOf(i);
        PlotOffset from = previous;
        PlotOffset to = current;
        if (ClipSegmentToSquare(from, to, kPixelLimit)) {
            // A segment that comes in from beyond the square starts a new line.
            if (!(from == previous) || used_ == runStart_) {
                EndRun();
                AppendScreenPoint(pixelOf(from));
            }
            AppendScreenPoint(pixelOf(to));
            if (!(to == current)) {
                EndRun();
            }
        } else {
            EndRun();
        }
        previous = current;
    }
}

bool CPlotLineSeries::FitsPixelLimit(const CPlotAxis::LinearMap& mapX,
                                     const CPlotAxis::LinearMap& mapY) const {
    // The mapping is linear, so the points lie between the mapped ends of the extent.
    const CPlotPointBuffer& points = GetPointBuffer();
    auto fits = [](double offset) { return std::fabs(offset) <= kPixelLimit; };
    return fits(mapX.Offset(points.MinX())) && fits(mapX.Offset(points.MaxX())) &&
           fits(mapY.Offset(points.MinY())) && fits(mapY.Offset(points.MaxY()));
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
    // Room for every point, and for the ends of the cut segments of far lines.
    const size_t room = 2 * (static_cast<size_t>(last - first) + 1);
    if (screenPoints_.size() < room) {
        screenPoints_.resize(room);
    }
    used_ = 0;
    runStart_ = 0;
    runLengths_.clear();
    if (!linear) {
        for (unsigned i = first; i <= last; ++i) {
            const SPlotXYPoint& point = GetPoint(i);
            AppendScreenPoint(
                {horizontal->ValueToScreen(point.X), vertical->ValueToScreen(point.Y)});
        }
    } else if (FitsPixelLimit(mapX, mapY)) {
        AppendMappedPoints(first, last, mapX, mapY);
    } else {
        AppendFarPoints(first, last, mapX, mapY);
    }
    EndRun();
    lastDrawnIndex_ = last;
    if (runLengths_.empty()) {
        return;  // all on one pixel: a one-point line draws nothing
    }
    PlotPixelTarget target;
    const CPlotCtrl* control = GetParentControl();
    if (control != nullptr && control->GetPixelTarget(dc, target)) {
        DrawRunsInPixels(target);
    } else {
        DrawRunsWithGdi(dc);
    }
}

void CPlotLineSeries::DrawRunsInPixels(const PlotPixelTarget& target) const {
    const RECT& plot = GetPlottingRect();
    const PixelBox clip{std::max(target.clip.left, static_cast<int>(plot.left)),
                        std::max(target.clip.top, static_cast<int>(plot.top)),
                        std::min(target.clip.right, static_cast<int>(plot.right)),
                        std::min(target.clip.bottom, static_cast<int>(plot.bottom))};
    const std::uint32_t pixel = PlotPixelTarget::PixelOf(GetColor());
    const POINT* run = screenPoints_.data();
    for (const DWORD length : runLengths_) {
        for (DWORD i = 1; i < length; ++i) {
            DrawPixelSegment(target.surface, clip, run[i - 1].x, run[i - 1].y, run[i].x, run[i].y,
                             pixel);
        }
        run += length;
    }
}

void CPlotLineSeries::DrawRunsWithGdi(HDC dc) const {
    RECT bounds = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (size_t i = 0; i < used_; ++i) {
        const POINT p = screenPoints_[i];
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
        if (runLengths_.size() == 1) {
            ::Polyline(dc, screenPoints_.data(), static_cast<int>(runLengths_[0]));
        } else {
            ::PolyPolyline(dc, screenPoints_.data(), runLengths_.data(),
                           static_cast<DWORD>(runLengths_.size()));
        }
    }
    ::SelectClipRgn(dc, nullptr);
    ::SetBkMode(dc, previousMode);
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
