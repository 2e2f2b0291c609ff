#include "device/ActiveCodePage.h"

#include <windows.h>

std::string ToActiveCodePage(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int size =
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, converted.data(), size, nullptr, nullptr);
    return converted;
}
