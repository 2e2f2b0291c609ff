// The page driven by the main dialog's messages: set-up, refresh, timer, channel
// visibility, and cursor drags on its own charts.

#include "ChartPageFixture.h"
#include "chartpage/ChannelColours.h"

namespace {

TEST_F(ChartPageTest, StartsWithEmptyListsHiddenXAxesAndAutomaticYRanges) {
    EXPECT_FALSE(Checked(IDC_SHOW_X_LABELS));
    EXPECT_EQ(TextOf(IDC_X_POINT_COUNT), L"100");
    EXPECT_EQ(TextOf(IDC_NOISE_MAX), L"");
    for (int id : {IDC_AUTO_BASELINE, IDC_AUTO_FILTERED, IDC_AUTO_DIFFERENCE, IDC_AUTO_NOISE}) {
        EXPECT_TRUE(Checked(id)) << id;
    }
    for (int id : kValueListIds) {
        HWND list = Item(id);
        RECT client{};
        ::GetClientRect(list, &client);
        EXPECT_EQ(ListView_GetItemCount(list), 0);
        EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(list)), 2);
        EXPECT_EQ(ListView_GetColumnWidth(list, 0), client.right / 3);
        EXPECT_EQ(ListView_GetColumnWidth(list, 1), 2 * (client.right / 3));
        const DWORD style = ListView_GetExtendedListViewStyle(list);
        EXPECT_TRUE(style & LVS_EX_FULLROWSELECT);
        EXPECT_TRUE(style & LVS_EX_GRIDLINES);
    }
    for (SampleQuantity q : kAllSampleQuantities) {
        EXPECT_FALSE(Chart(q).XAxis()->IsVisible());
        EXPECT_TRUE(Chart(q).YAxis()->IsAutoRange());
        EXPECT_EQ(Chart(q).Chart().GetSeriesCount(), 0u);
        EXPECT_EQ(Chart(q).PointCount(), 100u);
    }
    EXPECT_EQ(page_.PointCount(), 100u);
    EXPECT_DOUBLE_EQ(page_.CursorValue(), 2.5);
    // Enter inside the page does not end it.
    Send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    EXPECT_TRUE(::IsWindow(page_.m_hWnd));
}

TEST_F(ChartPageTest, SetupBuildsOneColouredLinePerChannelAndOneRowPerChannel) {
    SetUpPage(3, 20);
    for (SampleQuantity q : kAllSampleQuantities) {
        ASSERT_EQ(Chart(q).Chart().GetSeriesCount(), 3u);
        for (std::uint32_t c = 0; c < 3; ++c) {
            ASSERT_NE(Chart(q).Line(c), nullptr);
            EXPECT_EQ(Chart(q).Line(c)->GetColor(), ChannelColours[c]);
            EXPECT_EQ(Chart(q).Line(c)->GetPointsCount(), 100u) << "the newest window";
        }
    }
    for (int id : kValueListIds) {
        ASSERT_EQ(ListView_GetItemCount(Item(id)), 3);
        wchar_t text[8] = {};
        ListView_GetItemText(Item(id), 2, 0, text, 8);
        EXPECT_STREQ(text, L"3");
    }
    // The newest 100 samples of 120: the last point is the newest frame.
    EXPECT_EQ(PointY(SampleQuantity::Baseline, 2, 99), 1000 + 200 + 19);
    EXPECT_EQ(PointY(SampleQuantity::Difference, 2, 99), 1000 + 200 + 19 - (500 + 19));
    EXPECT_EQ(PointY(SampleQuantity::Noise, 1, 99), 2);

    // A set-up after closing (lParam 1) and one for another store rebuild nothing.
    store_.RemoveAllChannels();
    Send(WM_CHART_SETUP, 0, 1);
    EXPECT_EQ(Chart(SampleQuantity::Noise).Chart().GetSeriesCount(), 3u);
    EXPECT_EQ(ListView_GetItemCount(Item(IDC_NOISE_VALUES)), 3);
    AddChannels(2);
    Send(WM_CHART_SETUP);
    EXPECT_EQ(Chart(SampleQuantity::Noise).Chart().GetSeriesCount(), 2u);
    EXPECT_EQ(ListView_GetItemCount(Item(IDC_NOISE_VALUES)), 2);
}

