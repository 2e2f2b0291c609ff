#include "tests/e2e/PalvexScenario.h"

#include <algorithm>
#include <thread>

#include "tests/e2e/Screenshot.h"
#include "tests/e2e/TopLevelWindows.h"

namespace {

std::wstring WindowsPathFromEnvironment(const wchar_t* name, const wchar_t* fallback) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH);
    std::wstring path = length > 0 && length < MAX_PATH ? value : fallback;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::wstring Widen(const char* text) {
    std::wstring wide;
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length > 1) {
        wide.resize(static_cast<std::size_t>(length - 1));
        ::MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    }
    return wide;
}

}  // namespace

std::wstring ProgramFolder() {
    return WindowsPathFromEnvironment(L"PALVEX_E2E_FOLDER", L".");
}

std::wstring PictureFolder() {
    return WindowsPathFromEnvironment(L"PALVEX_E2E_PICTURES", L".");
}

std::wstring WorkFolder() {
    const std::wstring folder = WindowsPathFromEnvironment(L"PALVEX_E2E_WORK", L".");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void PalvexScenario::Launch(const Environment& simulator, const std::wstring& folder,
                            const std::wstring& argument) {
    ASSERT_TRUE(process_.Start(folder, simulator, argument))
        << "cannot start Palvex.exe in the folder";
    HWND main = process_.WaitForMainWindow(20s);
    ASSERT_NE(main, nullptr) << "the main window did not appear";
    window_ = std::make_unique<PalvexWindow>(process_.Handle(), main);
    ASSERT_NE(window_->ChartPage(), nullptr);
    ASSERT_NE(window_->ListPage(), nullptr);
}

void PalvexScenario::TearDown() {
    if (window_ != nullptr && process_.Running()) {
        SavePicture(L"end");
        while (auto box = FindMessageBox(process_.Id())) {
            ADD_FAILURE() << "a message box was left open";
            AnswerMessageBox(*box);
        }
        EXPECT_EQ(CloseProgram(), std::optional<DWORD>(0)) << "the program did not end cleanly";
    }
}

::testing::AssertionResult PalvexScenario::ClickAndWaitFor(int id, const ButtonStates& expected,
                                                           std::chrono::milliseconds timeout) {
    window_->Click(id);
    if (WaitUntil([&] { return ReadButtonStates(*window_) == expected; }, timeout)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "after clicking " << id << " the buttons show " << ReadButtonStates(*window_)
           << " instead of " << expected;
}

::testing::AssertionResult PalvexScenario::AnswerMessageBoxSaying(const std::wstring& caption,
                                                                  const std::wstring& text,
                                                                  const std::wstring& pictureStep) {
    const auto box = WaitForMessageBox(process_.Id(), 15s);
    if (!box) {
        return ::testing::AssertionFailure() << "no message box came";
    }
    if (!pictureStep.empty()) {
        std::this_thread::sleep_for(500ms);  // let the window behind the box repaint
        SavePicture(pictureStep);
    }
    const bool answered = AnswerMessageBox(*box);
    if (box->caption != caption || box->text != text) {
        return ::testing::AssertionFailure()
               << "the message box \"" << box->caption << "\" said \"" << box->text << "\"";
    }
    return answered ? ::testing::AssertionSuccess()
                    : ::testing::AssertionFailure() << "the message box did not go away";
}

void PalvexScenario::SavePicture(const std::wstring& step) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::wstring name = Widen(test->test_suite_name()) + L"." + Widen(test->name());
    SaveWindowPicture(window_->Handle(), PictureFolder() + L"\\" + name + L"-" + step + L".bmp");
}

std::optional<DWORD> PalvexScenario::CloseProgram(std::chrono::milliseconds timeout) {
    ::PostMessageW(window_->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    return process_.WaitForExit(timeout);
}
