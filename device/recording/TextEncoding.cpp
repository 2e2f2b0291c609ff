#include "device/recording/TextEncoding.h"

#include <windows.h>

namespace {
std::string Encoded(const std::wstring& text, UINT codePage) {
    const int length = static_cast<int>(text.size());
    const int size =
        ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), length, converted.data(), size, nullptr,
                          nullptr);
    return converted;
}
}  // namespace

std::string ToActiveCodePage(const std::wstring& text) {
    return Encoded(text, CP_ACP);
}

std::string ToUtf8(const std::wstring& text) {
    return Encoded(text, CP_UTF8);
}

std::wstring FromUtf8(const std::string& text) {
    const int length = static_cast<int>(text.size());
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring converted(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, converted.data(), size);
    return converted;
}
