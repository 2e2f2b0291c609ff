#include "device/recording/RecordingLoad.h"

#include "device/store/SampleQuantity.h"

namespace {
// Lines between two progress reports: some 0.4 MB of a 32-channel file.
constexpr std::uint32_t kLinesPerProgress = 1024;
}  // namespace

RecordingLoadResult LoadRecording(RecordingReader& reader, TouchSampleStore& store,
                                  const std::atomic<bool>& cancelled,
                                  const std::function<void(std::uint64_t bytes)>& progress) {
    using Outcome = RecordingLoadResult::Outcome;
    if (!reader.ReadHeader()) {
        return {Outcome::Refused, reader.Error()};
    }
    const std::uint32_t channels = reader.ChannelCount();
    for (std::uint32_t channel = 0; channel < channels; ++channel) {
        store.AppendChannel(ChannelSamples(channel));
    }
    RecordingRow row;
    std::uint32_t sinceProgress = 0;
    while (!cancelled.load(std::memory_order_relaxed)) {
        if (!reader.NextRow(row)) {
            if (!reader.Error().empty()) {
                return {Outcome::Refused, reader.Error()};
            }
            progress(reader.ConsumedBytes());
            return {Outcome::Loaded, {}};
        }
        const std::int32_t* values = row.values.data();
        for (std::uint32_t position = 0; position < channels; ++position) {
            ChannelSamples& channel = store.Channel(position);
            for (SampleQuantity quantity : kAllSampleQuantities) {
                channel.Series(quantity).Append(*values++);
            }
        }
        store.CountFrame();
        if (++sinceProgress == kLinesPerProgress) {
            sinceProgress = 0;
            progress(reader.ConsumedBytes());
        }
    }
    return {Outcome::Cancelled, {}};
}
