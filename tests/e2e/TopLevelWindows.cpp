#include "tests/e2e/TopLevelWindows.h"

#include "tests/e2e/Waiting.h"

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";

struct DialogSearch {
    DWORD processId;
    const std::wstring* caption;  // null: any of the message box captions
    HWND found;
};

bool IsMessageBoxCaption(const std::wstring& caption) {
    for (const wchar_t* known : kMessageBoxCaptions) {
        if (caption == known) {
            return true;
        }
    }
    return false;
}

BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM parameter) {
    auto& search = *reinterpret_cast<DialogSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search.processId || !::IsWindowVisible(hwnd) || ClassName(hwnd) != kDialogClass) {
        return TRUE;
    }
    const std::wstring caption = WindowText(hwnd);
    if (search.caption != nullptr ? caption == *search.caption : IsMessageBoxCaption(caption)) {
        search.found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialog(DWORD processId, const std::wstring* caption) {
    DialogSearch search{processId, caption, nullptr};
    ::EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text of a message box: its static controls with text (the icon is a static too).
std::wstring MessageText(HWND box) {
    std::wstring text;
    for (HWND label : DescendantsOfClass(box, L"Static")) {
        text += WindowText(label);
    }
    return text;
}

}  // namespace

std::wstring WindowText(HWND hwnd) {
    // WM_GETTEXT is copied across processes by the system, unlike most messages.
    wchar_t buffer[1024] = {};
    ::SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer),
                          SMTO_ABORTIFHUNG, 2000, nullptr);
    return buffer;
}

std::wstring ClassName(HWND hwnd) {
    wchar_t buffer[256] = {};
    ::GetClassNameW(hwnd, buffer, 256);
    return buffer;
}

namespace {

struct ClassSearch {
    const std::wstring* className;
    std::vector<HWND> found;
};

// A named function, not a lambda: on 32-bit Windows the system calls it as CALLBACK.
BOOL CALLBACK CollectOfClass(HWND child, LPARAM parameter) {
    auto& s = *reinterpret_cast<ClassSearch*>(parameter);
    if (_wcsicmp(ClassName(child).c_str(), s.className->c_str()) == 0) {
        s.found.push_back(child);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> DescendantsOfClass(HWND parent, const std::wstring& className) {
    ClassSearch search{&className, {}};
    ::EnumChildWindows(parent, CollectOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindDialogWindow(DWORD processId, const std::wstring& caption) {
    return FindDialog(processId, &caption);
}

std::optional<MessageBoxSeen> FindMessageBox(DWORD processId) {
    HWND box = FindDialog(processId, nullptr);
    if (box == nullptr) {
        return std::nullopt;
    }
    return MessageBoxSeen{box, WindowText(box), MessageText(box)};
}

std::optional<MessageBoxSeen> WaitForMessageBox(DWORD processId,
                                                std::chrono::milliseconds timeout) {
    std::optional<MessageBoxSeen> box;
    WaitUntil([&] { return (box = FindMessageBox(processId)).has_value(); }, timeout);
    return box;
}

bool AnswerMessageBox(const MessageBoxSeen& box) {
    HWND ok = ::GetDlgItem(box.window, IDOK);
    if (ok != nullptr) {
        ::PostMessageW(ok, BM_CLICK, 0, 0);
    } else {
        ::PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    return WaitUntil([&] { return !::IsWindow(box.window) || !::IsWindowVisible(box.window); }, 5s);
}
