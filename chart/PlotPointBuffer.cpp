#include "chart/PlotPointBuffer.h"

#include <algorithm>
#include <cmath>

CPlotPointBuffer::CPlotPointBuffer()
    : points_(std::make_unique<SPlotXYPoint[]>(kInitialCapacity)), capacity_(kInitialCapacity) {}

void CPlotPointBuffer::SetPoints(const SPlotXYPoint* points, unsigned count) {
    if (capacity_ < count) {
        points_.reset();
        points_ = std::make_unique<SPlotXYPoint[]>(count);
        capacity_ = count;
    }
    count_ = count;
    if (count > 0) {
        std::copy(points, points + count, points_.get());
    }
    Sort();
    RefreshExtent();
}

void CPlotPointBuffer::Clear() {
    points_.reset();
    points_ = std::make_unique<SPlotXYPoint[]>(initialCapacity_);
    capacity_ = initialCapacity_;
    count_ = 0;
}

void CPlotPointBuffer::SetOrdering(int ordering) {
    ordering_ = ordering;
    Sort();
}

namespace {
// Ascending, with NaN before every number so that the order stays strict and weak (a plain
// < with NaN keys would let the sort run past the array).
bool KeyLess(double a, double b) {
    return (std::isnan(a) && !std::isnan(b)) || a < b;
}
}  // namespace

void CPlotPointBuffer::Sort() {
    SPlotXYPoint* begin = points_.get();
    SPlotXYPoint* end = begin + count_;
    // Points usually arrive in order already (a time series): checking costs one pass,
    // sorting them again many.
    auto sortBy = [begin, end](auto less) {
        if (!std::is_sorted(begin, end, less)) {
            std::sort(begin, end, less);
        }
    };
    if (ordering_ == kOrderByX) {
        sortBy([](const SPlotXYPoint& a, const SPlotXYPoint& b) { return KeyLess(a.X, b.X); });
    } else if (ordering_ == kOrderByY) {
        sortBy([](const SPlotXYPoint& a, const SPlotXYPoint& b) { return KeyLess(a.Y, b.Y); });
    }
}

void CPlotPointBuffer::RefreshExtent() {
    if (count_ == 0) {
        return;
    }
    minX_ = maxX_ = points_[0].X;
    minY_ = maxY_ = points_[0].Y;
    for (unsigned i = 0; i < count_; ++i) {
        const SPlotXYPoint& p = points_[i];
        minX_ = std::min(minX_, p.X);
        maxX_ = std::max(maxX_, p.X);
        minY_ = std::min(minY_, p.Y);
        maxY_ = std::max(maxY_, p.Y);
    }
}

double CPlotPointBuffer::Key(unsigned index) const {
    return ordering_ == kOrderByY ? points_[index].Y : points_[index].X;
}

unsigned CPlotPointBuffer::Search(unsigned lo, unsigned hi, double value) const {
    // Bisection written as a loop: each round narrows [lo, hi] exactly as a recursive call.
    for (;;) {
        const unsigned mid = lo + (hi - lo) / 2;
        if (value < Key(mid)) {
            if (lo >= mid) {
                return lo;
            }
            hi = mid - 1;
        } else {
            if (mid >= hi) {
                return hi;
            }
            lo = mid + 1;
        }
    }
}

bool CPlotPointBuffer::GetVisibleRange(double axisMin, double axisMax, unsigned& first,
                                       unsigned& last) const {
    if (count_ == 0) {
        return false;
    }
    if (ordering_ == kNoOrdering) {
        first = 0;
        last = count_ - 1;
        return true;
    }
    first = Search(0, count_ - 1, axisMin);
    last = Search(first, count_ - 1, axisMax);
    return true;
}
