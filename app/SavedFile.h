#pragma once
// Saving a file from the window as "导出数据" saves one: the name asked for, the bytes written
// beside the target under a temporary name, and the target replaced only once every byte was
// written and flushed, so a failed save leaves an existing file as it was; the user is told how
// it went in the export's words.

#include <windows.h>

#include <functional>
#include <string>

#include "device/recording/FileReplacement.h"
#include "framework/Prompts.h"

struct SaveResult {
    enum class Outcome { Saved, OpenFailed, WriteFailed };
    Outcome outcome;
    DWORD error;  // the system's error code when not saved
};

// Writes path: write puts the bytes into the file that replaces it, false when a write failed.
SaveResult SaveReplacing(const std::wstring& path,
                         const std::function<bool(ReplacementFile&)>& write,
                         FileWriteCall call = &::WriteFile);

// Asks for the file through the prompt seam (owned by dialogOwner), writes it with write unless
// accept refuses the name, and tells the user how it went in message boxes owned by owner.
void SaveWithPrompts(HWND owner, HWND dialogOwner, const SaveFileOptions& options,
                     const std::function<bool(const std::wstring& path)>& accept,
                     const std::function<bool(ReplacementFile&)>& write,
                     FileWriteCall call = &::WriteFile);
