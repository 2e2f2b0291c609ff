#include "chartpage/ChartPageRules.h"

#include "device/store/ChannelSamples.h"
#include "device/store/TouchSampleStore.h"

#include <windows.h>

#include <cmath>
#include <cwchar>

namespace {
constexpr wchar_t kEmptyPointCount[] = L"写入内容不能为空!!!";
constexpr wchar_t kBadPointCount[] = L"写入内容不正确!!!";
constexpr wchar_t kMaxBelowMin[] = L"最大值小于最小值!!!";
constexpr wchar_t kEmptyRange[] = L"最大值最小值不能为空!!!";

// The C library's reading of decimal text: leading blanks, an optional sign and the digits
// that follow; 0 when there are none. Values beyond a 32-bit int are clamped.
long DecimalPrefix(const std::wstring& text) {
    return std::wcstol(text.c_str(), nullptr, 10);
}
}  // namespace

std::optional<unsigned> RefreshPeriodFor(std::uint32_t channelCount) {
    if (channelCount <= 4) {
        return 100;
    }
    if (channelCount <= 16) {
        return 200;
    }
    if (channelCount <= kMaxTouchChannels) {
        return 300;
    }
    return std::nullopt;
}

std::optional<std::int64_t> CursorSampleIndex(double x, std::uint32_t pointCount,
                                              std::int32_t windowStart) {
    const double n = static_cast<double>(pointCount);
    const double ratio = x / (n * kPointSpacing);
    if (!std::isfinite(ratio)) {
        return std::nullopt;
    }
    // The third decimal of the window fraction rounds the point up when it is above 5.
    const double thirdDecimal = std::fmod(std::trunc(ratio * 1000.0), 10.0);
    const double up = thirdDecimal > 5.0 ? 1.0 : 0.0;
    const double index = std::floor(static_cast<double>(windowStart) + n * ratio + up);
    if (std::fabs(index) > 1e15) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(index);
}

std::optional<std::uint32_t> ScrollTarget(int code, const ScrollBarState& bar,
                                          std::uint32_t thumb) {
    switch (code) {
        case SB_LINELEFT:
            return bar.position > 0 ? bar.position - 1 : bar.position;
        case SB_LINERIGHT:
            if (bar.position + bar.page < bar.max) {
                return bar.position + 1;
            }
            return bar.max > bar.page ? bar.max - bar.page : 0;
        case SB_THUMBPOSITION:
            return thumb + bar.page > bar.max && thumb > 0 ? thumb - 1 : thumb;
        default:
            return std::nullopt;
    }
}

Checked<std::uint32_t> CheckPointCount(const std::wstring& text, std::uint32_t sampleCount) {
    if (text.empty()) {
        return {std::nullopt, kEmptyPointCount};
    }
    const long value = DecimalPrefix(text);
    if (value <= 0 || value >= static_cast<long>(kPointCapacity)) {
        return {std::nullopt, kBadPointCount};
    }
    const auto count = static_cast<std::uint32_t>(value);
    if (count > sampleCount) {
        // Every series starts with leading zeros; the user counts only what was received.
        const std::uint32_t received =
            sampleCount > kLeadingZeroSamples ? sampleCount - kLeadingZeroSamples : 0;
        return {std::nullopt, L"当前输入数值 " + std::to_wstring(count) + L"大于已接收数据数量 " +
                                  std::to_wstring(received) + L"\r\n 请重新输入数值！！！"};
    }
    return {count, {}};
}

Checked<ManualRange> CheckManualRange(const std::wstring& maxText, const std::wstring& minText) {
    if (maxText.empty() || minText.empty()) {
        return {std::nullopt, kEmptyRange};
    }
    const ManualRange range{static_cast<int>(DecimalPrefix(minText)),
                            static_cast<int>(DecimalPrefix(maxText))};
    if (range.min >= range.max) {
        return {std::nullopt, kMaxBelowMin};
    }
    return {range, {}};
}
