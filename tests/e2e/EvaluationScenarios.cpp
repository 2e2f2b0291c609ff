// The "按键评估" page from outside: a scripted simulator received in the window, its rows set
// against the script's truth and against palvex-capture's figures for the exported recording,
// the report and the summary written from the window, the settings typed in, and a recording of
// a million frames judged while the window answers.

#include <sstream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/capture/CaptureRunner.h"
#include "tests/e2e/Answering.h"
#include "tests/e2e/PalvexScenario.h"
#include "tests/e2e/RecordingFiles.h"
#include "tests/e2e/SaveDialog.h"
#include "tests/e2e/TopLevelWindows.h"

namespace {

using EvaluationScenario = PalvexScenario;

constexpr int kEvaluationTab = 2;
constexpr int kJitter[] = {0, 2, -1, 3, -3, 1, -2};

// The table's columns, and the summary CSV's column each shows (the verdict is compared apart).
enum Column { kChannel, kFrames, kNoise, kRms, kTouches, kDelta, kWeakest, kSnr, kVerdict };
const std::vector<std::pair<int, std::string>> kCsvColumnOf = {
    {0, "channel"},          {1, "samples"},          {2, "noise_pp"},      {3, "noise_rms"},
    {4, "touches"},          {5, "touch_delta"},      {6, "weakest_delta"}, {7, "snr"},
    {9, "finger_threshold"}, {10, "noise_threshold"}, {11, "hysteresis"}};

// The page shows the figures of frames frames once its line says so.
bool Evaluated(const PalvexWindow& window, int frames) {
    return window.TextOn(window.EvaluationPage(), IDC_EVALUATION_STATUS) ==
           L"已评估 " + std::to_wstring(frames) + L" 帧";
}

void ClickOnPage(HWND page, int id) {
    ::PostMessageW(::GetDlgItem(page, id), BM_CLICK, 0, 0);
}

// The lines of a CSV file without quoting, split at the commas.
std::vector<std::vector<std::string>> CsvLines(const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string>& fields = lines.emplace_back();
        std::istringstream cells(line);
        for (std::string field; std::getline(cells, field, ',');) {
            fields.push_back(field);
        }
    }
    return lines;
}

