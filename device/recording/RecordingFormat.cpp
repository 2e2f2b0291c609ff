#include "device/recording/RecordingFormat.h"

#include <array>

#include "device/store/SampleQuantity.h"

namespace {
// In SampleQuantity order: baseline, filtered, difference, noise.
constexpr std::array<const wchar_t*, kSampleQuantityCount> kQuantityTitles = {
    L" 基础值", L" 滤波值", L" 差值", L" 噪声值"};
}  // namespace

std::wstring QuantityColumnTitle(std::uint32_t channel, std::size_t quantity) {
    return std::to_wstring(channel + 1) + kQuantityTitles[quantity];
}

std::vector<std::uint32_t> NumberedChannels(std::uint32_t count) {
    std::vector<std::uint32_t> channels(count);
    for (std::uint32_t channel = 0; channel < count; ++channel) {
        channels[channel] = channel;
    }
    return channels;
}

std::vector<std::wstring> RecordingColumnTitles(const std::vector<std::uint32_t>& channels) {
    std::vector<std::wstring> titles = {kRowNumberTitle};
    for (std::uint32_t channel : channels) {
        for (std::size_t quantity = 0; quantity < kSampleQuantityCount; ++quantity) {
            titles.push_back(QuantityColumnTitle(channel, quantity));
        }
    }
    return titles;
}

std::wstring RecordingHeaderText(const std::vector<std::wstring>& titles) {
    std::wstring header;
    for (const std::wstring& title : titles) {
        header += title;
        header += L',';
    }
    return header + L"\r\n";
}