TEST_F(ChartPageTest, RefreshShowsTheNewestWindowTheCursorValuesAndTheScrollBarAtItsEnd) {
    SetUpPage(3, 300);  // 400 samples per series
    Send(WM_CHART_REFRESH);
    EXPECT_EQ(page_.WindowStart(), 300);
    EXPECT_EQ(PointY(SampleQuantity::Filtered, 0, 0), 500 + 200);
    EXPECT_EQ(PointY(SampleQuantity::Filtered, 0, 99), 500 + 299);
    // Cursor 2.5 of 5.0 in a window from 300: sample 350, which is frame 250.
    EXPECT_EQ(Cell(IDC_BASELINE_VALUES, 1), std::to_wstring(1000 + 100 + 250));
    EXPECT_EQ(Cell(IDC_FILTERED_VALUES, 1), std::to_wstring(500 + 250));
    EXPECT_EQ(Cell(IDC_DIFFERENCE_VALUES, 1), std::to_wstring(1000 + 100 - 500));
    EXPECT_EQ(Cell(IDC_NOISE_VALUES, 1), L"2");
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ::GetScrollInfo(Item(IDC_WINDOW_SCROLL), SB_CTL, &info);
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 400);
    EXPECT_EQ(info.nPage, 100u);
    EXPECT_EQ(info.nPos, 301) << "as far right as the page allows";
}

TEST_F(ChartPageTest, EveryChartRendersOncePerRefreshWhateverTheChannelCount) {
    SetUpPage(32, 10);
    unsigned before[kSampleQuantityCount];
    for (SampleQuantity q : kAllSampleQuantities) {
        before[QuantityIndex(q)] = Chart(q).Chart().GetRenderCount();
    }
    Send(WM_CHART_REFRESH);
    Send(WM_TIMER, DlgChart::kRefreshTimer);
    for (SampleQuantity q : kAllSampleQuantities) {
        EXPECT_EQ(Chart(q).Chart().GetRenderCount(), before[QuantityIndex(q)] + 2);
    }
}

TEST_F(ChartPageTest, TimerPeriodFollowsTheChannelCount) {
    Send(WM_CHART_START);
    EXPECT_EQ(page_.RefreshPeriod(), 0u) << "no channels, nothing to redraw";
    const std::pair<std::uint32_t, unsigned> cases[] = {
        {4, 100}, {5, 200}, {16, 200}, {17, 300}, {32, 300}};
    std::uint32_t channels = 0;
    for (const auto& [count, period] : cases) {
        AddChannels(count - channels);
        channels = count;
        Send(WM_CHART_START);
        EXPECT_EQ(page_.RefreshPeriod(), period) << count << " channels";
        Send(WM_CHART_STOP);
        EXPECT_EQ(page_.RefreshPeriod(), 0u);
    }
}

TEST_F(ChartPageTest, RunningTimerRedrawsFromTheStoreUntilStopped) {
    SetUpPage(2, 0);
    Send(WM_CHART_START);
    ASSERT_EQ(page_.RefreshPeriod(), 100u);
    AddFrames(50);
    const unsigned renders = Chart(SampleQuantity::Noise).Chart().GetRenderCount();
    const DWORD until = ::GetTickCount() + 1000;
    while (Chart(SampleQuantity::Noise).Chart().GetRenderCount() == renders &&
           ::GetTickCount() < until) {
        ChartHost::PumpMessages();
        ::Sleep(10);
    }
    EXPECT_GT(Chart(SampleQuantity::Noise).Chart().GetRenderCount(), renders);
    EXPECT_EQ(page_.WindowStart(), 50);
    EXPECT_EQ(PointY(SampleQuantity::Baseline, 1, 99), 1000 + 100 + 49);

    Send(WM_CHART_STOP);
    AddFrames(10);
    ::Sleep(250);
    ChartHost::PumpMessages();
    EXPECT_EQ(page_.WindowStart(), 50) << "no tick after the stop";
}

