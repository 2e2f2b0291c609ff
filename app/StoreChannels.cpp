#include "app/StoreChannels.h"

#include <algorithm>
#include <array>

StoreChannels::StoreChannels(const TouchSampleStore& store, std::uint64_t frameLimit)
    : store_(store) {
    auto guard = store_.Lock();
    channels_ = store_.ChannelCount();
    frames_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(store_.FrameCount(), frameLimit));
}

ChannelDifferences StoreChannels::Read(std::uint32_t position) const {
    ChannelDifferences reading;
    auto guard = store_.Lock();
    if (position >= store_.ChannelCount()) {
        return reading;
    }
    const ChannelSamples& samples = store_.Channel(position);
    reading.channel = samples.channel;
    const std::uint32_t held = samples.SampleCount() - kLeadingZeroSamples;
    const std::uint32_t frames = std::min(frames_, held);
    reading.differences.resize(frames);
    samples.Series(SampleQuantity::Difference)
        .CopyRange(reading.differences.data(), kLeadingZeroSamples, frames);
    // Added oldest first, one at a time, as palvex-capture adds them while reading the export:
    // the same sum to the last bit.
    std::array<std::int32_t, 4096> baselines;
    const SampleSeries& baseline = samples.Series(SampleQuantity::Baseline);
    for (std::uint32_t done = 0; done < frames;) {
        const std::uint32_t count =
            std::min<std::uint32_t>(frames - done, static_cast<std::uint32_t>(baselines.size()));
        baseline.CopyRange(baselines.data(), kLeadingZeroSamples + done, count);
        for (std::uint32_t i = 0; i < count; ++i) {
            reading.baselineSum += baselines[i];
        }
        done += count;
    }
    return reading;
}
