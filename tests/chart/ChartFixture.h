#pragma once
// A chart control in a visible host window, with bottom and left axes on manual ranges.

#include "ChartHost.h"
#include "chart/PlotAxis.h"
#include "chart/PlotStandardAxis.h"

#include <gtest/gtest.h>

class ChartFixture : public testing::Test {
  protected:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 300;

    // One host window serves all tests: creating and mapping a top-level window costs
    // Wine about a second.
    static void SetUpTestSuite() {
        if (host_ == nullptr) {
            host_ = new ChartHost(kWidth + 20, kHeight + 20);
        }
    }

    void SetUp() override {
        ASSERT_TRUE(host_->Attach(plot_, 10, 10, kWidth, kHeight)) << "no X display?";
        bottom_ = plot_.CreateStandardAxis(kAxisBottom);
        left_ = plot_.CreateStandardAxis(kAxisLeft);
        bottom_->SetRange(0, 10);
        left_->SetRange(0, 10);
    }

    // The off-screen image as the last refresh left it.
    void TearDown() override {
        plot_.DestroyWindow();
        ChartHost::PumpMessages();
    }

    Snapshot Rendered() const {
        return Snapshot::OfBitmap(plot_.GetOffscreenDC(), plot_.GetOffscreenBitmap());
    }
    // The window as painted on screen.
    Snapshot Painted() {
        ::RedrawWindow(plot_.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        ChartHost::PumpMessages();
        return Snapshot::OfWindow(plot_.m_hWnd);
    }
    POINT ScreenOf(double x, double y) const {
        return {bottom_->ValueToScreen(x), left_->ValueToScreen(y)};
    }
    LRESULT Send(UINT message, POINT point, WPARAM keys = 0) {
        return ::SendMessageW(plot_.m_hWnd, message, keys, MAKELPARAM(point.x, point.y));
    }

    static inline ChartHost* host_ = nullptr;
    CPlotCtrl plot_;
    CPlotStandardAxis* bottom_ = nullptr;
    CPlotStandardAxis* left_ = nullptr;
};
