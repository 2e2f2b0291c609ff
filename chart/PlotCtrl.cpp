#include "chart/PlotCtrl.h"

#include "chart/PlotAxis.h"
#include "chart/PlotCursor.h"
#include "chart/PlotLegend.h"
#include "chart/PlotLineSeries.h"
#include "chart/PlotScrollBar.h"
#include "chart/PlotStandardAxis.h"
#include "chart/PlotTitle.h"

#include <utility>

namespace {
POINT PointFromLParam(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// The axes in the order the mouse handlers treat them.
constexpr int kHorizontalThenVertical[] = {kAxisBottom, kAxisLeft, kAxisTop, kAxisRight};
}  // namespace

void CPlotCtrl::RegisterWindowClass() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW existing{};
    if (::GetClassInfoW(instance, kWindowClass, &existing) != FALSE) {
        return;
    }
    // The framework subclasses the window when it binds it, so the class procedure only
    // serves the time before that.
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kWindowClass;
    ::RegisterClassW(&wc);
}

CPlotCtrl::CPlotCtrl()
    : backgroundColour_(::GetSysColor(COLOR_BTNFACE)),
      legend_(std::make_unique<CPlotLegend>(this)),
      title_(std::make_unique<CPlotTitle>(this)),
      seriesWalk_(series_.end()) {
    RegisterWindowClass();
}

CPlotCtrl::~CPlotCtrl() {
    // Series unlink themselves from the axes, so they go before them.
    series_.clear();
    cursors_.clear();
    for (auto& axis : axes_) {
        axis.reset();
    }
    legend_.reset();
    title_.reset();
}

// ---- Building the chart ----

CPlotStandardAxis* CPlotCtrl::CreateStandardAxis(int side) {
    if (side < 0 || side >= kAxisSideCount) {
        return nullptr;
    }
    auto axis = std::make_unique<CPlotStandardAxis>();
    CPlotStandardAxis* created = axis.get();
    AttachAxis(std::move(axis), side);
    return created;
}

void CPlotCtrl::AttachAxis(std::unique_ptr<CPlotAxis> axis, int side) {
    if (axis == nullptr || side < 0 || side >= kAxisSideCount) {
        return;
    }
    axis->SetParentControl(this);
    if (IsSecondarySide(side)) {
        axis->SetSecondary(true);
    }
    axis->SetHorizontal(IsHorizontalSide(side));
    axis->CreateScrollBar();
    // Series and cursors on the replaced axis move to the new one instead of keeping a
    // pointer to an axis that is about to be deleted.
    if (CPlotAxis* old = axes_[side].get()) {
        for (auto& [id, series] : series_) {
            if (series->GetHorizontalAxis() == old) {
                series->SetHorizontalAxis(axis.get());
                axis->LinkSeries(series.get());
            }
            if (series->GetVerticalAxis() == old) {
                series->SetVerticalAxis(axis.get());
                axis->LinkSeries(series.get());
            }
        }
        for (auto& [id, cursor] : cursors_) {
            auto* line = dynamic_cast<CPlotDragLineCursor*>(cursor.get());
            if (line != nullptr && line->GetAxis() == old) {
                line->SetAxis(axis.get());
            }
        }
    }
    axes_[side] = std::move(axis);
}

CPlotAxis* CPlotCtrl::GetAxis(int side) const {
    return side >= 0 && side < kAxisSideCount ? axes_[side].get() : nullptr;
}

CPlotLineSeries* CPlotCtrl::CreateLineSeries(bool secondaryHorizontal, bool secondaryVertical) {
    auto series = std::make_unique<CPlotLineSeries>(this);
    CPlotLineSeries* created = series.get();
    if (AttachSeries(std::move(series), secondaryHorizontal, secondaryVertical) == nullptr) {
        return nullptr;
    }
    return created;
}

CPlotSeries* CPlotCtrl::AttachSeries(std::unique_ptr<CPlotSeries> series, bool secondaryHorizontal,
                                     bool secondaryVertical) {
    const size_t colourIndex = series_.size() % DefaultSeriesColours.size();
    CPlotAxis* horizontal = axes_[secondaryHorizontal ? kAxisTop : kAxisBottom].get();
    CPlotAxis* vertical = axes_[secondaryVertical ? kAxisRight : kAxisLeft].get();
    if (series == nullptr || horizontal == nullptr || vertical == nullptr) {
        return nullptr;
    }
    CPlotSeries* attached = series.get();
    attached->SetPlottingRect(plotRect_);
    attached->SetColor(DefaultSeriesColours[colourIndex]);
    attached->SetHorizontalAxis(horizontal);
    attached->SetVerticalAxis(vertical);
    series_[attached->GetId()] = std::move(series);

    SetRefreshEnabled(false);
    vertical->LinkSeries(attached);
    vertical->RefreshAutoRange();
    horizontal->LinkSeries(attached);
    horizontal->RefreshAutoRange();
    Refresh();
    SetRefreshEnabled(true);
    return attached;
}

