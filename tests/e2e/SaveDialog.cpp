#include "tests/e2e/SaveDialog.h"

#include "tests/e2e/TopLevelWindows.h"
#include "tests/e2e/Waiting.h"

namespace {

// Under Wine the dialog is titled "保存" (Save), like its confirming button.
constexpr wchar_t kSaveDialogCaption[] = L"保存";

HWND FileNameField(HWND dialog) {
    for (HWND edit : DescendantsOfClass(dialog, L"Edit")) {
        if (::IsWindowVisible(edit) && ::IsWindowEnabled(edit)) {
            return edit;
        }
    }
    return nullptr;
}

HWND ConfirmButton(HWND dialog) {
    for (HWND button : DescendantsOfClass(dialog, L"Button")) {
        if (::GetDlgCtrlID(button) == IDOK && ::IsWindowVisible(button)) {
            return button;
        }
    }
    return nullptr;
}

}  // namespace

bool SaveAs(DWORD processId, const std::wstring& path, std::chrono::milliseconds timeout) {
    HWND dialog = nullptr;
    HWND field = nullptr;
    if (!WaitUntil(
            [&] {
                dialog = FindDialogWindow(processId, kSaveDialogCaption);
                field = dialog != nullptr ? FileNameField(dialog) : nullptr;
                return field != nullptr;
            },
            timeout)) {
        return false;
    }
    ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    HWND confirm = ConfirmButton(dialog);
    if (confirm != nullptr) {
        ::PostMessageW(confirm, BM_CLICK, 0, 0);
    } else {
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    return WaitUntil([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); }, timeout);
}
