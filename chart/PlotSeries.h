#pragma once
// A series is one data line of a chart: its name for the legend, colour, visibility and
// the two axes that map its values to pixels. Point storage and drawing come from the
// derived classes.

#include <windows.h>

#include <string>

class CPlotAxis;
class CPlotCtrl;
class CPlotSeries;

// Told about mouse events that hit a series' line.
class CPlotSeriesMouseListener {
  public:
    virtual ~CPlotSeriesMouseListener() = default;
    // pointIndex is the point within five pixels of the mouse, or -1.
    virtual void OnSeriesMouseEvent(int kind, CPlotSeries& series, int pointIndex) = 0;
};

class CPlotSeries {
  public:
    explicit CPlotSeries(CPlotCtrl* control);
    CPlotSeries(const CPlotSeries&) = delete;
    CPlotSeries& operator=(const CPlotSeries&) = delete;

    virtual unsigned GetPointsCount() const = 0;
    virtual POINT GetPointScreenCoord(unsigned index) const = 0;
    virtual bool GetYExtent(double& min, double& max) const = 0;
    virtual bool GetXExtent(double& min, double& max) const = 0;
    virtual bool GetVisibleXExtent(double& min, double& max) const = 0;
    virtual bool GetVisibleYExtent(double& min, double& max) const = 0;
    virtual ~CPlotSeries();
    virtual bool HitTest(POINT point, int& index) const = 0;
    virtual bool GetVisiblePointRange(unsigned& first, unsigned& last) const = 0;
    virtual void DrawLegendSample(HDC dc, RECT rect) = 0;
    virtual void DrawNewPoints(HDC dc) = 0;
    virtual void DrawAll(HDC dc) = 0;
    virtual void DrawPointLabels(HDC dc) = 0;
    virtual bool NotifyMouseEvent(int kind, POINT point) = 0;

    unsigned GetId() const { return id_; }
    CPlotCtrl* GetParentControl() const { return control_; }

    void SetName(const std::wstring& name);
    const std::wstring& GetName() const { return name_; }
    void SetVisible(bool visible);
    bool IsVisible() const { return visible_; }
    void SetColor(COLORREF colour);
    COLORREF GetColor() const { return colour_; }
    void SetPlottingRect(const RECT& rect) { plotRect_ = rect; }
    const RECT& GetPlottingRect() const { return plotRect_; }

    void SetHorizontalAxis(CPlotAxis* axis) { horizontalAxis_ = axis; }
    void SetVerticalAxis(CPlotAxis* axis) { verticalAxis_ = axis; }
    CPlotAxis* GetHorizontalAxis() const { return horizontalAxis_; }
    CPlotAxis* GetVerticalAxis() const { return verticalAxis_; }

    // Pixel position of a value pair through the series' axes.
    POINT ValueToScreen(double x, double y) const;
    // Re-evaluates the automatic ranges of both axes as one batch, and refreshes the
    // control too when refresh is true.
    void RefreshAutoAxes(bool refresh);

  private:
    static unsigned nextId_;

    CPlotCtrl* control_;
    CPlotAxis* verticalAxis_ = nullptr;
    CPlotAxis* horizontalAxis_ = nullptr;
    std::wstring name_;
    bool visible_ = true;
    COLORREF colour_ = 0;
    RECT plotRect_{};
    unsigned id_;
};
