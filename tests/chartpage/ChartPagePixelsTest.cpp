// What the page shows on screen: the charts' colours and the value lists' row colours.

#include "ChartPageFixture.h"
#include "chartpage/ChannelColours.h"
#include "chartpage/PageChartLook.h"

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