void CPlotCtrl::RemoveAllSeries() {
    series_.clear();
    seriesWalk_ = series_.end();
    Refresh();
}

CPlotSeries* CPlotCtrl::FirstSeries() {
    seriesWalk_ = series_.begin();
    return seriesWalk_ != series_.end() ? seriesWalk_->second.get() : nullptr;
}

CPlotSeries* CPlotCtrl::NextSeries() {
    if (seriesWalk_ == series_.end()) {
        return nullptr;
    }
    CPlotSeries* series = seriesWalk_->second.get();
    ++seriesWalk_;
    return series;
}

CPlotDragLineCursor* CPlotCtrl::CreateDragLineCursor(int side) {
    CPlotAxis* axis = GetAxis(side);
    if (axis == nullptr) {
        return nullptr;
    }
    auto cursor = std::make_unique<CPlotDragLineCursor>(this, axis);
    CPlotDragLineCursor* created = cursor.get();
    cursors_[created->GetId()] = std::move(cursor);
    return created;
}

// ---- Settings ----

void CPlotCtrl::SetBackgroundColor(COLORREF colour) {
    backgroundColour_ = colour;
    Refresh();
}

void CPlotCtrl::SetBorderColor(COLORREF colour) {
    borderColour_ = colour;
    Refresh();
}

void CPlotCtrl::SetEdgeType(UINT edgeType) {
    edgeType_ = edgeType;
    Refresh();
}

void CPlotCtrl::UndoPanZoom() {
    SetRefreshEnabled(false);
    for (int side : kHorizontalThenVertical) {
        if (axes_[side] != nullptr) {
            axes_[side]->ResetZoom();
        }
    }
    SetRefreshEnabled(true);
}

void CPlotCtrl::RefreshAxes() {
    for (auto& axis : axes_) {
        if (axis != nullptr) {
            axis->RefreshScrollBar();
        }
    }
}

// ---- Rendering ----

void CPlotCtrl::SetRefreshEnabled(bool enable) {
    refreshCounter_ += enable ? 1 : -1;
    if (refreshCounter_ >= 1 && refreshPending_) {
        refreshPending_ = false;
        Refresh();
    }
}

void CPlotCtrl::Refresh() {
    if (m_hWnd == nullptr || ::IsWindow(m_hWnd) == FALSE) {
        return;
    }
    if (refreshCounter_ < 1) {
        refreshPending_ = true;
        return;
    }
    RECT rect = GetClientRect();
    plotRect_ = rect;
    if (!offscreen_) {
        ClientDC client(m_hWnd);
        offscreen_.createDib(client.get(), rect.right - rect.left, rect.bottom - rect.top);
    }
    PaintBackground(offscreen_.get(), rect);
    ::InflateRect(&rect, -3, -3);
    PaintChart(offscreen_.get(), rect);
    for (auto& axis : axes_) {
        if (axis != nullptr) {
            axis->PositionScrollBar();
        }
    }
    ++renderCount_;
    Invalidate(true);
}

void CPlotCtrl::PaintBackground(HDC dc, RECT rect) {
    Brush brush(::CreateSolidBrush(backgroundColour_));
    ::SetBkColor(dc, backgroundColour_);
    ::FillRect(dc, &rect, brush.get());
    ::DrawEdge(dc, &rect, edgeType_, BF_RECT);
}