TEST_F(ChartPageTest, WithoutChannelsTheMessagesChangeNothing) {
    Send(WM_CHART_SETUP);
    Send(WM_CHART_REFRESH);
    Send(WM_TIMER, DlgChart::kRefreshTimer);
    Send(WM_CHART_SHOW_CHANNEL, 1, 0);
    Type(IDC_X_POINT_COUNT, L"");
    Type(IDC_X_POINT_COUNT, L"50");
    EXPECT_TRUE(prompts_.shown.empty());
    EXPECT_EQ(page_.PointCount(), 100u);
    EXPECT_EQ(page_.WindowStart(), 0);
    EXPECT_EQ(Chart(SampleQuantity::Baseline).Chart().GetSeriesCount(), 0u);

    // Without a store at all, too.
    page_.SetStore(nullptr);
    Send(WM_CHART_SETUP);
    Send(WM_CHART_REFRESH);
    Send(WM_CHART_START);
    EXPECT_EQ(page_.RefreshPeriod(), 0u);
}

TEST_F(ChartPageTest, ShowChannelHidesAndShowsTheLineInAllFourCharts) {
    SetUpPage(4, 10);
    Send(WM_CHART_SHOW_CHANNEL, 2, 0);
    for (SampleQuantity q : kAllSampleQuantities) {
        EXPECT_FALSE(Chart(q).Line(1)->IsVisible());
        EXPECT_TRUE(Chart(q).Line(0)->IsVisible());
    }
    Send(WM_CHART_SHOW_CHANNEL, 2, 1);
    for (SampleQuantity q : kAllSampleQuantities) {
        EXPECT_TRUE(Chart(q).Line(1)->IsVisible());
    }
    // Hiding all, as "反选" does, then showing all, as "全选" does.
    for (WPARAM channel = 1; channel <= 4; ++channel) {
        Send(WM_CHART_SHOW_CHANNEL, channel, 0);
    }
    for (std::uint32_t c = 0; c < 4; ++c) {
        EXPECT_FALSE(Chart(SampleQuantity::Difference).Line(c)->IsVisible()) << c;
    }
    for (WPARAM channel = 1; channel <= 4; ++channel) {
        Send(WM_CHART_SHOW_CHANNEL, channel, 1);
    }
    for (std::uint32_t c = 0; c < 4; ++c) {
        EXPECT_TRUE(Chart(SampleQuantity::Difference).Line(c)->IsVisible()) << c;
    }
    // Any lParam but 1 hides; channels outside the store are ignored.
    Send(WM_CHART_SHOW_CHANNEL, 3, 7);
    EXPECT_FALSE(Chart(SampleQuantity::Noise).Line(2)->IsVisible());
    for (WPARAM outside : {0, 5, 32, 33}) {
        Send(WM_CHART_SHOW_CHANNEL, outside, 0);
    }
    EXPECT_TRUE(Chart(SampleQuantity::Noise).Line(3)->IsVisible());
}

TEST_F(ChartPageTest, HidingAnOutlyingChannelFitsTheAutomaticRangeToTheOthers) {
    AddChannels(2);
    AddFrames(20, [](std::uint32_t channel, std::uint32_t) {
        return FrameValues{static_cast<std::uint16_t>(channel == 1 ? 9000 : 1000), 900, 1};
    });
    Send(WM_CHART_SETUP);
    CPlotAxis* y = Chart(SampleQuantity::Baseline).YAxis();
    EXPECT_GE(y->GetMax(), 9000);
    Send(WM_CHART_SHOW_CHANNEL, 2, 0);
    EXPECT_LT(y->GetMax(), 9000);
    Send(WM_CHART_SHOW_CHANNEL, 2, 1);
    EXPECT_GE(y->GetMax(), 9000);
}

