#pragma once
// The words for a library that cannot be loaded, the same in the window and in palvex-capture:
// the window shows them in a box captioned "Sorvel" (tessik's with the line break it has always
// ended in), palvex-capture in an error line that begins with the caption.

#include <string>

#include "device/connection/DeviceLink.h"

inline constexpr wchar_t kLibraryNotLoadedCaption[] = L"Sorvel";

// The box's text for a library that is not loaded; empty for any other result.
std::wstring LibraryNotLoadedBoxText(ConnectResult result);

// "Sorvel: " and the words, without a line break; empty for any other result.
std::wstring LibraryNotLoadedLine(ConnectResult result);
