#pragma once
// The point storage of a series: a reusable array kept in the series' ordering, with the
// extent of its points and a search for the points inside an axis range.

#include "chart/PlotTypes.h"

#include <memory>

class CPlotPointBuffer {
  public:
    static constexpr unsigned kInitialCapacity = 1000;
    enum Ordering : int { kNoOrdering = 0, kOrderByX = 1, kOrderByY = 2 };

    CPlotPointBuffer();

    // Replaces the points; the array is reused while it is large enough.
    void SetPoints(const SPlotXYPoint* points, unsigned count);
    // Drops the points and goes back to an array of the initial capacity.
    void Clear();
    void SetOrdering(int ordering);
    int GetOrdering() const { return ordering_; }

    unsigned GetCount() const { return count_; }
    unsigned GetCapacity() const { return capacity_; }
    const SPlotXYPoint& At(unsigned index) const { return points_[index]; }

    // The extent; meaningful only while the buffer holds points.
    double MinX() const { return minX_; }
    double MaxX() const { return maxX_; }
    double MinY() const { return minY_; }
    double MaxY() const { return maxY_; }

    // Index of the point whose key (X or Y, by the ordering) brackets value in [lo, hi].
    unsigned Search(unsigned lo, unsigned hi, double value) const;
    // The points that fall into [axisMin, axisMax] of the ordering key; all of them when
    // unordered. False when the buffer is empty.
    bool GetVisibleRange(double axisMin, double axisMax, unsigned& first, unsigned& last) const;

  private:
    void Sort();
    void RefreshExtent();
    double Key(unsigned index) const;

    double minX_ = 0.0;
    double maxX_ = 0.0;
    double minY_ = 0.0;
    double maxY_ = 0.0;
    std::unique_ptr<SPlotXYPoint[]> points_;
    unsigned capacity_ = 0;
    unsigned count_ = 0;
    unsigned initialCapacity_ = kInitialCapacity;
    int ordering_ = kOrderByX;
};