class ChartPageCursor : public ChartPageTest {
  protected:
    // Drags the cursor line of a chart to pixel x, as the user does with the mouse.
    void DragCursor(SampleQuantity quantity, int x) {
        CPlotCtrl& plot = Chart(quantity).Chart();
        const RECT area = plot.GetPlottingRect();
        const int y = (area.top + area.bottom) / 2;
        const int from = Chart(quantity).Cursor()->GetPosition();
        ::SendMessageW(plot.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from, y));
        ::SendMessageW(plot.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessageW(plot.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        ChartHost::PumpMessages();  // the listener posts the new value
    }
};

TEST_F(ChartPageCursor, DragOnOneChartMovesAllFourCursorsAndRefreshesAllLists) {
    SetUpPage(3, 300);
    Send(WM_CHART_REFRESH);
    CPlotAxis* x = Chart(SampleQuantity::Filtered).XAxis();
    const int target = x->ValueToScreen(1.0);
    DragCursor(SampleQuantity::Filtered, target);

    const double value = page_.CursorValue();
    EXPECT_NEAR(value, 1.0, 0.05);
    for (SampleQuantity q : kAllSampleQuantities) {
        EXPECT_EQ(Chart(q).Cursor()->GetPosition(), Chart(q).XAxis()->ValueToScreen(value));
    }
    const std::int64_t index = *CursorSampleIndex(value, 100, 300);
    const std::uint32_t frame = static_cast<std::uint32_t>(index) - 100;
    for (std::uint32_t c = 0; c < 3; ++c) {
        EXPECT_EQ(Cell(IDC_BASELINE_VALUES, c), std::to_wstring(1000 + 100 * c + frame));
        EXPECT_EQ(Cell(IDC_FILTERED_VALUES, c), std::to_wstring(500 + frame));
        EXPECT_EQ(Cell(IDC_DIFFERENCE_VALUES, c), std::to_wstring(500 + 100 * c));
        EXPECT_EQ(Cell(IDC_NOISE_VALUES, c), std::to_wstring(c + 1));
    }
}

TEST_F(ChartPageCursor, CellsOutsideTheSamplesStayEmpty) {
    SetUpPage(2, 300);
    Type(IDC_X_POINT_COUNT, L"200");
    ASSERT_EQ(page_.PointCount(), 200u);
    store_.ClearSamples();  // 100 samples left under a 200-point window
    Send(WM_CHART_REFRESH);
    ASSERT_EQ(page_.WindowStart(), -100);
    // The cursor at 5.0 of 10.0 stands on the first sample.
    EXPECT_EQ(Cell(IDC_NOISE_VALUES, 0), L"0");
    // Left of it the window holds no samples.
    DragCursor(SampleQuantity::Baseline,
               Chart(SampleQuantity::Baseline).XAxis()->ValueToScreen(1.0));
    for (int id : kValueListIds) {
        EXPECT_EQ(Cell(id, 0), L"") << id;
        EXPECT_EQ(Cell(id, 1), L"") << id;
    }
}

TEST_F(ChartPageCursor, AMessageNotFromTheChartsCursorsIsIgnored) {
    SetUpPage(2, 10);
    // From a window that is none of the page's charts, and from no window at all.
    ::PostMessageW(page_.m_hWnd, WM_CHART_CURSOR_MOVED, reinterpret_cast<WPARAM>(page_.m_hWnd),
                   CursorValueParam(4.0));
    Send(WM_CHART_CURSOR_MOVED, 0, CursorValueParam(4.0));
    ChartHost::PumpMessages();
    EXPECT_DOUBLE_EQ(page_.CursorValue(), 2.5);
}

}  // namespace
