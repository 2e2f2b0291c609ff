// Acquisition under Wine with the simulated adapter: the device panel's buttons through every
// transition, their messages, the adapter thread and the data table it fills.

#include "tests/app/PageWindows.h"
#include "tests/app/PalvexUnderTest.h"

#include "tessik/SimulatedChip.h"

#include <future>
#include <new>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

class AcquisitionTest : public PalvexTest {
  protected:
    // Row r holds frame r + 1 after the layout frame, compared with a twin of the simulated
    // chip: the first and the last kRowsAtEachEnd rows through the table, which reads cell by
    // cell; every sample is compared in the store.
    void ExpectRowsAreTheChipsFrames(int channels, std::uint32_t seed, int rows) const {
        constexpr int kRowsAtEachEnd = 20;
        const TouchSampleStore& store = *dialog->ListPage().RowSource();
        ASSERT_EQ(store.FrameCount(), static_cast<std::uint32_t>(rows));
        SimulatedChip twin(channels, -1, seed);
        twin.NextFrame();  // the layout frame, not stored
        for (int row = 0; row < rows; ++row) {
            twin.NextFrame();
            const bool throughTable = row < kRowsAtEachEnd || row >= rows - kRowsAtEachEnd;
            if (throughTable) {
                ASSERT_EQ(Cell(row, 0), std::to_wstring(row + 1));
            }
            const auto sample = kLeadingZeroSamples + static_cast<std::uint32_t>(row);
            for (int c = 0; c < channels; ++c) {
                const ChannelReading reading = twin.Reading(c);
                const int values[] = {reading.baseline, reading.filtered,
                                      int{reading.baseline} - int{reading.filtered}, reading.noise};
                for (SampleQuantity q : kAllSampleQuantities) {
                    const int value = values[static_cast<int>(q)];
                    ASSERT_EQ(store.Channel(static_cast<std::uint32_t>(c)).Series(q).At(sample),
                              value)
                        << "row " << row << " channel " << c;
                    if (throughTable) {
                        ASSERT_EQ(Cell(row, 1 + 4 * c + static_cast<int>(q)),
                                  std::to_wstring(value))
                            << "row " << row << " channel " << c;
                    }
                }
            }
        }
    }
};

TEST_F(AcquisitionTest, OpenEnablesAndChecksTheBoxesOfTheChipsChannelsOnly) {
    Create();
    Click(IDC_OPEN_DEVICE);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(Panel(), kOpenedPanel);
    EXPECT_EQ(dialog->Connected(), 1);
    for (int channel = 1; channel <= kChannelBoxCount; ++channel) {
        EXPECT_EQ(BoxEnabled(channel), channel <= 4) << channel;
        EXPECT_EQ(BoxChecked(channel), channel <= 4) << channel;
    }
    // The table: row numbers, then four columns per channel in quantity order.
    ASSERT_EQ(Columns(), 17);
    EXPECT_EQ(ColumnTitle(0), L"序号");
    EXPECT_EQ(ColumnTitle(1), L"1 基础值");
    EXPECT_EQ(ColumnTitle(2), L"1 滤波值");
    EXPECT_EQ(ColumnTitle(3), L"1 差值");
    EXPECT_EQ(ColumnTitle(4), L"1 噪声值");
    EXPECT_EQ(ColumnTitle(16), L"4 噪声值");
    EXPECT_EQ(ListView_GetColumnWidth(list, 0), 50);
    EXPECT_EQ(ListView_GetColumnWidth(list, 16), 100);
    LVCOLUMNW format{};
    format.mask = LVCF_FMT;
    ListView_GetColumn(list, 5, &format);
    EXPECT_EQ(format.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_CENTER);
    const DWORD styles = ListView_GetExtendedListViewStyle(list);
    EXPECT_TRUE((styles & LVS_EX_GRIDLINES) && (styles & LVS_EX_FULLROWSELECT));
    EXPECT_EQ(Rows(), 0);

    Click(IDC_CLOSE_DEVICE);
    EXPECT_EQ(Panel(), kClosedPanel);
    EXPECT_EQ(dialog->Connected(), 0);
    for (int channel = 1; channel <= 4; ++channel) {
        EXPECT_FALSE(BoxEnabled(channel) || BoxChecked(channel)) << channel;
    }
    EXPECT_EQ(StoreChannels(), 0u);
    EXPECT_EQ(SimulatorRecord().streaming, 0u);  // the close sent the stop request
}

