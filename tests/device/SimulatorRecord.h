#pragma once
// Test support under Windows: the simulator Tessik.dll's record of what was asked of it, read
// through its own Control operation, and prompts that record what would be shown.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/Prompts.h"
#include "tessik/AdapterSimulator.h"

inline SimulatorStatistics SimulatorRecord() {
    HMODULE tessik = GetModuleHandleW(L"Tessik.dll");
    SimulatorStatistics statistics{};
    if (tessik == nullptr) {
        ADD_FAILURE() << "Tessik.dll is not loaded";
        return statistics;
    }
    using Factory = HidTransport* (*)();
    FARPROC address = GetProcAddress(tessik, "GetUsbHidObj");
    Factory factory = nullptr;
    std::memcpy(&factory, &address, sizeof factory);
    EXPECT_TRUE(factory()->Control(kSimulatorQueryStatistics, &statistics, sizeof statistics));
    return statistics;
}

struct ShownMessage {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};

// Records every message box; answers the save dialog with savePath, or cancels it when that
// is empty.
class RecordingPrompts final : public UserPrompts {
  public:
    std::vector<ShownMessage> shown;
    std::vector<SaveFileOptions> asked;
    HWND askedOwner = reinterpret_cast<HWND>(-1);
    std::wstring savePath;

    int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption,
                    UINT type) override {
        shown.push_back({owner, text, caption, type});
        return IDOK;
    }
    bool AskSaveFile(HWND owner, const SaveFileOptions& options, std::wstring& path) override {
        askedOwner = owner;
        asked.push_back(options);
        path = savePath;
        return !savePath.empty();
    }
};