void CPlotCtrl::PaintChart(HDC dc, RECT rect) {
    plotRect_ = rect;

    const SIZE titleSize = title_->GetSize(dc);
    title_->SetRect({rect.left, rect.top, rect.right, rect.top + titleSize.cy});
    rect.top += titleSize.cy;
    title_->Draw(dc);

    legend_->ClipArea(rect, dc);

    // Each axis takes its margin from the plotting rectangle; the second pass lays the
    // axes out on the final rectangle and draws them.
    for (auto& axis : axes_) {
        if (axis != nullptr) {
            axis->SetAxisSize(rect, plotRect_);
            axis->RefreshTicks();
            axis->ClipMargin(rect, plotRect_, dc);
        }
    }
    for (auto& axis : axes_) {
        if (axis != nullptr) {
            axis->SetAxisSize(rect, plotRect_);
            axis->RefreshTicks();
            axis->Draw(dc);
        }
    }

    {
        Pen pen(::CreatePen(PS_SOLID, 0, borderColour_));
        ScopedSelect selectPen(dc, pen.get());
        const RECT& p = plotRect_;
        const POINT frame[] = {{p.left, p.top},
                               {p.right, p.top},
                               {p.right, p.bottom},
                               {p.left, p.bottom},
                               {p.left, p.top}};
        ::Polyline(dc, frame, 5);
    }

    // Series clip to the plotting rectangle including its frame line.
    const RECT seriesRect = {plotRect_.left, plotRect_.top, plotRect_.right + 1,
                             plotRect_.bottom + 1};
    for (auto& [id, series] : series_) {
        series->SetPlottingRect(seriesRect);
        series->DrawAll(dc);
    }
    ::IntersectClipRect(dc, plotRect_.left, plotRect_.top, plotRect_.right, plotRect_.bottom);
    for (auto& [id, series] : series_) {
        series->DrawPointLabels(dc);
    }
    ::SelectClipRgn(dc, nullptr);

    legend_->Draw(dc);
}

// ---- Printing ----

void CPlotCtrl::Print(const std::wstring& title, PRINTDLGW* printDialog) {
    PRINTDLGW ownDialog{};
    HDC dc = nullptr;
    if (printDialog != nullptr) {
        dc = printDialog->hDC;
    } else {
        ownDialog.lStructSize = sizeof(ownDialog);
        ownDialog.hwndOwner = m_hWnd;
        ownDialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS |
                          PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE;
        if (::PrintDlgW(&ownDialog) == FALSE) {
            return;
        }
        dc = ownDialog.hDC;
    }
    if (dc == nullptr) {
        return;
    }
    DOCINFOW document{};
    document.cbSize = sizeof(document);
    document.lpszDocName = title.c_str();
    if (::StartDocW(dc, &document) > 0) {
        CPlotPrintInfo info;
        info.drawRect = {0, 0, ::GetDeviceCaps(dc, HORZRES), ::GetDeviceCaps(dc, VERTRES)};
        BeginPrinting(dc, info);
        bool pageOk = true;
        for (UINT page = info.minPage; page <= info.maxPage && pageOk; ++page) {
            pageOk = ::StartPage(dc) > 0;
            if (pageOk) {
                PrintPage(dc, info);
                pageOk = ::EndPage(dc) > 0;
            }
        }
        EndPrinting(dc, info);
        if (pageOk) {
            ::EndDoc(dc);
        } else {
            ::AbortDoc(dc);
        }
    }
    if (printDialog == nullptr) {
        ::DeleteDC(dc);
        if (ownDialog.hDevMode != nullptr) {
            ::GlobalFree(ownDialog.hDevMode);
        }
        if (ownDialog.hDevNames != nullptr) {
            ::GlobalFree(ownDialog.hDevNames);
        }
    }
}

void CPlotCtrl::BeginPrinting(HDC dc, CPlotPrintInfo& info) {
    printerFont_.reset(::CreateFontW(-10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                     OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY,
                                     DEFAULT_PITCH, L"Arial"));
    paperSize_ = {::GetDeviceCaps(dc, HORZRES), ::GetDeviceCaps(dc, VERTRES)};
    // The chart is laid out at three quarters of the screen's scale of the paper.
    HDC screen = offscreen_ ? offscreen_.get() : nullptr;
    ClientDC fallback(nullptr);
    if (screen == nullptr) {
        screen = fallback.get();
    }
    const int printerX = ::GetDeviceCaps(dc, LOGPIXELSX);
    const int printerY = ::GetDeviceCaps(dc, LOGPIXELSY);
    logicalPageSize_.cx =
        printerX > 0 ? paperSize_.cx * ::GetDeviceCaps(screen, LOGPIXELSX) / printerX * 3 / 4 : 0;
    logicalPageSize_.cy =
        printerY > 0 ? paperSize_.cy * ::GetDeviceCaps(screen, LOGPIXELSY) / printerY * 3 / 4 : 0;
    info.minPage = 1;
    info.maxPage = 1;
}