TEST_F(AcquisitionTest, ButtonsFollowEveryTransition) {
    Create();
    EXPECT_EQ(Panel(), kClosedPanel);
    Click(IDC_OPEN_DEVICE);
    EXPECT_EQ(Panel(), kOpenedPanel);
    EXPECT_EQ(SimulatorRecord().streaming, 0u);  // the open stopped what it started

    Click(IDC_STOP_RECEIVING);  // enabled although nothing is received
    EXPECT_EQ(Panel(), kOpenedPanel);

    Click(IDC_CONTINUE_RECEIVING);
    EXPECT_EQ(Panel(), kReceivingPanel);
    EXPECT_EQ(SimulatorRecord().streaming, 1u);
    EXPECT_TRUE(PumpUntil([&] { return Rows() > 5; }));
    Click(IDC_STOP_RECEIVING);
    EXPECT_EQ(Panel(), kOpenedPanel);
    EXPECT_EQ(SimulatorRecord().streaming, 0u);

    Click(IDC_CONTINUE_RECEIVING);
    Click(IDC_STOP_RECEIVING);
    Click(IDC_CLOSE_DEVICE);
    EXPECT_EQ(Panel(), kClosedPanel);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(SimulatorRecord().protocolErrors, 0u);
}

TEST_F(AcquisitionTest, OpenWithoutAdapterLibrariesReportsTheDeviceAsNotConnected) {
    struct Case {
        const wchar_t* folder;
        const wchar_t* libraryText;
    };
    // Each library's message goes on with the reason, on a line of its own.
    for (const Case& missing :
         {Case{L"no-libraries-here", L"tessik 未加载!!!\n程序文件夹中没有 Tessik.dll。"},
          Case{L"tessik-only", L"Dravikdll 未加载!!!\n程序文件夹中没有 Dravik.dll。"}}) {
        Create(missing.folder);
        Click(IDC_OPEN_DEVICE);
        ASSERT_EQ(prompts.shown.size(), 2u) << missing.folder;
        EXPECT_EQ(prompts.shown[0].owner, nullptr);
        EXPECT_EQ(prompts.shown[0].text, missing.libraryText);
        EXPECT_EQ(prompts.shown[0].caption, L"Sorvel");
        EXPECT_EQ(prompts.shown[0].type, static_cast<UINT>(MB_OK));
        EXPECT_EQ(prompts.shown[1].text, L"设备未连接！");
        EXPECT_EQ(prompts.shown[1].caption, L"Palvex");
        EXPECT_EQ(prompts.shown[1].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(dialog->Connected(), 0);
        EXPECT_EQ(Panel(), kClosedPanel);
        Destroy();
        prompts.shown.clear();
    }
}

TEST_F(AcquisitionTest, FailedLayoutReadKeepsTheHandshakesStatusAndTheClosedButtons) {
    SetVariable(L"TESSIK_SIM_FAULT", L"read-fails");
    Create();
    Click(IDC_OPEN_DEVICE);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, L"通道初始化失败，请检查MCU是否正常工作！");
    EXPECT_EQ(prompts.shown[0].caption, L"Palvex");
    EXPECT_EQ(prompts.shown[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(dialog->Connected(), 1);
    EXPECT_EQ(Panel(), kClosedPanel);
    EXPECT_FALSE(BoxEnabled(1));
    EXPECT_EQ(Columns(), 0);
}

TEST_F(AcquisitionTest, RefusedHandshakes) {
    // The adapter refuses the first two handshakes: the one at open and the first
    // "继续接收"; the next one goes through.
    SetVariable(L"TESSIK_SIM_FAULT", L"read-fails");
    SetVariable(L"TESSIK_SIM_FAULT_REQUEST", L"start");
    SetVariable(L"TESSIK_SIM_FAULT_LENGTH", L"2");
    Create();

    // At open: no message, the device stays "not connected", yet the buttons are Opened.
    Click(IDC_OPEN_DEVICE);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(dialog->Connected(), 0);
    EXPECT_EQ(Panel(), kOpenedPanel);
    EXPECT_TRUE(BoxChecked(4));

    // At "继续接收": the warning, and nothing else changes.
    Click(IDC_CONTINUE_RECEIVING);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, L"与下位机握手失败!!!\n请检查仿真器与芯片的连接是否正确!!!");
    EXPECT_EQ(prompts.shown[0].caption, L"警告");
    EXPECT_EQ(prompts.shown[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(Panel(), kOpenedPanel);
    Pump();
    EXPECT_EQ(Rows(), 0);

    Receive(3);
    EXPECT_EQ(Panel(), kOpenedPanel);
    EXPECT_GE(Rows(), 3);
}

TEST_F(AcquisitionTest, EveryFrameIsOneRowWithItsOwnValues) {
    // Without report delay, ended by the read after the 2000th frame: receiving ends closed
    // with exactly 2000 rows, whatever the machine's speed.
    constexpr int kFrames = 2000;
    SetVariable(L"TESSIK_SIM_SEED", L"5");
    SetVariable(L"TESSIK_SIM_REPORT_DELAY_US", L"0");
    SetVariable(L"TESSIK_SIM_FAULT", L"read-fails");
    SetVariable(L"TESSIK_SIM_FAULT_AFTER", std::to_wstring(kFrames + 1).c_str());
    Create();
    Click(IDC_OPEN_DEVICE);
    Click(IDC_CONTINUE_RECEIVING);
    ASSERT_TRUE(PumpUntil([&] { return Panel() == kClosedPanel; }, 60000));
    ASSERT_EQ(Rows(), kFrames);
    ExpectRowsAreTheChipsFrames(4, 5, kFrames);
    EXPECT_EQ(Cell(kFrames, 0), L"") << "no row past the frames";
    // The last row is scrolled into view.
    EXPECT_GE(ListView_GetTopIndex(list) + ListView_GetCountPerPage(list), kFrames);
    // Touches make negative differences; they keep their sign in the table.
    const SampleSeries& differences =
        dialog->ListPage().RowSource()->Channel(0).Series(SampleQuantity::Difference);
    int negativeRow = 0;
    while (negativeRow < kFrames &&
           differences.At(kLeadingZeroSamples + static_cast<std::uint32_t>(negativeRow)) >= 0) {
        ++negativeRow;
    }
    ASSERT_LT(negativeRow, kFrames) << "no negative difference on channel 1";
    EXPECT_TRUE(Cell(negativeRow, 3).starts_with(L"-")) << negativeRow;
}

TEST_F(AcquisitionTest, ClearEmptiesTheTableAndRestartsTheSamplesAndTheNumbering) {
    Create();
    Click(IDC_CLEAR_DATA);  // before any open: nothing to clear, nothing sent
    EXPECT_EQ(Columns(), 0);
    Click(IDC_OPEN_DEVICE);
    Receive(50);
    Click(IDC_CLEAR_DATA);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Columns(), 17);
    for (std::uint32_t p = 0; p < 4; ++p) {
        const ChannelSamples& channel = dialog->Store().Channel(p);
        ASSERT_EQ(channel.SampleCount(), kLeadingZeroSamples);
        for (SampleQuantity q : kAllSampleQuantities) {
            EXPECT_EQ(channel.Series(q).Last(), 0);
        }
    }
    Receive(5);
    EXPECT_EQ(Cell(0, 0), L"1");
    EXPECT_EQ(static_cast<std::uint32_t>(Rows()), dialog->Store().FrameCount());
}

// A painted table reads the rows it shows under one lock of the store; the cells it gives
// must be the samples' own, and after a clear the new frames', also while the table is hidden
// and so not painted again.
TEST_F(AcquisitionTest, APaintedTableShowsTheSamplesOfTheRowsItHoldsNow) {
    Create();
    HWND tabs = ::GetDlgItem(hwnd, IDC_PAGE_TABS);
    ClickTab(tabs, 1);
    Click(IDC_OPEN_DEVICE);
    // The first and the last rows: without report delay a run holds thousands of rows, and
    // reading every cell of them through the list took minutes on a loaded machine.
    auto expectCellsAreTheSamples = [this](int firstRow) {
        const TouchSampleStore& store = dialog->Store();
        constexpr int kRowsAtEachEnd = 100;
        const int rows = Rows();
        for (int row = firstRow; row < rows; ++row) {
            if (row == firstRow + kRowsAtEachEnd && row < rows - kRowsAtEachEnd) {
                row = rows - kRowsAtEachEnd;
            }
            for (std::uint32_t p = 0; p < 4; ++p) {
                for (SampleQuantity q : kAllSampleQuantities) {
                    const int column = 1 + 4 * static_cast<int>(p) + static_cast<int>(q);
                    ASSERT_EQ(Cell(row, column),
                              std::to_wstring(store.Channel(p).Series(q).At(
                                  kLeadingZeroSamples + static_cast<std::uint32_t>(row))))
                        << "row " << row << " column " << column;
                }
            }
        }
    };
    Receive(40);
    ListView_EnsureVisible(list, 0, FALSE);
    ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    expectCellsAreTheSamples(0);

    ClickTab(tabs, 0);
    Click(IDC_CLEAR_DATA);
    Receive(10);
    expectCellsAreTheSamples(0);
}

TEST_F(AcquisitionTest, RowsStayAfterCloseAndGoWithTheNextOpen) {
    SetVariable(L"TESSIK_SIM_SEED", L"9");
    SetVariable(L"TESSIK_SIM_CHANNELS", L"8");
    Create();
    Click(IDC_OPEN_DEVICE);
    Receive(100);
    const int rows = Rows();
    Click(IDC_CLOSE_DEVICE);
    EXPECT_EQ(StoreChannels(), 0u);
    ASSERT_EQ(Rows(), rows);
    ASSERT_EQ(Columns(), 33);
    ExpectRowsAreTheChipsFrames(8, 9, rows);
    Click(IDC_CLEAR_DATA);  // with the store empty: the page is not told
    EXPECT_EQ(Rows(), rows);

    SetVariable(L"TESSIK_SIM_CHANNELS", L"3");
    Click(IDC_OPEN_DEVICE);
    EXPECT_EQ(Rows(), 0);
    ASSERT_EQ(Columns(), 13);
    EXPECT_EQ(ColumnTitle(12), L"3 噪声值");
    for (int column = 0; column < 13; ++column) {
        EXPECT_FALSE(ColumnTitle(column).starts_with(L"4 ")) << column;
    }
    EXPECT_TRUE(BoxEnabled(3));
    EXPECT_FALSE(BoxEnabled(4));
}

TEST_F(AcquisitionTest, ReadFailureWhileReceivingEndsClosedKeepingTheRowsWithoutMessage) {
    SetVariable(L"TESSIK_SIM_FAULT", L"read-fails");
    SetVariable(L"TESSIK_SIM_FAULT_AFTER", L"40");
    Create();
    Click(IDC_OPEN_DEVICE);
    Click(IDC_CONTINUE_RECEIVING);
    EXPECT_TRUE(PumpUntil([&] { return Panel() == kClosedPanel; }));
    EXPECT_TRUE(prompts.shown.empty());
    // The 40 frame reads before the fault: the layout and 39 rows, as after "关闭设备".
    ASSERT_EQ(Rows(), 39);
    EXPECT_EQ(Columns(), 17);
    ExpectRowsAreTheChipsFrames(4, 1, 39);
    EXPECT_EQ(StoreChannels(), 0u);
    EXPECT_EQ(dialog->Connected(), 0);
    EXPECT_FALSE(BoxEnabled(1) || BoxChecked(1));
    EXPECT_EQ(dialog->ListPage().RowCount(), 39) << "what the export writes";
}

TEST_F(AcquisitionTest, StopRunsTheStopRequestAfterTheReadInFlightWithoutHoldingTheWindow) {
    // Each report takes 100 ms: a frame read (header, four data reports, status) takes 600 ms.
    SetVariable(L"TESSIK_SIM_REPORT_DELAY_US", L"100000");
    Create();
    Click(IDC_OPEN_DEVICE);
    Click(IDC_CONTINUE_RECEIVING);
    std::this_thread::sleep_for(std::chrono::milliseconds(250));  // the first read runs
    for (int stop = 0; stop < 2; ++stop) {  // while receiving, then with nothing in flight
        const auto pressed = Clock::now();
        Press(IDC_STOP_RECEIVING);
        EXPECT_LT(Clock::now() - pressed, std::chrono::milliseconds(100));
        EXPECT_EQ(Panel(), kWaitingPanel);
        EXPECT_TRUE(PumpUntil([&] { return Panel() == kOpenedPanel; }));
    }
    const SimulatorStatistics record = SimulatorRecord();
    EXPECT_EQ(record.streaming, 0u);
    EXPECT_EQ(record.protocolErrors, 0u);
    EXPECT_EQ(record.resyncs, 0u) << "the read and the stop request got mixed up";
    EXPECT_EQ(static_cast<std::uint32_t>(Rows()), record.framesServed - 1);
    Pump();
    EXPECT_EQ(Panel(), kOpenedPanel) << "a read failed after all";
}

TEST_F(AcquisitionTest, ClosingTheWindowWhileReceivingEndsTheAdapterThreadFirst) {
    SetVariable(L"TESSIK_SIM_CHANNELS", L"32");
    Create();
    Click(IDC_OPEN_DEVICE);
    Click(IDC_CONTINUE_RECEIVING);
    EXPECT_TRUE(PumpUntil([&] { return Rows() > 100; }));
    Click(IDCANCEL);  // Esc or the close box
    EXPECT_FALSE(::IsWindow(hwnd));
    dialog.reset();  // unloads Dravik and Tessik: TearDown checks they are gone
}

TEST_F(AcquisitionTest, ClosingTheWindowWhileAFailedReadsCommandsArePending) {
    SetVariable(L"TESSIK_SIM_FAULT", L"read-fails");
    SetVariable(L"TESSIK_SIM_FAULT_AFTER", L"1");
    Create();
    Click(IDC_OPEN_DEVICE);
    Click(IDC_CONTINUE_RECEIVING);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the failed read's end posted
    Click(IDCANCEL);
    Pump();
    EXPECT_FALSE(::IsWindow(hwnd));
    dialog.reset();
}

}  // namespace
