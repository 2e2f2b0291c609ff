#include "app/ExportFormat.h"

#include <windows.h>

#include <array>

#include "app/DecimalText.h"
#include "device/SampleQuantity.h"

namespace {
// In SampleQuantity order: baseline, filtered, difference, noise.
constexpr std::array<const wchar_t*, kSampleQuantityCount> kQuantityTitles = {
    L" 基础值", L" 滤波值", L" 差值", L" 噪声值"};
}  // namespace

std::wstring QuantityColumnTitle(std::uint32_t channel, std::size_t quantity) {
    return std::to_wstring(channel + 1) + kQuantityTitles[quantity];
}

std::vector<std::wstring> DataTableTitles(const std::vector<std::uint32_t>& channels) {
    std::vector<std::wstring> titles = {kRowNumberTitle};
    for (std::uint32_t channel : channels) {
        for (std::size_t quantity = 0; quantity < kSampleQuantityCount; ++quantity) {
            titles.push_back(QuantityColumnTitle(channel, quantity));
        }
    }
    return titles;
}

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

std::string CsvHeaderLine(const std::vector<std::wstring>& titles) {
    std::wstring header;
    for (const std::wstring& title : titles) {
        header += title;
        header += L',';
    }
    return ToActiveCodePage(header) + '\n';
}

void AppendCsvField(std::int64_t value, std::string& line) {
    char text[kMaxDecimalLength + 1];
    char* end = WriteDecimal(value, text);
    *end++ = ',';
    line.append(text, end);
}
