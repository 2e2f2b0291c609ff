// Mouse input sent to the control as window messages: zoom, undo, pan, drag lines and the
// axis scroll bars.

#include "ChartFixture.h"
#include "chart/PlotCursor.h"
#include "chart/PlotLineSeries.h"
#include "chart/PlotScrollBar.h"

#include <vector>

namespace {

class ChartMouse : public ChartFixture {
  protected:
    void ExpectRange(const CPlotAxis& axis, double min, double max) const {
        EXPECT_DOUBLE_EQ(axis.GetMin(), min);
        EXPECT_DOUBLE_EQ(axis.GetMax(), max);
    }
    void Drag(POINT from, POINT to) {
        Send(WM_LBUTTONDOWN, from, MK_LBUTTON);
        Send(WM_MOUSEMOVE, to, MK_LBUTTON);
        Send(WM_LBUTTONUP, to);
    }
};

TEST_F(ChartMouse, DraggedRectangleZoomsAndALeftwardDragUndoes) {
    const POINT from = ScreenOf(2, 8);
    const POINT to = ScreenOf(6, 4);
    const double left = bottom_->ScreenToValue(from.x);
    const double right = bottom_->ScreenToValue(to.x);
    const double low = left_->ScreenToValue(to.y);
    const double high = left_->ScreenToValue(from.y);
    Drag(from, to);
    ExpectRange(*bottom_, left, right);
    ExpectRange(*left_, low, high);
    EXPECT_NEAR(left, 2, 0.1);
    EXPECT_NEAR(high, 8, 0.1);

    Drag(ScreenOf(5, 5), ScreenOf(4, 5));  // leftward
    ExpectRange(*bottom_, 0, 10);
    ExpectRange(*left_, 0, 10);

    Drag(ScreenOf(5, 5), ScreenOf(6, 6));  // upward
    ExpectRange(*bottom_, 0, 10);
}

TEST_F(ChartMouse, ClickWithoutMovementChangesNothing) {
    Painted();
    const unsigned renders = plot_.GetRenderCount();
    const POINT at = ScreenOf(5, 5);
    Send(WM_LBUTTONDOWN, at, MK_LBUTTON);
    Send(WM_LBUTTONUP, at);
    ExpectRange(*bottom_, 0, 10);
    ExpectRange(*left_, 0, 10);
    EXPECT_EQ(plot_.GetRenderCount(), renders);

    Drag(at, {at.x + 20, at.y});  // no height: no zoom either
    ExpectRange(*bottom_, 0, 10);
}

TEST_F(ChartMouse, RightButtonPansStepByStep) {
    Painted();  // the first paint renders; get it out of the way
    const POINT start = ScreenOf(5, 5);
    const double unitX = bottom_->ScreenToValue(start.x + 10) - bottom_->ScreenToValue(start.x);
    Send(WM_RBUTTONDOWN, start, MK_RBUTTON);
    const unsigned renders = plot_.GetRenderCount();
    Send(WM_MOUSEMOVE, {start.x + 10, start.y}, MK_RBUTTON);
    ExpectRange(*bottom_, -unitX, 10 - unitX);
    ExpectRange(*left_, 0, 10);
    EXPECT_EQ(plot_.GetRenderCount(), renders + 1);

    // The next step is measured from the previous position, on the panned axis.
    const double unitY = left_->ScreenToValue(start.y) - left_->ScreenToValue(start.y + 8);
    const double secondX =
        bottom_->ScreenToValue(start.x + 10) - bottom_->ScreenToValue(start.x + 30);
    Send(WM_MOUSEMOVE, {start.x + 30, start.y + 8}, MK_RBUTTON);
    EXPECT_DOUBLE_EQ(bottom_->GetMin(), -unitX + secondX);
    EXPECT_DOUBLE_EQ(left_->GetMin(), unitY);
    Send(WM_MOUSEMOVE, {start.x + 30, start.y + 8}, MK_RBUTTON);  // no movement, no render
    EXPECT_EQ(plot_.GetRenderCount(), renders + 2);
    Send(WM_RBUTTONUP, {start.x + 30, start.y + 8});

    Send(WM_MOUSEMOVE, {start.x, start.y});  // button up: no more panning
    EXPECT_DOUBLE_EQ(bottom_->GetMin(), -unitX + secondX);

    plot_.UndoPanZoom();
    ExpectRange(*bottom_, 0, 10);
    ExpectRange(*left_, 0, 10);
}

class DragLine : public ChartMouse {
  protected:
    void SetUp() override {
        ChartMouse::SetUp();
        plot_.SetZoomEnabled(false);
        plot_.SetPanEnabled(false);
        cursor_ = plot_.CreateDragLineCursor(kAxisBottom);
        cursor_->MoveToValue(5);
        target_.SubclassWindow(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1,
                                                 host_->hwnd(), nullptr, nullptr, nullptr));
        cursor_->AddListener(&listener_);
    }
    void TearDown() override {
        target_.DestroyWindow();
        ChartMouse::TearDown();
    }
    // The cursor messages waiting for the target.
    std::vector<MSG> TakeCursorMessages() {
        std::vector<MSG> messages;
        MSG msg;
        while (::PeekMessageW(&msg, target_.m_hWnd, kPlotCursorMovedMessage,
                              kPlotCursorMovedMessage, PM_REMOVE) != FALSE) {
            messages.push_back(msg);
        }
        return messages;
    }
    POINT OnLine(int offset) const {
        return {cursor_->GetPosition() + offset, left_->ValueToScreen(5)};
    }

