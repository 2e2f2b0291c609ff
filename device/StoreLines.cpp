#include "device/StoreLines.h"

#include <algorithm>

#include "device/ExportFormat.h"

namespace {
// Rows written under one hold of the store's lock: a few milliseconds of formatting.
constexpr std::uint32_t kRowsPerLock = 4096;
}  // namespace

std::vector<std::wstring> StoreColumnTitles(const TouchSampleStore& store) {
    std::vector<std::uint32_t> channels;
    auto guard = store.Lock();
    for (std::uint32_t position = 0; position < store.ChannelCount(); ++position) {
        channels.push_back(store.Channel(position).channel);
    }
    return DataTableTitles(channels);
}

bool WriteStoreLines(const TouchSampleStore& store, std::uint32_t rows, ExportLineWriter& writer) {
    for (std::uint32_t first = 0; first < rows; first += kRowsPerLock) {
        const std::uint32_t last = first + std::min(kRowsPerLock, rows - first);
        auto guard = store.Lock();
        const std::uint32_t channels = store.ChannelCount();
        for (std::uint32_t row = first; row < last; ++row) {
            const std::uint32_t index = kLeadingZeroSamples + row;
            writer.BeginLine(1 + std::size_t{channels} * kSampleQuantityCount);
            writer.Field(std::int64_t{row} + 1);
            for (std::uint32_t position = 0; position < channels; ++position) {
                const ChannelSamples& channel = store.Channel(position);
                for (SampleQuantity quantity : kAllSampleQuantities) {
                    const SampleSeries& series = channel.Series(quantity);
                    // A row that the samples no longer hold (cleared a moment ago) is empty.
                    if (index < series.Size()) {
                        writer.Field(series.At(index));
                    } else {
                        writer.EmptyField();
                    }
                }
            }
            if (!writer.EndLine()) {
                return false;
            }
        }
    }
    return true;
}
