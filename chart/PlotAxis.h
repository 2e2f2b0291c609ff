#pragma once
// An axis maps values of one dimension onto pixels of the plotting rectangle, keeps its
// range manual or automatic (from the series linked to it), reserves the margin its tick
// labels need, and draws its line, ticks, labels and grid. Tick placement and labelling
// belong to the derived class.

#include "chart/PlotTypes.h"
#include "framework/Gdi.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CPlotAxisLabel;
class CPlotCtrl;
class CPlotGrid;
class CPlotScrollBar;
class CPlotSeries;

class CPlotAxis {
  public:
    // The linear mapping of the current range onto the current pixels, as plain numbers,
    // for callers that map many values at once.
    struct LinearMap {
        double min = 0.0;
        double span = 1.0;  // max - min, never 0
        int length = 0;
        int start = 0;
        bool horizontal = true;
        int operator()(double value) const { return Pixel(Offset(value)); }
        // The distance of value from the start pixel, in pixels, before rounding.
        double Offset(double value) const { return (value - min) * length / span; }
        int Pixel(double offset) const {
            const int whole = FloorToPixel(offset);
            return horizontal ? start + whole : start - whole;
        }
    };

    CPlotAxis();
    virtual ~CPlotAxis();
    CPlotAxis(const CPlotAxis&) = delete;
    CPlotAxis& operator=(const CPlotAxis&) = delete;

    virtual void SetDiscreteMode(bool discrete);
    virtual double ScreenToValue(int pixel) const;
    virtual double FirstTickValue() const = 0;
    virtual bool NextTickValue(double current, double& next) const = 0;
    virtual int TickScreenPosition(double value) const = 0;
    virtual int ValueToScreenCentered(double value) const = 0;
    virtual int ValueToScreenLinear(double value) const;
    // The label of a tick; valid until the next call.
    virtual const std::wstring& TickLabelText(double value) = 0;
    virtual void UpdateTickStep() = 0;
    virtual void UpdateFirstTick() = 0;
    virtual void ScrollStepInfo(int& stepCount, int& stepPosition) const;
    virtual void ScrollByStep(int previousStep, int currentStep, bool reversed);
    virtual void Pan(int fromPixel, int toPixel);
    virtual void Zoom(double newMin, double newMax);

    void SetParentControl(CPlotCtrl* control);
    CPlotCtrl* GetParentControl() const { return control_; }
    void SetHorizontal(bool horizontal);
    bool IsHorizontal() const { return horizontal_; }
    void SetSecondary(bool secondary) { secondary_ = secondary; }
    bool IsSecondary() const { return secondary_; }

    void CreateScrollBar();
    void PositionScrollBar();
    void RefreshScrollBar();
    CPlotScrollBar* GetScrollBar() const { return scrollBar_.get(); }

    void SetVisible(bool visible);
    bool IsVisible() const { return visible_; }
    void SetLineColor(COLORREF colour);
    void SetTickLabelColor(COLORREF colour);
    void SetTickFont(int pointSizeTenths, const std::wstring& faceName);

    void SetAutoRange(bool automatic);
    bool IsAutoRange() const { return automatic_ != 0; }
    void SetRange(double min, double max);
    double GetMin() const { return min_; }
    double GetMax() const { return max_; }
    void ResetZoom();
    void SetMinZoomSpan(double span) { minZoomSpan_ = span; }

    void LinkSeries(CPlotSeries* series);
    void UnlinkSeries(CPlotSeries* series);
    void RefreshAutoRange();

    int ValueToScreen(double value) const;
    // What ValueToScreen applies while the axis maps linearly (not discrete, a range that
    // is not collapsed, the base class's ValueToScreenLinear); false otherwise.
    bool GetLinearMap(LinearMap& map) const;
    bool IsValueOnAxis(double value) const;
    bool IsPointInside(POINT point) const;

    void SetAxisSize(const RECT& controlRect, const RECT& plotRect);
    void RefreshTicks();
    int ClipMargin(const RECT& controlRect, RECT& plotRect, HDC dc);
    void Draw(HDC dc);

    int GetStartPixel() const { return start_; }
    int GetEndPixel() const { return end_; }
    const RECT& GetAxisRect() const { return axisRect_; }
    int GetMarginSize() const { return marginSize_; }
    CPlotGrid& GetGrid() { return *grid_; }
    CPlotAxisLabel& GetLabel() { return *label_; }

    // The largest width and the largest height of the tick labels shown on the axis.
    SIZE LargestTickLabelSize(HDC dc);

  protected:
    bool IsDiscrete() const { return discrete_; }
    int Length() const;
    void RefreshControl() const;

  private:
    // The combined extent of the linked series in this axis' dimension; both ends are 0
    // when no series reports one.
    void SeriesExtent(double& min, double& max) const;
    // The tick-label font for dc, kept between drawings while its size in dc stays the same.
    HFONT TickFont(HDC dc);
    // Calls visit with the value of every tick, from the first one up.
    template <class Visit>
    void ForEachTick(Visit&& visit);
    // The extent of a tick label in the tick font selected into dc.
    SIZE MeasureTickLabel(HDC dc, const std::wstring& text);
    void DrawTick(HDC dc, double value, int labelWidth, bool markAndGrid);

    CPlotCtrl* control_ = nullptr;
    bool horizontal_ = true;
    int automatic_ = 0;
    bool visible_ = true;
    bool secondary_ = false;
    double max_ = 0.0;
    double min_ = 0.0;
    double resetMin_ = 0.0;
    double resetMax_ = 0.0;
    bool discrete_ = false;
    int start_ = 0;
    int end_ = 0;
    RECT axisRect_{};
    int tickFontSize_ = 80;
    std::wstring tickFontFace_ = L"Microsoft Sans Serif";
    COLORREF tickLabelColour_ = 0;
    COLORREF lineColour_ = 0;
    std::unique_ptr<CPlotGrid> grid_;
    std::unique_ptr<CPlotAxisLabel> label_;
    std::vector<CPlotSeries*> linkedSeries_;
    int marginSize_ = 0;
    double minZoomSpan_ = 0.001;
    std::unique_ptr<CPlotScrollBar> scrollBar_;

    Font tickFont_;
    LONG tickFontHeight_ = 0;  // lfHeight that tickFont_ was created with
    // Extents of the labels measured with tickFont_ in labelSizesDC_. Each label is
    // measured up to three times per refresh, and a live chart shows the same labels
    // refresh after refresh, so the GDI calls are made once per text.
    std::unordered_map<std::wstring, SIZE> labelSizes_;
    HDC labelSizesDC_ = nullptr;
};
