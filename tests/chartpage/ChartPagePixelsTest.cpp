// What the page shows on screen: the charts' colours and the value lists' row colours.

#include "ChartPageFixture.h"
#include "chartpage/ChannelColours.h"
#include "chartpage/PageChartLook.h"

#include <cmath>
#include <vector>

namespace {

// Channel c holds a constant baseline of 1000 + 300 c, so that every line has its own row
// of pixels.
FrameValues SteadyLevels(std::uint32_t channel, std::uint32_t) {
    return {static_cast<std::uint16_t>(1000 + 300 * channel), 900, 3};
}

class ChartPagePixels : public ChartPageTest {
  protected:
    Snapshot PaintedChart(SampleQuantity quantity) {
        HWND hwnd = Chart(quantity).Chart().m_hWnd;
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        ChartHost::PumpMessages();
        return Snapshot::OfWindow(hwnd);
    }
    // The pixels of a channel's colour on the row of each value of the difference chart.
    std::vector<int> LevelRowPixels(std::uint32_t channel, std::initializer_list<double> levels) {
        const Snapshot shot = PaintedChart(SampleQuantity::Difference);
        const RECT plot = Chart(SampleQuantity::Difference).Chart().GetPlottingRect();
        std::vector<int> counts;
        for (double level : levels) {
            const int row = Chart(SampleQuantity::Difference).YAxis()->ValueToScreen(level);
            counts.push_back(
                shot.Count(ChannelColours[channel], {plot.left, row, plot.right, row + 1}));
        }
        return counts;
    }
    int DifferencePlotWidth() {
        const RECT plot = Chart(SampleQuantity::Difference).Chart().GetPlottingRect();
        return plot.right - plot.left;
    }
};

TEST_F(ChartPagePixels, LinesInChannelColoursOnBlackWithAWhiteCursor) {
    AddChannels(3);
    AddFrames(50, SteadyLevels);
    Send(WM_CHART_SETUP);
    const Snapshot shot = PaintedChart(SampleQuantity::Baseline);
    ASSERT_GT(shot.width(), 0);
    const RECT plot = Chart(SampleQuantity::Baseline).Chart().GetPlottingRect();
    const int plotWidth = plot.right - plot.left;
    for (std::uint32_t c = 0; c < 3; ++c) {
        EXPECT_GT(shot.Count(ChannelColours[c], plot), plotWidth / 2) << "channel " << c;
    }
    EXPECT_EQ(shot.Count(ChannelColours[3]), 0);
    EXPECT_GT(shot.Count(kPageChartBackground), shot.width() * shot.height() / 2);
    const int cursor = Chart(SampleQuantity::Baseline).Cursor()->GetPosition();
    const RECT column{cursor, plot.top, cursor + 1, plot.bottom};
    EXPECT_GE(shot.Count(kPageChartInk, column), (plot.bottom - plot.top) * 9 / 10);

    // A hidden channel leaves no pixel of its colour.
    Send(WM_CHART_SHOW_CHANNEL, 2, 0);
    EXPECT_EQ(PaintedChart(SampleQuantity::Baseline).Count(ChannelColours[1]), 0);
}

TEST_F(ChartPagePixels, DifferenceLevelsStayAcrossTheWindowUntilReplacedOrCleared) {
    // Differences 100, 400 and 700 for channels 0 to 2.
    AddChannels(3);
    AddFrames(300, SteadyLevels);
    Send(WM_CHART_SETUP);
    Send(WM_CHART_REFRESH);
    const double levels[] = {250.0, NAN, 550.0, 2000.0};
    ASSERT_TRUE(page_.ShowDifferenceLevels(1, levels));
    EXPECT_EQ(Chart(SampleQuantity::Difference).LevelLines().size(), 3u) << "NaN left out";
    // The level far above the lines widens the automatic range to show it.
    EXPECT_EQ(Chart(SampleQuantity::Difference).YAxis()->GetMax(), 2000.0);
    EXPECT_EQ(Chart(SampleQuantity::Difference).YAxis()->GetMin(), 100.0);

    // Every level row is lit across the plot, but for the cursor's column, whatever moves
    // the window.
    auto expectLevelRuns = [this](const char* after) {
        const int lit = DifferencePlotWidth() - 1;
        for (int count : LevelRowPixels(1, {250.0, 550.0, 2000.0})) {
            EXPECT_GE(count, lit) << "after " << after;
        }
    };
    expectLevelRuns("showing");
    Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 150),
         reinterpret_cast<LPARAM>(Item(IDC_WINDOW_SCROLL)));
    ASSERT_EQ(page_.WindowStart(), 150);
    expectLevelRuns("scrolling");
    Send(WM_CHART_REFRESH);
    expectLevelRuns("a refresh");
    Send(WM_CHART_SHOW_CHANNEL, 2, 0);
    expectLevelRuns("hiding the channel");
    Send(WM_CHART_SHOW_CHANNEL, 2, 1);
    Type(IDC_X_POINT_COUNT, L"200");
    ASSERT_EQ(page_.PointCount(), 200u);
    expectLevelRuns("doubling the point count");

    // Another channel's levels replace them: channel 1 keeps only its own line's row.
    const double other[] = {1000.0};
    ASSERT_TRUE(page_.ShowDifferenceLevels(2, other));
    EXPECT_GE(LevelRowPixels(2, {1000.0})[0], DifferencePlotWidth() - 1);
    EXPECT_EQ(PaintedChart(SampleQuantity::Difference).Count(ChannelColours[1]),
              LevelRowPixels(1, {400.0})[0]);
    EXPECT_EQ(Chart(SampleQuantity::Difference).YAxis()->GetMax(), 1000.0);

    page_.ClearDifferenceLevels();
    EXPECT_EQ(PaintedChart(SampleQuantity::Difference).Count(ChannelColours[2]),
              LevelRowPixels(2, {700.0})[0]);
    EXPECT_EQ(Chart(SampleQuantity::Difference).YAxis()->GetMax(), 700.0);

    // A channel without a colour shows none, and a new setup drops the levels.
    EXPECT_FALSE(page_.ShowDifferenceLevels(kMaxTouchChannels, other));
    EXPECT_TRUE(Chart(SampleQuantity::Difference).LevelLines().empty());
    ASSERT_TRUE(page_.ShowDifferenceLevels(0, other));
    Send(WM_CHART_SETUP);
    EXPECT_TRUE(Chart(SampleQuantity::Difference).LevelLines().empty());
    Type(IDC_X_POINT_COUNT, L"100");
    EXPECT_EQ(PaintedChart(SampleQuantity::Difference).Count(ChannelColours[0]),
              LevelRowPixels(0, {100.0})[0]);
}

