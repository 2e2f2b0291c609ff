#pragma once
// A series drawn as one polyline through its points in a one-pixel pen of its colour.

#include "chart/PlotXYSeries.h"

#include <vector>

class CPlotLineSeries : public CPlotXYSeries {
  public:
    using CPlotXYSeries::CPlotXYSeries;
    ~CPlotLineSeries() override = default;

    bool HitTest(POINT point, int& index) const override;
    void DrawLegendSample(HDC dc, RECT rect) override;
    void DrawNewPoints(HDC dc) override;
    void DrawAll(HDC dc) override;

  private:
    // The visible range widened by one point on each side, so that lines into and out of
    // the plotting rectangle are drawn up to its edge.
    bool WidenedVisibleRange(unsigned& first, unsigned& last) const;
    void AppendScreenPoint(POINT p);

    std::vector<POINT> screenPoints_;  // reused by every drawing
};