void CPlotCtrl::PrintPage(HDC dc, CPlotPrintInfo& info) {
    ScopedSelect selectFont(dc, printerFont_.get());
    const int previousMode = ::SetMapMode(dc, MM_ANISOTROPIC);
    ::SetWindowExtEx(dc, logicalPageSize_.cx, logicalPageSize_.cy, nullptr);
    ::SetViewportExtEx(dc, paperSize_.cx, paperSize_.cy, nullptr);
    ::SetWindowOrgEx(dc, 0, 0, nullptr);
    info.drawRect = {0, 0, logicalPageSize_.cx, logicalPageSize_.cy};
    PaintChart(dc, info.drawRect);
    ::SetMapMode(dc, previousMode);
}

void CPlotCtrl::EndPrinting(HDC, CPlotPrintInfo&) {
    printerFont_.reset();
    Refresh();
}

// ---- Messages ----

bool CPlotCtrl::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static const MessageMap<CPlotCtrl> map = [] {
        MessageMap<CPlotCtrl> m;
        m.Message(WM_PAINT, &CPlotCtrl::OnPaint)
            .Message(WM_ERASEBKGND, &CPlotCtrl::OnEraseBackground)
            .Message(WM_MOUSEMOVE, &CPlotCtrl::OnMouseMove)
            .Message(WM_LBUTTONDOWN, &CPlotCtrl::OnLeftButtonDown)
            .Message(WM_LBUTTONUP, &CPlotCtrl::OnLeftButtonUp)
            .Message(WM_LBUTTONDBLCLK, &CPlotCtrl::OnLeftButtonDoubleClick)
            .Message(WM_RBUTTONDOWN, &CPlotCtrl::OnRightButtonDown)
            .Message(WM_RBUTTONUP, &CPlotCtrl::OnRightButtonUp)
            .Message(WM_RBUTTONDBLCLK, &CPlotCtrl::OnRightButtonDoubleClick)
            .Message(WM_SIZE, &CPlotCtrl::OnSize)
            .Message(WM_HSCROLL, &CPlotCtrl::OnScroll)
            .Message(WM_VSCROLL, &CPlotCtrl::OnScroll);
        return m;
    }();
    if (map.Dispatch(*this, message, wParam, lParam, result)) {
        return true;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, result);
}

LRESULT CPlotCtrl::OnPaint(WPARAM, LPARAM) {
    PaintDC paint(m_hWnd);
    if (!firstPaintDone_) {
        Refresh();
        firstPaintDone_ = true;
    }
    const RECT client = GetClientRect();
    if (offscreen_) {
        ::BitBlt(paint.get(), 0, 0, client.right - client.left, client.bottom - client.top,
                 offscreen_.get(), 0, 0, SRCCOPY);
    }
    if (zoomEnabled_ && leftButtonDown_) {
        Pen pen(::CreatePen(PS_SOLID, 1, zoomRectColour_));
        ScopedSelect selectPen(paint.get(), pen.get());
        const RECT& z = zoomRect_;
        const POINT outline[] = {{z.left, z.top},
                                 {z.right, z.top},
                                 {z.right, z.bottom},
                                 {z.left, z.bottom},
                                 {z.left, z.top}};
        ::Polyline(paint.get(), outline, 5);
    }
    for (auto& [id, cursor] : cursors_) {
        cursor->Draw(paint.get());
    }
    return 0;
}

LRESULT CPlotCtrl::OnEraseBackground(WPARAM, LPARAM) {
    return 0;
}

void CPlotCtrl::NotifySeriesMouse(int kind, POINT point) {
    for (auto it = series_.rbegin(); it != series_.rend(); ++it) {
        if (it->second->NotifyMouseEvent(kind, point)) {
            return;
        }
    }
}

