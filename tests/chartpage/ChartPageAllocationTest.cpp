// A timer tick of the page with 32 channels allocates no memory: every buffer it needs was
// made when the page was set up.

#include "AllocationCounter.h"
#include "ChartPageFixture.h"

#include <memory>
#include <string>

namespace {

// Steady levels keep the axis labels the same from tick to tick, as a quiet recording does.
FrameValues Quiet(std::uint32_t channel, std::uint32_t frame) {
    return {static_cast<std::uint16_t>(2000 + 40 * channel + frame % 3), 1990, 2};
}

std::unique_ptr<std::wstring> g_escape;  // keeps the counter's self-check from being elided

TEST_F(ChartPageTest, TimerTickWith32ChannelsAllocatesNothing) {
    AllocationCounter::Start();
    g_escape = std::make_unique<std::wstring>(64, L'x');
    const long seen = AllocationCounter::Stop();
    g_escape.reset();
    ASSERT_GE(seen, 1) << "the counter sees allocations";

    AddChannels(32);
    AddFrames(1000, Quiet);
    Send(WM_CHART_SETUP);
    Type(IDC_X_POINT_COUNT, L"999");
    ASSERT_EQ(page_.PointCount(), 999u);
    for (int warmUp = 0; warmUp < 3; ++warmUp) {
        AddFrames(1, Quiet);
        Send(WM_TIMER, DlgChart::kRefreshTimer);
    }
    long allocations = 0;
    for (int tick = 0; tick < 5; ++tick) {
        AddFrames(1, Quiet);
        AllocationCounter::Start();
        Send(WM_TIMER, DlgChart::kRefreshTimer);
        allocations += AllocationCounter::Stop();
    }
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(page_.WindowStart(), 1108 - 999);
}

}  // namespace
