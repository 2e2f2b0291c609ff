#pragma once
// A series drawn as a polyline through its points in a one-pixel pen of its colour.

#include "chart/PlotAxis.h"
#include "chart/PlotXYSeries.h"

#include <vector>

struct PlotPixelTarget;

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
    // Whether every point maps within the pixel limit (then nothing needs cutting).
    bool FitsPixelLimit(const CPlotAxis::LinearMap& mapX, const CPlotAxis::LinearMap& mapY) const;
    // Appends the points first..last, all of which map within the pixel limit.
    void AppendMappedPoints(unsigned first, unsigned last, const CPlotAxis::LinearMap& mapX,
                            const CPlotAxis::LinearMap& mapY);
    // Appends the points first..last, with segments that reach beyond the pixel limit cut
    // at it: pinning each end on its own would bend the line where it crosses the view.
    void AppendFarPoints(unsigned first, unsigned last, const CPlotAxis::LinearMap& mapX,
                         const CPlotAxis::LinearMap& mapY);
    // Adds a point to the line being built.
    void AppendScreenPoint(POINT p);
    // Closes the line being built; the next point starts another.
    void EndRun();
    // Draw the lines built by DrawAll: straight into the DC's pixels, or through GDI.
    void DrawRunsInPixels(const PlotPixelTarget& target) const;
    void DrawRunsWithGdi(HDC dc) const;

    // What DrawAll hands to GDI, reused by every drawing: the lines' points one after the
    // other in the first used_ entries, the number of points of each line, and where the
    // line being built starts.
    std::vector<POINT> screenPoints_;
    size_t used_ = 0;
    std::vector<DWORD> runLengths_;
    size_t runStart_ = 0;
};
