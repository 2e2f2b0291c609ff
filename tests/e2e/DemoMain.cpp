// The demo behind run.sh on a machine without a display: starts Palvex beside the adapter
// simulator, presses "打开设备" and "继续接收" as a person would, lets live data run for a few
// seconds and saves pictures of the three pages: the chart page while data arrives, with the
// levels of the fourth key that the evaluation page draws on its "差值" chart, the data page
// and the evaluation page after the stop. Given a recording file, it starts Palvex with that
// file instead and saves the pictures of the recording once it shows.
//
//   palvex_demo <program folder> <chart picture> <data picture> <evaluation picture> [recording]
//
// TESSIK_SIM_CHANNELS is passed on to the simulator (32 when unset); PALVEX_DEMO_SECONDS sets
// how long data runs before the pictures (4 when unset).

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "res/resource.h"
#include "tests/e2e/AcquisitionStates.h"
#include "tests/e2e/PalvexProcess.h"
#include "tests/e2e/Screenshot.h"
#include "tests/e2e/TopLevelWindows.h"
#include "tests/e2e/Waiting.h"

namespace {

std::wstring VariableOr(const wchar_t* name, const wchar_t* fallback) {
    wchar_t value[64] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, 64);
    return length > 0 && length < 64 ? value : fallback;
}

// For the terminal that run.sh prints to.
std::string Utf8(const std::wstring& text) {
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(static_cast<std::size_t>(
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(),
                              static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

int Fail(const char* what) {
    std::fprintf(stderr, "palvex_demo: %s\n", what);
    return 1;
}

bool ClickAndWaitFor(const PalvexWindow& window, int id, const ButtonStates& expected) {
    window.Click(id);
    return WaitUntil([&] { return ReadButtonStates(window) == expected; }, 10s);
}

// Waits until the recording shows; false, with the program's message printed, when it is
// refused.
bool WaitForRecording(const PalvexWindow& window, DWORD processId) {
    std::optional<MessageBoxSeen> refused;
    WaitUntil(
        [&] {
            refused = FindMessageBox(processId);
            return refused || window.Text(IDC_RECORDING_NAME).rfind(L"记录：", 0) == 0;
        },
        5min);
    if (refused) {
        std::wstring said = refused->text;
        std::replace(said.begin(), said.end(), L'\n', L' ');
        std::fprintf(stderr, "palvex_demo: Palvex said: %s\n", Utf8(said).c_str());
        AnswerMessageBox(*refused);
        return false;
    }
    return true;
}

// Shows the evaluation page until it has figures for every channel, and selects the fourth
// key's row, whose levels the "差值" chart then draws.
void SelectFourthKey(const PalvexWindow& window) {
    window.ShowTab(2);
    const RemoteListView table = window.EvaluationTable();
    WaitUntil([&] { return table.RowCount() >= 4 && table.Cell(3, 1) != L"0"; }, 20s);
    table.Select(3);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5 && argc != 6) {
        return Fail(
            "usage: palvex_demo <program folder> <chart picture> <data picture> <evaluation "
            "picture> [recording]");
    }
    const bool reviewing = argc == 6;
    const int seconds = std::max(1, _wtoi(VariableOr(L"PALVEX_DEMO_SECONDS", L"4").c_str()));
    PalvexProcess process;
    if (!process.Start(argv[1],
                       {{L"TESSIK_SIM_CHANNELS", VariableOr(L"TESSIK_SIM_CHANNELS", L"32")}},
                       reviewing ? argv[5] : L"")) {
        return Fail("cannot start Palvex.exe");
    }
    HWND main = process.WaitForMainWindow(30s);
    if (main == nullptr) {
        return Fail("the main window did not appear");
    }
    const PalvexWindow window(process.Handle(), main);
    if (reviewing) {
        if (!WaitForRecording(window, process.Id())) {
            ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
            process.WaitForExit(15s);
            return 1;
        }
        SelectFourthKey(window);
        std::this_thread::sleep_for(500ms);
        const bool evaluationSaved = SaveWindowPicture(main, argv[4]);
        window.ShowTab(0);
        std::this_thread::sleep_for(500ms);
        const bool chartSaved = SaveWindowPicture(main, argv[2]);
        window.ShowTab(1);
        std::this_thread::sleep_for(500ms);
        const bool dataSaved = SaveWindowPicture(main, argv[3]);
        ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
        process.WaitForExit(15s);
        return chartSaved && dataSaved && evaluationSaved ? 0
                                                          : Fail("a picture could not be saved");
    }
    if (!ClickAndWaitFor(window, IDC_OPEN_DEVICE, kOpened)) {
        return Fail("the device did not open");
    }
    if (!ClickAndWaitFor(window, IDC_CONTINUE_RECEIVING, kReceiving)) {
        return Fail("receiving did not start");
    }
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    SelectFourthKey(window);
    window.ShowTab(0);
    std::this_thread::sleep_for(500ms);
    const bool chartSaved = SaveWindowPicture(main, argv[2]);
    // The table is taken after the stop: rows arriving at full speed scroll it while the
    // picture is copied.
    window.ShowTab(1);
    std::this_thread::sleep_for(1s);
    ClickAndWaitFor(window, IDC_STOP_RECEIVING, kOpened);
    std::this_thread::sleep_for(500ms);
    const bool dataSaved = SaveWindowPicture(main, argv[3]);
    window.ShowTab(2);
    std::this_thread::sleep_for(1s);
    const bool evaluationSaved = SaveWindowPicture(main, argv[4]);
    ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (!process.WaitForExit(15s)) {
        return Fail("Palvex did not end");
    }
    return chartSaved && dataSaved && evaluationSaved ? 0 : Fail("a picture could not be saved");
}
