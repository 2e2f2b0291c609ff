#include "chart/PlotScrollBar.h"

#include "chart/PlotAxis.h"
#include "chart/PlotCtrl.h"

#include <algorithm>

CPlotScrollBar::~CPlotScrollBar() {
    // A replaced axis takes its bar window along; with the control gone it is gone already.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        HWND hwnd = UnsubclassWindow();
        ::DestroyWindow(hwnd);
    }
}

bool CPlotScrollBar::IsScrollReversed() const {
    return !axis_->IsHorizontal();
}

void CPlotScrollBar::CreateBar(const RECT& plotRect) {
    CPlotCtrl* control = axis_->GetParentControl();
    if (control == nullptr || control->m_hWnd == nullptr) {
        return;
    }
    RECT rect = plotRect;
    rect.left += 1;
    rect.top += 1;
    DWORD style = WS_CHILD;
    if (axis_->IsHorizontal()) {
        style |= axis_->IsSecondary() ? SBS_TOPALIGN : SBS_BOTTOMALIGN;
    } else {
        style |= SBS_VERT | (axis_->IsSecondary() ? SBS_RIGHTALIGN : SBS_LEFTALIGN);
    }
    HWND hwnd = ::CreateWindowExW(0, L"SCROLLBAR", L"", style, rect.left, rect.top,
                                  std::max(0L, rect.right - rect.left),
                                  std::max(0L, rect.bottom - rect.top), control->m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr || !SubclassWindow(hwnd)) {
        return;
    }
    SCROLLINFO info{};
    info.fMask = SIF_ALL;
    info.nMin = 1;
    info.nMax = 1;
    info.nPage = 1;
    info.nPos = 1;
    SetScrollInfo(info, true);
}

void CPlotScrollBar::RefreshSteps() {
    if (m_hWnd == nullptr) {
        return;
    }
    int count = 0;
    int position = 0;
    axis_->ScrollStepInfo(count, position);
    if (stepsKnown_ && count == stepCount_ && position == stepPosition_) {
        return;
    }
    stepsKnown_ = true;
    stepCount_ = count;
    stepPosition_ = position;
    SCROLLINFO info{};
    info.fMask = SIF_ALL;
    info.nMin = 0;
    info.nMax = count - 1;
    info.nPage = 10;
    info.nPos = IsScrollReversed() ? count - position - 9 : position;
    SetScrollInfo(info, true);
}

void CPlotScrollBar::HandleScroll(int code, int position) {
    if (code == SB_ENDSCROLL || m_hWnd == nullptr) {
        return;
    }
    SCROLLINFO info{};
    GetScrollInfo(info, SIF_ALL);
    const int p = info.nPos;
    const int lo = info.nMin;
    const int hi = info.nMax;
    int q = p;
    switch (code) {
        case SB_LINEUP:
            if (lo < p) {
                q = p - 1;
            }
            break;
        case SB_LINEDOWN:
            if (p < hi - 9) {
                q = p + 1;
            }
            break;
        case SB_PAGEUP:
            if (lo < p) {
                q = std::max(p - 10, lo);
            }
            break;
        case SB_PAGEDOWN:
            if (p < hi - 9) {
                q = std::min(p + 10, hi);
            }
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            q = position;
            break;
        case SB_TOP:
            q = 0;
            break;
        case SB_BOTTOM:
            q = hi;
            break;
        default:
            break;
    }
    SetScrollPos(q, true);
    stepsKnown_ = false;
    axis_->ScrollByStep(p, q, IsScrollReversed());
}

void CPlotScrollBar::ShowIfEnabled() {
    if (enabled_ && autoHide_ && m_hWnd != nullptr) {
        ShowWindow(SW_SHOW);
    }
}

void CPlotScrollBar::HideIfEnabled() {
    if (enabled_ && autoHide_ && m_hWnd != nullptr) {
        ShowWindow(SW_HIDE);
    }
}

SIZE CPlotScrollBar::GetWindowSize() const {
    RECT rect = placement_;
    if (!placed_ && m_hWnd != nullptr) {
        ::GetWindowRect(m_hWnd, &rect);
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void CPlotScrollBar::Place(const RECT& rect) {
    if (m_hWnd == nullptr || (placed_ && ::EqualRect(&rect, &placement_) != FALSE)) {
        return;
    }
    MoveWindow(rect, true);
    placement_ = rect;
    placed_ = true;
}
