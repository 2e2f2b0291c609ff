#include "app/EvaluationSettings.h"

#include "evaluation/SettingText.h"

#include <cwctype>

namespace {

// Blanks around the number are the box's, not the user's: "5 " is 5. Any character beyond ASCII
// is no digit and keeps the text from being a number.
std::string Trimmed(const std::wstring& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && std::iswspace(text[first])) {
        ++first;
    }
    while (last > first && std::iswspace(text[last - 1])) {
        --last;
    }
    std::string narrow;
    for (std::size_t at = first; at < last; ++at) {
        narrow += text[at] < 0x80 ? static_cast<char>(text[at]) : '?';
    }
    return narrow;
}

}  // namespace

Checked<double> CheckPassMark(const std::wstring& text) {
    if (const std::optional<double> mark = ParsePassMark(Trimmed(text))) {
        return {mark, {}};
    }
    return {std::nullopt, L"最低信噪比应为不小于 0 的数值，例如 5 或 4.5\r\n请重新输入！"};
}

Checked<std::uint32_t> CheckMinTouchFrames(const std::wstring& text) {
    if (const std::optional<std::uint32_t> frames = ParseMinTouchFrames(Trimmed(text))) {
        return {frames, {}};
    }
    return {std::nullopt, L"最短触摸帧数应为 1 到 4294967295 之间的整数\r\n请重新输入！"};
}
