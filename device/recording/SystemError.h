#pragma once
// Windows' error codes as the files' writers report them.

#include <windows.h>

#include <string>

// The error code that the call that just failed left, or fallback when it left none.
DWORD FailedCallError(DWORD fallback);

// The system's words for an error code as one line of UTF-8, with the code:
// "There is not enough space on the disk. (system error 112)".
std::string SystemErrorText(DWORD code);
