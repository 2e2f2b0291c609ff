// The window keeps answering and the recording stays: Enter typed into the pages' controls,
// and an adapter that stops answering altogether while the user opens, stops receiving or
// closes.

#include <algorithm>

#include "app/ChannelBoxes.h"
#include "res/resource.h"
#include "tests/e2e/Answering.h"
#include "tests/e2e/PalvexScenario.h"
#include "tests/e2e/TopLevelWindows.h"

namespace {

using WindowAnswerScenario = PalvexScenario;

TEST_F(WindowAnswerScenario, EnterInThePagesControlsKeepsReceiving) {
    Launch({{L"TESSIK_SIM_CHANNELS", L"4"}});
    const RemoteListView list = Window().DataList();
    ASSERT_TRUE(ClickAndWaitFor(IDC_OPEN_DEVICE, kOpened));
    ASSERT_TRUE(ClickAndWaitFor(IDC_CONTINUE_RECEIVING, kReceiving));
    ASSERT_TRUE(WaitUntil([&] { return list.RowCount() >= 30; }, 20s));

    HWND pointCount = ::GetDlgItem(Window().ChartPage(), IDC_X_POINT_COUNT);
    ::SendMessageW(pointCount, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"500"));
    for (HWND control : {pointCount, ::GetDlgItem(Window().ChartPage(), IDC_BASELINE_MAX),
                         ::GetDlgItem(Window().ChartPage(), IDC_BASELINE_VALUES),
                         ::GetDlgItem(Window().ListPage(), IDC_DATA_LIST)}) {
        ASSERT_NE(control, nullptr);
        const int rows = list.RowCount();
        TypeEnter(control);
        EXPECT_FALSE(process_.WaitForExit(500ms).has_value()) << "Enter ended the program";
        ASSERT_TRUE(process_.Running());
        EXPECT_EQ(ReadButtonStates(Window()), kReceiving);
        EXPECT_TRUE(WaitUntil([&] { return list.RowCount() > rows; }, 5s)) << "receiving stopped";
    }
    EXPECT_FALSE(FindMessageBox(process_.Id()).has_value()) << "an edit was applied";

    // Enter in the main dialog's own controls still ends the program.
    TypeEnter(Window().Control(kChannelBoxIds[0]));
    EXPECT_EQ(process_.WaitForExit(15s), std::optional<DWORD>(0));
}

// Receives until the adapter falls mute after its 100th frame read (the layout read is the
// first), so that a read waits for an answer that never comes.
class MuteAdapterScenario : public PalvexScenario {
  protected:
    static constexpr int kRowsBeforeMute = 99;

    void ReceiveUntilMute() {
        Launch({{L"TESSIK_SIM_CHANNELS", L"4"},
                {L"TESSIK_SIM_FAULT", L"mute"},
                {L"TESSIK_SIM_FAULT_AFTER", std::to_wstring(kRowsBeforeMute + 1)}});
        ASSERT_TRUE(ClickAndWaitFor(IDC_OPEN_DEVICE, kOpened));
        ASSERT_TRUE(ClickAndWaitFor(IDC_CONTINUE_RECEIVING, kReceiving));
        const RemoteListView list = Window().DataList();
        ASSERT_TRUE(WaitUntil([&] { return list.RowCount() >= kRowsBeforeMute; }, 20s));
        std::this_thread::sleep_for(300ms);  // the next read is waiting now
        ASSERT_EQ(list.RowCount(), kRowsBeforeMute);
    }
};

TEST_F(MuteAdapterScenario, StoppingWhileAReadWaitsKeepsTheWindowAnswering) {
    ReceiveUntilMute();
    Window().Click(IDC_STOP_RECEIVING);
    // The read gives up after its time limit and resynchronisation; receiving then ends as
    // after any failed read, closed with the rows kept.
    const auto longest = LongestAnswerUntil(
        Window(), [&] { return ReadButtonStates(Window()) == kClosed; }, 20s);
    EXPECT_EQ(ReadButtonStates(Window()), kClosed);
    EXPECT_LE(longest, 250ms) << "the window did not answer for " << longest.count() << " ms";
    EXPECT_EQ(Window().DataList().RowCount(), kRowsBeforeMute);
    EXPECT_FALSE(FindMessageBox(process_.Id()).has_value());
}

// Wine without a window manager holds the destruction of every top-level window for up to 2 s
// (it waits for a window manager to withdraw the window), receiving or not; that wait is the
// platform's and is allowed for here on top of the program's own limit, with up to a second
// more that a crowded processor core adds. Both stay far below the 8 s of an exchange that
// gives up, which these bounds tell apart.
constexpr auto kWithdrawalWait = 2000ms;
constexpr auto kCrowdedCore = 1000ms;

TEST_F(MuteAdapterScenario, ClosingWhileAReadWaitsEndsTheProgramCleanly) {
    ReceiveUntilMute();
    const HWND main = Window().Handle();
    const auto closed = Clock::now();
    ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    const auto longest = LongestAnswerUntil(
        Window(), [&] { return !::IsWindow(main); }, 10s);
    EXPECT_FALSE(::IsWindow(main));
    EXPECT_LE(Clock::now() - closed, kWithdrawalWait + kCrowdedCore)
        << "the window did not go at once";
    EXPECT_LE(longest, kWithdrawalWait + kCrowdedCore)
        << "the window did not answer for " << longest.count() << " ms";
    // The read still waiting gives up within the worst exchange time, about 8 s.
    EXPECT_EQ(process_.WaitForExit(12s), std::optional<DWORD>(0));
}

// "打开设备" on an adapter mute from its first request: the open's start request and its
// layout read would each wait out the worst exchange, about 8 s. Closing while the first one
// waits ends the program once that exchange has given up, without running the next.
TEST_F(WindowAnswerScenario, ClosingWhileAnOpenWaitsEndsTheProgramAfterOneExchange) {
    Launch({{L"TESSIK_SIM_CHANNELS", L"4"},
            {L"TESSIK_SIM_FAULT", L"mute"},
            {L"TESSIK_SIM_FAULT_REQUEST", L"any"}});
    Window().Click(IDC_OPEN_DEVICE);
    ASSERT_TRUE(WaitUntil([&] { return !Window().Enabled(IDC_CLEAR_DATA); }, 5s));
    std::this_thread::sleep_for(500ms);  // the start request waits now
    const HWND main = Window().Handle();
    ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(main); }, kWithdrawalWait + kCrowdedCore))
        << "the window did not go at once";
    EXPECT_EQ(process_.WaitForExit(12s), std::optional<DWORD>(0))
        << "the program ran the open to its end";
}

}  // namespace
