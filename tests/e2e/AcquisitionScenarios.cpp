// Measuring from outside: opening, receiving, stopping, clearing and closing, an adapter that
// goes away, and the table holding one row per received frame.

#include "app/ChannelBoxes.h"
#include "res/resource.h"
#include "tests/e2e/PalvexScenario.h"
#include "tests/e2e/TopLevelWindows.h"
#include "tests/e2e/TwinChip.h"

namespace {

using AcquisitionScenario = PalvexScenario;

bool WaitForRows(const RemoteListView& list, int rows, std::chrono::milliseconds timeout = 20s) {
    return WaitUntil([&] { return list.RowCount() >= rows; }, timeout);
}

TEST_F(AcquisitionScenario, OpenReceiveStopClearAndClose) {
    Launch({{L"TESSIK_SIM_CHANNELS", L"4"}});
    const RemoteListView list = Window().DataList();

    ASSERT_TRUE(ClickAndWaitFor(IDC_OPEN_DEVICE, kOpened));
    EXPECT_EQ(Window().Text(IDC_STATUS_TEXT), L"已连接");
    for (std::size_t i = 0; i < kChannelBoxIds.size(); ++i) {
        EXPECT_EQ(Window().Enabled(kChannelBoxIds[i]), i < 4) << "channel " << i + 1;
        EXPECT_EQ(Window().Checked(kChannelBoxIds[i]), i < 4) << "channel " << i + 1;
    }
    const std::vector<std::wstring> titles = list.Titles();
    ASSERT_EQ(titles.size(), 17u);
    EXPECT_EQ(titles[0], L"序号");
    EXPECT_EQ(titles[1], L"1 基础值");
    EXPECT_EQ(titles[16], L"4 噪声值");
    EXPECT_EQ(list.RowCount(), 0);

    ASSERT_TRUE(ClickAndWaitFor(IDC_CONTINUE_RECEIVING, kReceiving));
    ASSERT_TRUE(WaitForRows(list, 30));
    EXPECT_TRUE(Window().Answers(1s));
    SavePicture(L"receiving");

    ASSERT_TRUE(ClickAndWaitFor(IDC_STOP_RECEIVING, kOpened));
    const int rows = list.RowCount();
    std::this_thread::sleep_for(700ms);
    EXPECT_EQ(list.RowCount(), rows) << "rows still arrive after the stop";
    EXPECT_EQ(list.Cell(rows - 1, 0), std::to_wstring(rows));

    ASSERT_TRUE(ClickAndWaitFor(IDC_CLEAR_DATA, kOpened));
    EXPECT_TRUE(WaitUntil([&] { return list.RowCount() == 0; }, 5s));
    EXPECT_EQ(list.ColumnCount(), 17);

    ASSERT_TRUE(ClickAndWaitFor(IDC_CLOSE_DEVICE, kClosed));
    EXPECT_EQ(Window().Text(IDC_STATUS_TEXT), L"未连接");
    for (int id : kChannelBoxIds) {
        EXPECT_FALSE(Window().Enabled(id));
        EXPECT_FALSE(Window().Checked(id));
    }
    EXPECT_EQ(list.ColumnCount(), 17) << "closing leaves the table's columns";
    EXPECT_FALSE(FindMessageBox(process_.Id()).has_value());
}

TEST_F(AcquisitionScenario, AdapterGoneMidStreamEndsClosedKeepingTheRowsWithoutMessage) {
    Launch({{L"TESSIK_SIM_CHANNELS", L"8"},
            {L"TESSIK_SIM_FAULT", L"disconnect"},
            {L"TESSIK_SIM_FAULT_AFTER", L"40"}});
    ASSERT_TRUE(ClickAndWaitFor(IDC_OPEN_DEVICE, kOpened));
    ASSERT_TRUE(ClickAndWaitFor(IDC_CONTINUE_RECEIVING, kReceiving));
    ASSERT_TRUE(WaitUntil([&] { return ReadButtonStates(Window()) == kClosed; }, 20s))
        << ReadButtonStates(Window());
    EXPECT_FALSE(WaitForMessageBox(process_.Id(), 1500ms).has_value());
    EXPECT_EQ(Window().Text(IDC_STATUS_TEXT), L"未连接");
    EXPECT_EQ(Window().DataList().RowCount(), 39) << "the frames read before it went";
    EXPECT_EQ(Window().DataList().ColumnCount(), 33);
    SavePicture(L"closed");

    // The adapter stays unplugged: opening it again is refused with a message.
    Window().Click(IDC_OPEN_DEVICE);
    // What the system shows of the HID devices follows: no adapter there.
    EXPECT_TRUE(AnswerMessageBoxSaying(L"Palvex", L"设备未连接！\n未找到适配器 1D7F:0002。"));
    EXPECT_EQ(ReadButtonStates(Window()), kClosed);
}

TEST_F(AcquisitionScenario, TableHoldsOneRowPerReceivedFrame) {
    constexpr int kChannels = 8;
    Launch({{L"TESSIK_SIM_CHANNELS", std::to_wstring(kChannels)}, {L"TESSIK_SIM_SEED", L"77"}});
    const RemoteListView list = Window().DataList();
    ASSERT_TRUE(ClickAndWaitFor(IDC_OPEN_DEVICE, kOpened));
    ASSERT_TRUE(ClickAndWaitFor(IDC_CONTINUE_RECEIVING, kReceiving));
    std::this_thread::sleep_for(3s);
    ASSERT_TRUE(ClickAndWaitFor(IDC_STOP_RECEIVING, kOpened));

    // Each row shows the newest frame when the table took it: never one received later
    // than the row's own frame would allow, and the last row the last frame.
    const int rows = list.RowCount();
    ASSERT_GT(rows, 50);
    TwinChip twin(kChannels, 77);
    std::uint64_t frame = 0;
    for (int row = 0; row < rows; ++row) {
        const auto match = twin.MatchRow(list.Row(row), 1000);
        ASSERT_TRUE(match.has_value()) << "row " << row + 1 << " shows no frame of the chip";
        ASSERT_GE(*match, static_cast<std::uint64_t>(row + 1)) << "row " << row + 1;
        frame = *match;
    }
    EXPECT_EQ(frame, static_cast<std::uint64_t>(rows)) << "frames received against rows";
}

TEST_F(AcquisitionScenario, ClosingTheWindowWhileReceiving) {
    Launch({{L"TESSIK_SIM_CHANNELS", L"32"}});
    ASSERT_TRUE(ClickAndWaitFor(IDC_OPEN_DEVICE, kOpened));
    ASSERT_TRUE(ClickAndWaitFor(IDC_CONTINUE_RECEIVING, kReceiving));
    ASSERT_TRUE(WaitForRows(Window().DataList(), 20));
    SavePicture(L"receiving");
    EXPECT_EQ(CloseProgram(), std::optional<DWORD>(0));
}

}  // namespace
