#pragma once
// A modeless main dialog that loads Tessik.dll and Dravik.dll from a folder beside the test
// program, driven the way a user drives it, with prompts that record instead of showing.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/PalvexDlg.h"
#include "chart/PlotLineSeries.h"
#include "res/resource.h"
#include "tests/connection/SimulatorRecord.h"
#include "tests/framework/RecordingPrompts.h"

// Enabling of "打开设备", "继续接收", "停止接收", "关闭设备", "清除数据", "导出数据", in this
// order.
inline constexpr char kClosedPanel[] = "100011";
inline constexpr char kOpenedPanel[] = "011111";
inline constexpr char kReceivingPanel[] = "001000";
inline constexpr char kWaitingPanel[] = "000000";

// The whole file at path; "<missing>" when there is none.
inline std::string FileBytes(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "<missing>";
    }
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    ::CloseHandle(file);
    return bytes;
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

class PalvexTest : public ::testing::Test {
  protected:
    void SetUp() override {
        static const bool controls = [] {
            INITCOMMONCONTROLSEX classes{sizeof(classes), 0xFF};
            return ::InitCommonControlsEx(&classes) != FALSE;
        }();
        ASSERT_TRUE(controls);
        InstallPrompts(&prompts);
        // Some 300 frames a second at most: however long a machine takes to see that enough
        // rows came and to stop, the rows a test reads back stay few. A test that needs an
        // exact number of frames sets a frame limit instead.
        SetVariable(L"TESSIK_SIM_REPORT_DELAY_US", L"500");
        SetVariable(L"TESSIK_SIM_CHANNELS", L"4");
    }

    void TearDown() override {
        Destroy();
        InstallPrompts(nullptr);
        for (const std::wstring& name : variables_) {
            ::SetEnvironmentVariableW(name.c_str(), nullptr);
        }
        EXPECT_EQ(::GetModuleHandleW(L"Tessik.dll"), nullptr) << "a library stayed loaded";
        EXPECT_EQ(::GetModuleHandleW(L"Dravik.dll"), nullptr) << "a library stayed loaded";
    }

    static std::wstring TestFolder() {
        wchar_t path[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring folder(path);
        return folder.substr(0, folder.find_last_of(L"\\/"));
    }

    void SetVariable(const wchar_t* name, const wchar_t* value) {
        ::SetEnvironmentVariableW(name, value);
        variables_.push_back(name);
    }

    // The main dialog with the libraries of TestFolder()\libraries.
    void Create(const wchar_t* libraries = L"simulator") {
        dialog = std::make_unique<CPalvexDlg>(TestFolder() + L"\\" + libraries);
        ASSERT_TRUE(dialog->Create(nullptr));
        hwnd = dialog->m_hWnd;
        dialog->ShowWindow(SW_SHOW);
        list = FindList();
        ASSERT_NE(list, nullptr);
    }

    void Destroy() {
        if (dialog != nullptr) {
            dialog->DestroyWindow();
            dialog.reset();
        }
    }

    // The command a click on the control sends, without waiting for the adapter.
    void Press(int id) const {
        ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(hwnd, id)));
    }
    // Press, and for a command that waits for the adapter, until its answer has come.
    void Click(int id) const {
        Press(id);
        EXPECT_TRUE(PumpUntil([this] { return !dialog->WaitingForAdapter(); }))
            << "no answer to " << id;
    }

    // Handles the messages waiting, at most kPumpedMessages of them: while frames arrive the
    // queue may never run empty.
    static void Pump() {
        constexpr int kPumpedMessages = 1000;
        MSG message;
        for (int handled = 0;
             handled < kPumpedMessages && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
             ++handled) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }

    // Handles the thread's messages until done() or the time is up; returns done().
    static bool PumpUntil(const std::function<bool()>& done, int millis = 10000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(millis);
        while (!done() && std::chrono::steady_clock::now() < end) {
            Pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        Pump();
        return done();
    }

    // "继续接收", until the table has at least rows rows, then "停止接收". The rows come only
    // once the start request was answered.
    void Receive(int rows) {
        Press(IDC_CONTINUE_RECEIVING);
        EXPECT_TRUE(PumpUntil([&] { return Rows() >= rows; })) << "only " << Rows() << " rows";
        Click(IDC_STOP_RECEIVING);
        Pump();
    }

    std::string Panel() const {
        std::string enabling;
        for (int id : {IDC_OPEN_DEVICE, IDC_CONTINUE_RECEIVING, IDC_STOP_RECEIVING,
                       IDC_CLOSE_DEVICE, IDC_CLEAR_DATA, IDC_EXPORT_DATA}) {
            enabling += ::IsWindowEnabled(::GetDlgItem(hwnd, id)) ? '1' : '0';
        }
        return enabling;
    }

    int Rows() const { return ListView_GetItemCount(list); }
    int Columns() const { return Header_GetItemCount(ListView_GetHeader(list)); }
    std::wstring Cell(int row, int column) const {
        wchar_t text[64] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 64;
        ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&item));
        return text;
    }
    std::wstring ColumnTitle(int column) const {
        wchar_t text[256] = {};
        LVCOLUMNW item{};
        item.mask = LVCF_TEXT;
        item.pszText = text;
        item.cchTextMax = 256;
        ::SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                       reinterpret_cast<LPARAM>(&item));
        return text;
    }
    bool BoxEnabled(int channel) const { return ::IsWindowEnabled(Box(channel)) != FALSE; }
    bool BoxChecked(int channel) const {
        return ::SendMessageW(Box(channel), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    HWND Box(int channel) const {
        return ::GetDlgItem(hwnd, kChannelBoxIds[static_cast<std::size_t>(channel - 1)]);
    }
    std::uint32_t StoreChannels() const {
        auto guard = dialog->Store().Lock();
        return dialog->Store().ChannelCount();
    }

    // Per channel of the chart page's lines: '1' shown in all four charts, '0' hidden in all,
    // '?' shown in some only.
    std::string LinesShown() const {
        const DlgChart& page = dialog->ChartPage();
        std::string shown;
        for (std::uint32_t channel = 0;
             page.Chart(SampleQuantity::Baseline).Line(channel) != nullptr; ++channel) {
            int visible = 0;
            for (SampleQuantity quantity : kAllSampleQuantities) {
                const CPlotLineSeries* line = page.Chart(quantity).Line(channel);
                visible += line != nullptr && line->IsVisible() ? 1 : 0;
            }
            shown += visible == 4 ? '1' : visible == 0 ? '0' : '?';
        }
        return shown;
    }

    RecordingPrompts prompts;
    std::unique_ptr<CPalvexDlg> dialog;
    HWND hwnd = nullptr;
    HWND list = nullptr;

  private:
    HWND FindList() const {
        HWND tabs = ::GetDlgItem(hwnd, IDC_PAGE_TABS);
        for (HWND page = ::GetWindow(tabs, GW_CHILD); page != nullptr;
             page = ::GetWindow(page, GW_HWNDNEXT)) {
            if (HWND found = ::GetDlgItem(page, IDC_DATA_LIST)) {
                return found;
            }
        }
        return nullptr;
    }

    std::vector<std::wstring> variables_;
};
