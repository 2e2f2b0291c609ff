#include "device/recording/SystemError.h"

#include <iterator>

#include "device/recording/TextEncoding.h"

DWORD FailedCallError(DWORD fallback) {
    const DWORD error = ::GetLastError();
    return error != ERROR_SUCCESS ? error : fallback;
}

std::string SystemErrorText(DWORD code) {
    wchar_t text[512] = {};
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                         0, text, static_cast<DWORD>(std::size(text)), nullptr);
    std::wstring words(text, length);
    while (!words.empty() && (words.back() == L'\r' || words.back() == L'\n' ||
                              words.back() == L' ' || words.back() == L'.')) {
        words.pop_back();
    }
    const std::string number = "system error " + std::to_string(code);
    return words.empty() ? number : ToUtf8(words) + " (" + number + ")";
}
