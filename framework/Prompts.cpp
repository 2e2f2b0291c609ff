#include "framework/Prompts.h"

#include <commdlg.h>

#include <vector>

namespace {

class SystemPrompts final : public UserPrompts {
  public:
    int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption,
                    UINT type) override {
        return ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);
    }

    bool AskSaveFile(HWND owner, const SaveFileOptions& options, std::wstring& path) override {
        // The filter is a list of description/pattern pairs, each NUL-terminated, ending in
        // an empty string.
        std::wstring filter = options.filterDescription;
        filter.push_back(L'\0');
        filter += options.filterPattern;
        filter.push_back(L'\0');
        filter.push_back(L'\0');

        size_t capacity = options.pathCapacity > options.fileName.size()
                              ? options.pathCapacity
                              : options.fileName.size() + 1;
        std::vector<wchar_t> buffer(capacity, L'\0');
        options.fileName.copy(buffer.data(), options.fileName.size());

        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof(dialog);
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = filter.c_str();
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = buffer.data();
        dialog.nMaxFile = static_cast<DWORD>(buffer.size());
        dialog.lpstrDefExt =
            options.defaultExtension.empty() ? nullptr : options.defaultExtension.c_str();
        dialog.Flags = options.flags | OFN_EXPLORER;
        if (::GetSaveFileNameW(&dialog) == FALSE) {
            return false;
        }
        path = buffer.data();
        return true;
    }
};

SystemPrompts g_systemPrompts;
UserPrompts* g_installed = &g_systemPrompts;

}  // namespace

UserPrompts& Prompts() {
    return *g_installed;
}

void InstallPrompts(UserPrompts* prompts) {
    g_installed = prompts != nullptr ? prompts : &g_systemPrompts;
}
