#pragma once
// Pictures of windows for a person to review (the tests never compare them).

#include <windows.h>

#include <string>

// Copies the window's area of the screen into a 24-bit BMP file. False when nothing could
// be copied or written.
bool SaveWindowPicture(HWND window, const std::wstring& path);