TEST_F(ChartPagePixels, ListCellsTakeTheirRowsChannelColour) {
    SetUpPage(3, 10);
    Send(WM_CHART_REFRESH);
    HWND list = Item(IDC_FILTERED_VALUES);
    for (DWORD row : {0u, 2u}) {
        NMLVCUSTOMDRAW draw{};
        draw.nmcd.hdr = {list, static_cast<UINT_PTR>(IDC_FILTERED_VALUES),
                         static_cast<UINT>(NM_CUSTOMDRAW)};
        draw.nmcd.dwItemSpec = row;
        draw.nmcd.dwDrawStage = CDDS_PREPAINT;
        EXPECT_EQ(Send(WM_NOTIFY, IDC_FILTERED_VALUES, reinterpret_cast<LPARAM>(&draw)),
                  CDRF_NOTIFYITEMDRAW);
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        EXPECT_EQ(Send(WM_NOTIFY, IDC_FILTERED_VALUES, reinterpret_cast<LPARAM>(&draw)),
                  CDRF_NOTIFYSUBITEMDRAW);
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
        EXPECT_EQ(Send(WM_NOTIFY, IDC_FILTERED_VALUES, reinterpret_cast<LPARAM>(&draw)),
                  CDRF_DODEFAULT);
        EXPECT_EQ(draw.clrTextBk, ChannelColours[row]);
    }
    // And on screen, through the list's own painting.
    ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ChartHost::PumpMessages();
    const Snapshot shot = Snapshot::OfWindow(list);
    for (std::uint32_t c = 0; c < 3; ++c) {
        EXPECT_GT(shot.Count(ChannelColours[c]), 20) << "row " << c;
    }
    EXPECT_EQ(shot.Count(ChannelColours[3]), 0);
}

}  // namespace