    CPlotDragLineCursor* cursor_ = nullptr;
    CWnd target_;
    CPlotDragLineListener listener_{&target_};
};

TEST_F(DragLine, GrabbedWithinThreePixels) {
    for (int offset : {-3, 0, 3}) {
        Send(WM_LBUTTONDOWN, OnLine(offset), MK_LBUTTON);
        EXPECT_TRUE(cursor_->IsDragging()) << offset;
        Send(WM_LBUTTONUP, OnLine(offset));
        EXPECT_FALSE(cursor_->IsDragging());
    }
    for (int offset : {-4, 4}) {
        Send(WM_LBUTTONDOWN, OnLine(offset), MK_LBUTTON);
        EXPECT_FALSE(cursor_->IsDragging()) << offset;
        Send(WM_LBUTTONUP, OnLine(offset));
    }
}

TEST_F(DragLine, EveryMoveWhileDraggingPostsOneMessage) {
    const int y = left_->ValueToScreen(5);
    Send(WM_MOUSEMOVE, OnLine(0));  // hovering reports nothing
    EXPECT_TRUE(TakeCursorMessages().empty());

    Send(WM_LBUTTONDOWN, OnLine(0), MK_LBUTTON);
    const int start = cursor_->GetPosition();
    for (int step = 1; step <= 3; ++step) {
        Send(WM_MOUSEMOVE, {start + 7 * step, y}, MK_LBUTTON);
    }
    // Each names the chart and carries the value of its own move.
    const std::vector<MSG> messages = TakeCursorMessages();
    ASSERT_EQ(messages.size(), 3u);
    for (std::size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(reinterpret_cast<HWND>(messages[i].wParam), plot_.m_hWnd);
        EXPECT_DOUBLE_EQ(CursorValueOf(messages[i].lParam),
                         bottom_->ScreenToValue(start + 7 * static_cast<int>(i + 1)));
    }
    EXPECT_DOUBLE_EQ(listener_.value, bottom_->ScreenToValue(start + 21));
    EXPECT_EQ(cursor_->GetPosition(), start + 21);

    // Outside the plotting rectangle the line neither follows nor reports.
    Send(WM_MOUSEMOVE, {plot_.GetPlottingRect().right + 2, y}, MK_LBUTTON);
    EXPECT_TRUE(TakeCursorMessages().empty());
    EXPECT_EQ(cursor_->GetPosition(), start + 21);
    Send(WM_LBUTTONUP, {start + 21, y});
    Send(WM_MOUSEMOVE, {start + 30, y});
    EXPECT_TRUE(TakeCursorMessages().empty());
}

TEST_F(ChartMouse, AxisScrollBarStepsThroughTheSeriesExtent) {
    CPlotLineSeries* series = plot_.CreateLineSeries(false, false);
    const double x[] = {0, 100};
    const double y[] = {0, 10};
    series->SetPoints(x, y, 2);
    bottom_->SetRange(0, 100);
    CPlotScrollBar* bar = bottom_->GetScrollBar();
    ASSERT_NE(bar->m_hWnd, nullptr);
    EXPECT_FALSE(bar->IsWindowVisible());  // never shown unless enabled
    SCROLLINFO info{};
    bar->GetScrollInfo(info);
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 9);
    EXPECT_EQ(info.nPage, 10u);

    bottom_->Zoom(0, 20);  // 50 steps of 2
    auto scroll = [&](int code) {
        ::SendMessageW(plot_.m_hWnd, WM_HSCROLL, MAKEWPARAM(code, 0),
                       reinterpret_cast<LPARAM>(bar->m_hWnd));
    };
    scroll(SB_ENDSCROLL);
    ExpectRange(*bottom_, 0, 20);
    scroll(SB_LINERIGHT);
    ExpectRange(*bottom_, 2, 22);
    scroll(SB_PAGERIGHT);
    ExpectRange(*bottom_, 22, 42);
    scroll(SB_LINELEFT);
    ExpectRange(*bottom_, 20, 40);
    bar->GetScrollInfo(info);
    EXPECT_EQ(info.nPos, 10);

    // Enabled, the bar shows while the mouse is over it and hides when it leaves.
    bar->SetEnabled(true);
    RECT placed{};
    ::GetWindowRect(bar->m_hWnd, &placed);
    ::MapWindowPoints(nullptr, plot_.m_hWnd, reinterpret_cast<POINT*>(&placed), 2);
    Send(WM_MOUSEMOVE, {(placed.left + placed.right) / 2, (placed.top + placed.bottom) / 2});
    EXPECT_TRUE(bar->IsWindowVisible());
    Send(WM_MOUSEMOVE, ScreenOf(5, 8));
    EXPECT_FALSE(bar->IsWindowVisible());
}

}  // namespace
