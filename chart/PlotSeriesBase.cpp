#include "chart/PlotSeriesBase.h"

#include "chart/PlotAxis.h"

#include <algorithm>
#include <utility>

template <class Point>
CPlotSeriesBase<Point>::CPlotSeriesBase(CPlotCtrl* control) : CPlotSeries(control) {}

template <class Point>
CPlotSeriesBase<Point>::~CPlotSeriesBase() = default;

template <class Point>
unsigned CPlotSeriesBase<Point>::GetPointsCount() const {
    return points_.GetCount();
}

template <class Point>
POINT CPlotSeriesBase<Point>::GetPointScreenCoord(unsigned index) const {
    const Point& point = points_.At(index);
    return ValueToScreen(point.X, point.Y);
}

template <class Point>
bool CPlotSeriesBase<Point>::GetYExtent(double& min, double& max) const {
    if (!IsVisible() || points_.GetCount() == 0) {
        return false;
    }
    min = points_.MinY();
    max = points_.MaxY();
    return true;
}

template <class Point>
bool CPlotSeriesBase<Point>::GetXExtent(double& min, double& max) const {
    if (!IsVisible() || points_.GetCount() == 0) {
        return false;
    }
    min = points_.MinX();
    max = points_.MaxX();
    return true;
}

template <class Point>
bool CPlotSeriesBase<Point>::GetVisibleXExtent(double& min, double& max) const {
    return VisibleExtent(CPlotPointBuffer::kOrderByY, &Point::X, min, max);
}

template <class Point>
bool CPlotSeriesBase<Point>::GetVisibleYExtent(double& min, double& max) const {
    return VisibleExtent(CPlotPointBuffer::kOrderByX, &Point::Y, min, max);
}

template <class Point>
bool CPlotSeriesBase<Point>::VisibleExtent(int ordering, double Point::*coordinate, double& min,
                                           double& max) const {
    unsigned first = 0;
    unsigned last = 0;
    if (!IsVisible() || points_.GetOrdering() != ordering || !GetVisiblePointRange(first, last) ||
        first >= last) {
        return false;
    }
    min = max = points_.At(first).*coordinate;
    for (unsigned i = first; i < last; ++i) {
        min = std::min(min, points_.At(i).*coordinate);
        max = std::max(max, points_.At(i).*coordinate);
    }
    return true;
}

template <class Point>
bool CPlotSeriesBase<Point>::GetVisiblePointRange(unsigned& first, unsigned& last) const {
    const CPlotAxis* axis = nullptr;
    if (points_.GetOrdering() == CPlotPointBuffer::kOrderByX) {
        axis = GetHorizontalAxis();
    } else if (points_.GetOrdering() == CPlotPointBuffer::kOrderByY) {
        axis = GetVerticalAxis();
    }
    if (axis == nullptr) {
        return points_.GetOrdering() == CPlotPointBuffer::kNoOrdering &&
               points_.GetVisibleRange(0.0, 0.0, first, last);
    }
    return points_.GetVisibleRange(axis->GetMin(), axis->GetMax(), first, last);
}

template <class Point>
void CPlotSeriesBase<Point>::DrawPointLabels(HDC dc) {
    for (const auto& [index, label] : pointLabels_) {
        if (index < points_.GetCount()) {
            label->Draw(dc, GetPointScreenCoord(index));
        }
    }
}

template <class Point>
bool CPlotSeriesBase<Point>::NotifyMouseEvent(int kind, POINT point) {
    if (mouseListener_ == nullptr) {
        return false;
    }
    int index = -1;
    if (!HitTest(point, index)) {
        return false;
    }
    mouseListener_->OnSeriesMouseEvent(kind, *this, index);
    return true;
}

template <class Point>
void CPlotSeriesBase<Point>::SetOrdering(int ordering) {
    points_.SetOrdering(ordering);
}

template <class Point>
void CPlotSeriesBase<Point>::SetPoints(const double* x, const double* y, unsigned count) {
    scratch_.resize(count);
    for (unsigned i = 0; i < count; ++i) {
        scratch_[i].X = x[i];
        scratch_[i].Y = y[i];
    }
    points_.SetPoints(scratch_.data(), count);
    RefreshAutoAxes(true);
}

template <class Point>
void CPlotSeriesBase<Point>::ClearPoints() {
    points_.Clear();
    pointLabels_.clear();
    scratch_ = std::vector<Point>();
    lastDrawnIndex_ = 0;
    RefreshAutoAxes(true);
}

template <class Point>
void CPlotSeriesBase<Point>::SetPointLabel(unsigned index, std::unique_ptr<CPlotPointLabel> label) {
    pointLabels_[index] = std::move(label);
}

template class CPlotSeriesBase<SPlotXYPoint>;
