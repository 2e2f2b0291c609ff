#pragma once
// The program's top-level dialog windows as a user sees them: the main window, message boxes
// and the save dialog are all windows of the dialog class "#32770", told apart by caption.

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// A visible dialog window of the process with this caption, or null.
HWND FindDialogWindow(DWORD processId, const std::wstring& caption);

std::wstring WindowText(HWND hwnd);
std::wstring ClassName(HWND hwnd);
// Every descendant of a window of the given class (e.g. L"Edit", L"Button").
std::vector<HWND> DescendantsOfClass(HWND parent, const std::wstring& className);

// A message box of the program: caption, text and the window to answer.
struct MessageBoxSeen {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
};

// The captions of the program's message boxes: its own name, the warning and the loader's.
inline const wchar_t* const kMessageBoxCaptions[] = {L"Palvex", L"警告", L"Sorvel"};

std::optional<MessageBoxSeen> FindMessageBox(DWORD processId);
std::optional<MessageBoxSeen> WaitForMessageBox(DWORD processId, std::chrono::milliseconds timeout);
// Presses the box's OK button and waits until the box has gone.
bool AnswerMessageBox(const MessageBoxSeen& box);