LRESULT CPlotCtrl::OnMouseMove(WPARAM, LPARAM lParam) {
    const POINT point = PointFromLParam(lParam);
    if (rightButtonDown_ && panEnabled_ && (point.x != panAnchor_.x || point.y != panAnchor_.y)) {
        SetRefreshEnabled(false);
        for (int side : {kAxisLeft, kAxisRight}) {
            if (axes_[side] != nullptr) {
                axes_[side]->Pan(panAnchor_.y, point.y);
            }
        }
        for (int side : {kAxisBottom, kAxisTop}) {
            if (axes_[side] != nullptr) {
                axes_[side]->Pan(panAnchor_.x, point.x);
            }
        }
        Refresh();
        SetRefreshEnabled(true);
        UpdateWindow();
        panAnchor_ = point;
    }
    if (leftButtonDown_ && zoomEnabled_) {
        zoomRect_.right = point.x;
        zoomRect_.bottom = point.y;
        Invalidate(true);
    }
    for (auto& axis : axes_) {
        if (axis != nullptr && axis->GetScrollBar() != nullptr) {
            axis->GetScrollBar()->HideIfEnabled();
        }
    }
    HWND child = ::ChildWindowFromPoint(m_hWnd, point);
    if (child != nullptr && child != m_hWnd) {
        if (auto* bar = dynamic_cast<CPlotScrollBar*>(CWnd::FromHandle(child))) {
            bar->ShowIfEnabled();
        }
    }
    if (IsInPlot(point)) {
        for (auto& [id, cursor] : cursors_) {
            cursor->MouseMoved(point.x, point.y);
        }
        Invalidate(true);
    }
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    NotifySeriesMouse(kPlotMouseMove, point);
    return Default();
}

LRESULT CPlotCtrl::OnLeftButtonDown(WPARAM, LPARAM lParam) {
    const POINT point = PointFromLParam(lParam);
    ::SetCapture(m_hWnd);
    if (zoomEnabled_) {
        leftButtonDown_ = true;
        zoomRect_ = {point.x, point.y, point.x, point.y};
    }
    if (IsInPlot(point)) {
        for (auto& [id, cursor] : cursors_) {
            cursor->ButtonDown(point.x, point.y);
        }
        Invalidate(true);
    }
    NotifySeriesMouse(kPlotLeftButtonDown, point);
    return Default();
}

LRESULT CPlotCtrl::OnLeftButtonUp(WPARAM, LPARAM lParam) {
    const POINT point = PointFromLParam(lParam);
    ::ReleaseCapture();
    leftButtonDown_ = false;
    if (zoomEnabled_) {
        const RECT z = zoomRect_;
        if (z.right < z.left || z.bottom < z.top) {
            // Dragged leftward or upward: back to the ranges before any zoom or pan.
            UndoPanZoom();
        } else if (z.left != z.right && z.top != z.bottom) {
            for (int side : kHorizontalThenVertical) {
                CPlotAxis* axis = axes_[side].get();
                if (axis == nullptr) {
                    continue;
                }
                if (axis->IsHorizontal()) {
                    axis->Zoom(axis->ScreenToValue(z.left), axis->ScreenToValue(z.right));
                } else {
                    axis->Zoom(axis->ScreenToValue(z.bottom), axis->ScreenToValue(z.top));
                }
            }
            Refresh();
        }
    }
    if (IsInPlot(point)) {
        for (auto& [id, cursor] : cursors_) {
            cursor->ButtonUp(point.x, point.y);
        }
        Invalidate(true);
    }
    NotifySeriesMouse(kPlotLeftButtonUp, point);
    return Default();
}

LRESULT CPlotCtrl::OnLeftButtonDoubleClick(WPARAM, LPARAM lParam) {
    NotifySeriesMouse(kPlotLeftButtonDoubleClick, PointFromLParam(lParam));
    return Default();
}

LRESULT CPlotCtrl::OnRightButtonDown(WPARAM, LPARAM lParam) {
    const POINT point = PointFromLParam(lParam);
    ::SetCapture(m_hWnd);
    rightButtonDown_ = true;
    if (panEnabled_) {
        panAnchor_ = point;
    }
    NotifySeriesMouse(kPlotRightButtonDown, point);
    return Default();
}

LRESULT CPlotCtrl::OnRightButtonUp(WPARAM, LPARAM lParam) {
    ::ReleaseCapture();
    rightButtonDown_ = false;
    NotifySeriesMouse(kPlotRightButtonUp, PointFromLParam(lParam));
    return Default();
}

LRESULT CPlotCtrl::OnRightButtonDoubleClick(WPARAM, LPARAM lParam) {
    NotifySeriesMouse(kPlotRightButtonDoubleClick, PointFromLParam(lParam));
    return Default();
}

LRESULT CPlotCtrl::OnSize(WPARAM, LPARAM) {
    const LRESULT result = Default();
    offscreen_.reset();
    Refresh();
    return result;
}

LRESULT CPlotCtrl::OnScroll(WPARAM wParam, LPARAM lParam) {
    auto* bar = dynamic_cast<CPlotScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(lParam)));
    if (bar != nullptr) {
        bar->HandleScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
    }
    const LRESULT result = Default();
    Refresh();
    return result;
}
