#pragma once
// Under Wine the Windows calls for a process's private bytes and GUI object counts answer 0.
// These stand in for them there: the resident private memory of the Unix process that runs
// the program, and the number of its windows (USER objects that can leak, like the boxes and
// dialogs it opens). Wine has no count of a process's GDI objects.

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

// The resident anonymous memory of the Unix process whose command line is the program's
// path (Wine runs each Windows program as a Unix process named by its Windows path).
std::optional<std::size_t> UnixPrivateBytes(const std::wstring& programPath);
// Top-level and child windows of the process.
DWORD WindowCount(DWORD processId);
