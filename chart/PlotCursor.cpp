#include "chart/PlotCursor.h"

#include "chart/PlotAxis.h"
#include "chart/PlotCtrl.h"
#include "framework/Gdi.h"

unsigned CPlotCursor::nextId_ = 0;

CPlotCursor::CPlotCursor(CPlotCtrl* control) : control_(control), id_(nextId_++) {}

void CPlotCursor::ButtonDown(int, int) {}

void CPlotCursor::ButtonUp(int, int) {}

void CPlotCursor::SetColor(COLORREF colour) {
    colour_ = colour;
    if (control_ != nullptr) {
        control_->Refresh();
    }
}

void CPlotCursor::NotifyListeners(double x, double y) {
    for (CPlotCursorListener* listener : listeners_) {
        listener->CursorMoved(this, x, y);
    }
}

CPlotDragLineCursor::CPlotDragLineCursor(CPlotCtrl* control, CPlotAxis* axis)
    : CPlotCursor(control), axis_(axis) {}

void CPlotDragLineCursor::ButtonDown(int x, int y) {
    const int p = axis_->IsHorizontal() ? x : y;
    if (position_ - kGrabTolerance <= p && p <= position_ + kGrabTolerance) {
        dragging_ = true;
    }
}

void CPlotDragLineCursor::ButtonUp(int, int) {
    dragging_ = false;
}

void CPlotDragLineCursor::MouseMoved(int x, int y) {
    if (!dragging_) {
        return;
    }
    if (axis_->IsHorizontal()) {
        position_ = x;
        NotifyListeners(axis_->ScreenToValue(x), 0.0);
    } else {
        position_ = y;
        NotifyListeners(0.0, axis_->ScreenToValue(y));
    }
}

void CPlotDragLineCursor::MoveToValue(double value) {
    position_ = axis_->ValueToScreen(value);
}

void CPlotDragLineCursor::Draw(HDC dc) {
    if (dc == nullptr || GetControl() == nullptr) {
        return;
    }
    Pen pen(::CreatePen(PS_SOLID, 1, GetColor()));
    ScopedSelect selectPen(dc, pen.get());
    const RECT plot = GetControl()->GetPlottingRect();
    if (axis_->IsHorizontal()) {
        ::MoveToEx(dc, position_, plot.top, nullptr);
        ::LineTo(dc, position_, plot.bottom);
    } else {
        ::MoveToEx(dc, plot.left, position_, nullptr);
        ::LineTo(dc, plot.right, position_);
    }
}

void CPlotDragLineListener::CursorMoved(CPlotCursor* cursor, double x, double) {
    value = x;
    if (target_ == nullptr || target_->m_hWnd == nullptr) {
        return;
    }
    const CPlotCtrl* chart = cursor != nullptr ? cursor->GetControl() : nullptr;
    const HWND chartWindow = chart != nullptr ? chart->m_hWnd : nullptr;
    target_->PostMessage(kPlotCursorMovedMessage, reinterpret_cast<WPARAM>(chartWindow),
                         CursorValueParam(x));
}
