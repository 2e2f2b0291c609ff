#pragma once
// CPlotCtrl: the line-chart window. It owns its axes, series, legend, title and cursors,
// renders the whole chart into an off-screen bitmap whenever something changes, and
// copies that bitmap to the screen when painted, with the cursors and the zoom rectangle
// drawn on top. The mouse pans (right button), zooms to a dragged rectangle (left button),
// drags cursors and uncovers the axis scroll bars.

#include "chart/PlotPixelTarget.h"
#include "chart/PlotTypes.h"
#include "framework/Gdi.h"
#include "framework/MessageMap.h"
#include "framework/Wnd.h"

#include <commdlg.h>

#include <array>
#include <map>
#include <memory>
#include <string>

class CPlotAxis;
class CPlotCursor;
class CPlotDragLineCursor;
class CPlotLegend;
class CPlotLineSeries;
class CPlotSeries;
class CPlotStandardAxis;
class CPlotTitle;

// The pages of one print job; a chart always prints on one page.
struct CPlotPrintInfo {
    UINT minPage = 1;
    UINT maxPage = 1;
    RECT drawRect{};
};

class CPlotCtrl : public CWnd {
  public:
    static constexpr wchar_t kWindowClass[] = L"PlotCtrl";

    CPlotCtrl();
    ~CPlotCtrl() override;

    // Registers the "PlotCtrl" window class unless it already is; dialogs that name the
    // class need this before they are created. Constructing a control does it too.
    static void RegisterWindowClass();

    virtual void Print(const std::wstring& title, PRINTDLGW* printDialog);
    virtual void BeginPrinting(HDC dc, CPlotPrintInfo& info);
    virtual void PrintPage(HDC dc, CPlotPrintInfo& info);
    virtual void EndPrinting(HDC dc, CPlotPrintInfo& info);
    // Lays out and draws title, legend, axes, frame and series into dc within rect.
    virtual void PaintChart(HDC dc, RECT rect);
    // Fills rect with the background colour and draws the edge around it.
    virtual void PaintBackground(HDC dc, RECT rect);

    CPlotStandardAxis* CreateStandardAxis(int side);
    // Takes ownership of axis and puts it at side, replacing the axis there.
    void AttachAxis(std::unique_ptr<CPlotAxis> axis, int side);
    CPlotAxis* GetAxis(int side) const;

    // Null when the axes the series would use do not exist.
    CPlotLineSeries* CreateLineSeries(bool secondaryHorizontal, bool secondaryVertical);
    // Takes ownership of series; returns it, or null (and deletes it) when the axes it
    // would use do not exist.
    CPlotSeries* AttachSeries(std::unique_ptr<CPlotSeries> series, bool secondaryHorizontal,
                              bool secondaryVertical);
    void RemoveAllSeries();
    size_t GetSeriesCount() const { return series_.size(); }
    CPlotSeries* FirstSeries();
    CPlotSeries* NextSeries();

    // Null when there is no axis at side.
    CPlotDragLineCursor* CreateDragLineCursor(int side);

    // Nesting switch for batches: refreshes run only while the counter is at least 1, and
    // a refresh asked for meanwhile runs when the counter comes back up.
    void SetRefreshEnabled(bool enable);
    // Renders the chart into the off-screen image and invalidates the window.
    void Refresh();
    // How many times Refresh has rendered the chart.
    unsigned GetRenderCount() const { return renderCount_; }

    void SetBackgroundColor(COLORREF colour);
    COLORREF GetBackgroundColor() const { return backgroundColour_; }
    void SetBorderColor(COLORREF colour);
    void SetEdgeType(UINT edgeType);
    void SetZoomRectColor(COLORREF colour) { zoomRectColour_ = colour; }
    void SetPanEnabled(bool enabled) { panEnabled_ = enabled; }
    void SetZoomEnabled(bool enabled) { zoomEnabled_ = enabled; }
    void UndoPanZoom();
    void RefreshAxes();

    CPlotLegend& GetLegend() { return *legend_; }
    CPlotTitle& GetTitle() { return *title_; }
    HDC GetOffscreenDC() const { return offscreen_.get(); }
    HBITMAP GetOffscreenBitmap() const { return offscreen_.bitmap(); }
    // Whether a series drawing into dc may write the off-screen pixels itself.
    bool GetPixelTarget(HDC dc, PlotPixelTarget& target) const {
        return FindPixelTarget(dc, offscreen_, target);
    }
    const RECT& GetPlottingRect() const { return plotRect_; }

  protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnLeftButtonDown(WPARAM, LPARAM);
    LRESULT OnLeftButtonUp(WPARAM, LPARAM);
    LRESULT OnLeftButtonDoubleClick(WPARAM, LPARAM);
    LRESULT OnRightButtonDown(WPARAM, LPARAM);
    LRESULT OnRightButtonUp(WPARAM, LPARAM);
    LRESULT OnRightButtonDoubleClick(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnScroll(WPARAM, LPARAM);

    // Offers a mouse event to the series, newest first, until one takes it.
    void NotifySeriesMouse(int kind, POINT point);
    bool IsInPlot(POINT point) const { return ::PtInRect(&plotRect_, point) != FALSE; }

    int refreshCounter_ = 1;
    bool refreshPending_ = false;
    MemoryDC offscreen_;
    bool firstPaintDone_ = false;
    COLORREF backgroundColour_;
    COLORREF borderColour_ = 0;
    UINT edgeType_ = EDGE_RAISED;
    RECT plotRect_{};
    std::map<unsigned, std::unique_ptr<CPlotSeries>> series_;
    std::array<std::unique_ptr<CPlotAxis>, kAxisSideCount> axes_;
    std::unique_ptr<CPlotLegend> legend_;
    std::unique_ptr<CPlotTitle> title_;
    bool panEnabled_ = true;
    bool rightButtonDown_ = false;
    POINT panAnchor_{0, 0};
    bool zoomEnabled_ = true;
    bool leftButtonDown_ = false;
    RECT zoomRect_{};
    COLORREF zoomRectColour_ = RGB(255, 255, 255);
    Font printerFont_;
    SIZE logicalPageSize_{0, 0};
    SIZE paperSize_{0, 0};
    std::map<unsigned, std::unique_ptr<CPlotCursor>> cursors_;
    std::map<unsigned, std::unique_ptr<CPlotSeries>>::iterator seriesWalk_;
    unsigned renderCount_ = 0;
};
