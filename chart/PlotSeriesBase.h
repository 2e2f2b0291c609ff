#pragma once
// Point storage for a series and everything that needs only the points: extents, the
// visible point range, point labels and the mouse hook.

#include "chart/PlotPointBuffer.h"
#include "chart/PlotSeries.h"

#include <map>
#include <memory>
#include <vector>

// A text or mark drawn beside one point of a series.
class CPlotPointLabel {
  public:
    virtual ~CPlotPointLabel() = default;
    virtual void Draw(HDC dc, POINT point) = 0;
};

template <class Point>
class CPlotSeriesBase : public CPlotSeries {
  public:
    explicit CPlotSeriesBase(CPlotCtrl* control);
    ~CPlotSeriesBase() override;

    unsigned GetPointsCount() const override;
    POINT GetPointScreenCoord(unsigned index) const override;
    bool GetYExtent(double& min, double& max) const override;
    bool GetXExtent(double& min, double& max) const override;
    bool GetVisibleXExtent(double& min, double& max) const override;
    bool GetVisibleYExtent(double& min, double& max) const override;
    bool GetVisiblePointRange(unsigned& first, unsigned& last) const override;
    void DrawPointLabels(HDC dc) override;
    bool NotifyMouseEvent(int kind, POINT point) override;
    virtual void SetOrdering(int ordering);

    // Replaces all points by (x[i], y[i]), i < count, and re-evaluates the axes.
    void SetPoints(const double* x, const double* y, unsigned count);
    void ClearPoints();
    const Point& GetPoint(unsigned index) const { return points_.At(index); }
    const CPlotPointBuffer& GetPointBuffer() const { return points_; }

    // Takes ownership of label, replacing any label of that point.
    void SetPointLabel(unsigned index, std::unique_ptr<CPlotPointLabel> label);
    void SetMouseListener(CPlotSeriesMouseListener* listener) { mouseListener_ = listener; }

  protected:
    unsigned lastDrawnIndex_ = 0;

  private:
    // The extent of one coordinate over the visible point range [first, last), when the
    // points are kept in the given ordering.
    bool VisibleExtent(int ordering, double Point::*coordinate, double& min, double& max) const;

    CPlotPointBuffer points_;
    std::map<unsigned, std::unique_ptr<CPlotPointLabel>> pointLabels_;
    CPlotSeriesMouseListener* mouseListener_ = nullptr;
    std::vector<Point> scratch_;  // keeps its capacity between calls of SetPoints
};

extern template class CPlotSeriesBase<SPlotXYPoint>;