std::wstring Widened(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

TEST_F(EvaluationScenario, RowsAfterStoppingAreTheScriptsAndTheCapturesFigures) {
    // Channel 1 touched by 60 counts, channel 2 by 90, for 300 frames each, with the chip's
    // jitter of -3 to 3. The adapter falls mute after 6000 frames, so receiving never outruns
    // the test.
    Launch({{L"TESSIK_SIM_CHANNELS", L"2"},
            {L"TESSIK_SIM_TOUCH", L"1:1000:300:60,2:2000:300:90"},
            {L"TESSIK_SIM_FAULT", L"mute"},
            {L"TESSIK_SIM_FAULT_AFTER", L"6001"}});
    const RemoteListView list = Window().DataList();
    ASSERT_TRUE(ClickAndWaitFor(IDC_OPEN_DEVICE, kOpened));
    ASSERT_TRUE(ClickAndWaitFor(IDC_CONTINUE_RECEIVING, kReceiving));
    // Past the second touch, which ends at frame 2300; a crowded core takes a minute or more.
    ASSERT_TRUE(WaitUntil([&] { return list.RowCount() >= 2500; }, 180s)) << list.RowCount();
    Window().Click(IDC_STOP_RECEIVING);
    // Stopped, or on a machine slow enough to reach the mute adapter first, closed.
    ASSERT_TRUE(WaitUntil(
        [&] {
            const ButtonStates states = ReadButtonStates(Window());
            return states == kOpened || states == kClosed;
        },
        20s));
    const int frames = list.RowCount();
    Window().ShowTab(kEvaluationTab);
    ASSERT_TRUE(WaitUntil([&] { return Evaluated(Window(), frames); }, 20s))
        << Window().TextOn(Window().EvaluationPage(), IDC_EVALUATION_STATUS);

    const RemoteListView table = Window().EvaluationTable();
    ASSERT_EQ(table.RowCount(), 2);
    for (const auto& [row, delta] : {std::pair{0, 60.0}, std::pair{1, 90.0}}) {
        const TableRow cells = table.Row(row);
        EXPECT_EQ(cells[kFrames], std::to_wstring(frames));
        EXPECT_EQ(cells[kNoise], L"6");
        EXPECT_EQ(cells[kTouches], L"1");
        EXPECT_NEAR(std::stod(cells[kDelta]), delta, delta * 0.05);
        EXPECT_EQ(cells[kVerdict], L"合格");
    }
    SavePicture(L"evaluated");

    const std::wstring folder = ExportFolder();
    const std::wstring data = folder + L"\\评估 数据.csv";
    const std::wstring summary = folder + L"\\评估 结果.csv";
    const std::wstring report = WorkFolder() + L"\\evaluation-report.html";
    for (const auto& [page, button, path] :
         {std::tuple{Window().Handle(), IDC_EXPORT_DATA, data},
          std::tuple{Window().EvaluationPage(), IDC_EXPORT_EVALUATION, summary},
          std::tuple{Window().EvaluationPage(), IDC_EXPORT_REPORT, report}}) {
        ::DeleteFileW(path.c_str());
        ClickOnPage(page, button);
        ASSERT_TRUE(SaveAs(process_.Id(), path, 15s)) << "no save dialog for " << button;
        ASSERT_TRUE(AnswerMessageBoxSaying(L"Palvex", L" 保存文件成功！！！ "));
    }

    // palvex-capture judges the exported recording: the same summary, byte for byte, and the
    // same figures as the table shows.
    const std::wstring captured = folder + L"\\capture 结果.csv";
    const ProgramRun run = RunCapture(
        L"--from \"" + data + L"\" --summary-csv \"" + captured + L"\"", ProgramFolder() + L"\\");
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    const std::string capturedBytes = ReadFileBytes(captured);
    EXPECT_EQ(ReadFileBytes(summary), capturedBytes);
    const std::vector<std::vector<std::string>> csv = CsvLines(capturedBytes);
    ASSERT_EQ(csv.size(), 3u);
    for (int row = 0; row < 2; ++row) {
        const TableRow cells = table.Row(row);
        for (const auto& [column, name] : kCsvColumnOf) {
            const auto at = std::find(csv[0].begin(), csv[0].end(), name) - csv[0].begin();
            const std::string& field = csv[static_cast<std::size_t>(row) + 1][at];
            EXPECT_EQ(cells[column], field.empty() ? L"-" : Widened(field)) << name;
        }
    }

    // The report beside it, for the browser to open (tests/e2e/report-in-browser.sh).
    const std::string html = ReadFileBytes(report);
    EXPECT_NE(html.find("<svg"), std::string::npos);
    EXPECT_NE(html.find("合格"), std::string::npos);
    EXPECT_NE(html.find("Palvex 接收的数据"), std::string::npos);
}

// Two keys of a recording opened at start: channel 1 touched by 40 counts for 30 of every 300
// frames (SNR 6.7 with the jitter's 6), channel 2 only resting.
std::string TwoKeys() {
    return Recording(2, 3000, [](int r, int c) {
        return kJitter[r % 7] + (c == 0 && r % 300 >= 100 && r % 300 < 130 ? 40 : 0);
    });
}

TEST_F(EvaluationScenario, EnterAppliesASettingAndABadOneIsRefusedWithTheFiguresKept) {
    Launch({}, ProgramFolder(), SavedRecording(L"两个 按键.csv", TwoKeys()));
    Window().ShowTab(kEvaluationTab);
    ASSERT_TRUE(WaitUntil([&] { return Evaluated(Window(), 3000); }, 20s));
    const RemoteListView table = Window().EvaluationTable();
    const HWND passMark = ::GetDlgItem(Window().EvaluationPage(), IDC_PASS_MARK);
    EXPECT_EQ(Window().TextOn(Window().EvaluationPage(), IDC_PASS_MARK), L"5");
    EXPECT_EQ(table.Cell(0, kVerdict), L"合格");
    EXPECT_EQ(table.Cell(1, kVerdict), L"未触摸");

    // A pass mark above the key's ratio fails it; Enter closes nothing.
    ::SendMessageW(passMark, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"8"));
    TypeEnter(passMark);
    EXPECT_TRUE(WaitUntil([&] { return table.Cell(0, kVerdict) == L"不合格"; }, 10s));
    EXPECT_TRUE(process_.Running());

    ::SendMessageW(passMark, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"五"));
    TypeEnter(passMark);
    ASSERT_TRUE(AnswerMessageBoxSaying(
        L"警告", L"最低信噪比应为不小于 0 的数值，例如 5 或 4.5\r\n请重新输入！", L"refused"));
    EXPECT_EQ(table.Cell(0, kVerdict), L"不合格");
    EXPECT_TRUE(Evaluated(Window(), 3000));
    EXPECT_TRUE(process_.Running());
}

TEST_F(EvaluationScenario, AMillionFrameRecordingIsJudgedWhileTheWindowAnswers) {
    // Four keys resting with the jitter, each touched by 50 counts for 40 of every 2000 frames.
    const std::string bytes = Recording(4, 1000000, [](int r, int c) {
        return kJitter[(r + c) % 7] + ((r + 500 * c) % 2000 < 40 ? 50 : 0);
    });
    Launch({}, ProgramFolder(), SavedRecording(L"一百万帧.csv", bytes));
    Window().ShowTab(kEvaluationTab);
    const auto longest = LongestAnswerUntil(
        Window(), [&] { return Evaluated(Window(), 1000000); }, 180s);
    ASSERT_TRUE(Evaluated(Window(), 1000000));
    EXPECT_LE(longest, 250ms) << "the window did not answer for " << longest.count() << " ms";
    const RemoteListView table = Window().EvaluationTable();
    ASSERT_EQ(table.RowCount(), 4);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(table.Cell(row, kTouches), L"500");
        EXPECT_EQ(table.Cell(row, kVerdict), L"合格");
    }
    SavePicture(L"million");
}

}  // namespace
