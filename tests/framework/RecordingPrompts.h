#pragma once
// Prompts for tests: every message box is recorded instead of shown, and the save dialog is
// answered with a path the test chose.

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Prompts.h"

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
