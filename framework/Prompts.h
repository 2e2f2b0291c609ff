#pragma once
// The one seam for user prompts: every message box and the save-file dialog of the
// program go through the installed UserPrompts. The program uses the system's; tests
// install their own to read what would be shown and to answer.

#include <windows.h>
#include <commdlg.h>  // the OFN_* options

#include <string>

struct SaveFileOptions {
    std::wstring filterDescription;  // e.g. L"csv file(*.csv)"
    std::wstring filterPattern;      // e.g. L"*.csv"
    std::wstring defaultExtension;   // "csv", ".csv" or "*.csv"
    std::wstring fileName;           // preset in the file-name field
    DWORD flags = 0;                 // OFN_* options; OFN_OVERWRITEPROMPT is honoured
    size_t pathCapacity = MAX_PATH;  // room for the chosen path, in characters
};

class UserPrompts {
  public:
    // Shows a message box; returns the button chosen (IDOK, ...), 0 on failure.
    virtual int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption,
                            UINT type) = 0;
    // Asks for a file to save to; true with the chosen path when the user confirmed.
    virtual bool AskSaveFile(HWND owner, const SaveFileOptions& options, std::wstring& path) = 0;

  protected:
    ~UserPrompts() = default;
};

// The installed prompts; the system's unless a test installed its own.
UserPrompts& Prompts();
// Installs prompts; nullptr restores the system's.
void InstallPrompts(UserPrompts* prompts);
