#pragma once
// The program's save dialog, answered as a user would: type the file name, press Save.

#include <windows.h>

#include <chrono>
#include <string>

// Waits for the save dialog of the process, enters the path in its file-name field and
// confirms it. False when the dialog did not come, had no field, or did not close.
bool SaveAs(DWORD processId, const std::wstring& path, std::chrono::milliseconds timeout);
