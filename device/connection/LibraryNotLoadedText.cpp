#include "device/connection/LibraryNotLoadedText.h"

namespace {
std::wstring Words(ConnectResult result) {
    switch (result) {
        case ConnectResult::TessikNotLoaded:
            return L"tessik 未加载!!!";
        case ConnectResult::DravikNotLoaded:
            return L"Dravikdll 未加载!!!";
        default:
            return {};
    }
}
}  // namespace

std::wstring LibraryNotLoadedBoxText(ConnectResult result) {
    return result == ConnectResult::TessikNotLoaded ? Words(result) + L"\n" : Words(result);
}

std::wstring LibraryNotLoadedLine(ConnectResult result) {
    const std::wstring words = Words(result);
    return words.empty() ? words : std::wstring(kLibraryNotLoadedCaption) + L": " + words;
}
