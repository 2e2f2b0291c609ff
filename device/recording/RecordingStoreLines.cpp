#include "device/recording/RecordingStoreLines.h"

#include <algorithm>

#include "device/recording/RecordingFormat.h"

namespace {
// Rows copied out of the store under one hold of its lock: 128 series of 256 samples, 128 KB,
// copied in a few microseconds. The lines are formatted after the lock is released, so frames
// decoded meanwhile wait only for the copy. Small enough for the copy to stay in the cache
// and for a row's 128 reads to fall on a few pages; with 1024 rows formatting was a quarter
// slower.
constexpr std::uint32_t kRowsPerLock = 256;
// The copy holds one column per series, this many samples apart. Not a power of two: then the
// same row of every column would fall into the same cache set, and reading a row across 128
// columns would evict the rows that follow it.
constexpr std::size_t kColumnStride = kRowsPerLock + 16;
constexpr std::size_t kMaxSeries = std::size_t{kMaxTouchChannels} * kSampleQuantityCount;

// The samples of rows first .. first + count - 1 of every series, column by column.
struct RowBlock {
    std::vector<std::int32_t> columns = std::vector<std::int32_t>(kMaxSeries * kColumnStride);
    std::size_t series = 0;
    // How many of the rows each series holds, and the fewest of these: rows below complete
    // are held by every series.
    std::vector<std::uint32_t> held = std::vector<std::uint32_t>(kMaxSeries);
    std::uint32_t complete = 0;

    void CopyFrom(const TouchSampleStore& store, std::uint32_t first, std::uint32_t count) {
        auto guard = store.Lock();
        series = std::size_t{store.ChannelCount()} * kSampleQuantityCount;
        complete = count;
        for (std::size_t s = 0; s < series; ++s) {
            const SampleSeries& samples =
                store.Channel(static_cast<std::uint32_t>(s / kSampleQuantityCount))
                    .Series(kAllSampleQuantities[s % kSampleQuantityCount]);
            held[s] =
                samples.CopyRange(&columns[s * kColumnStride], kLeadingZeroSamples + first, count);
            complete = std::min(complete, held[s]);
        }
    }

    // The fields of row first + row; a sample that a series does not hold (cleared a moment
    // ago) is an empty field.
    void WriteRow(std::uint32_t row, RecordingLineWriter& writer) const {
        if (row < complete) {
            writer.Fields(&columns[row], series, kColumnStride);
            return;
        }
        for (std::size_t s = 0; s < series; ++s) {
            if (row < held[s]) {
                writer.Field(columns[s * kColumnStride + row]);
            } else {
                writer.EmptyField();
            }
        }
    }
};
}  // namespace

std::vector<std::wstring> StoreColumnTitles(const TouchSampleStore& store) {
    auto guard = store.Lock();
    return RecordingColumnTitles(store.ChannelNumbers());
}

bool WriteStoreLines(const TouchSampleStore& store, std::uint32_t rows,
                     RecordingLineWriter& writer) {
    RowBlock block;
    for (std::uint32_t first = 0; first < rows; first += kRowsPerLock) {
        const std::uint32_t count = std::min(kRowsPerLock, rows - first);
        block.CopyFrom(store, first, count);
        for (std::uint32_t row = 0; row < count; ++row) {
            writer.BeginLine(1 + block.series);
            writer.Field(std::int64_t{first} + row + 1);
            block.WriteRow(row, writer);
            if (!writer.EndLine()) {
                return false;
            }
        }
    }
    return true;
}
