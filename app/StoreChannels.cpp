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
    reading.differences.reserve(frames_);
    std::array<std::int32_t, kFramesPerLock> baselines;
    for (std::uint32_t done = 0; done < frames_;) {
        // A piece at a time: the adapter's thread appends and the window paints meanwhile.
        auto guard = store_.Lock();
        if (position >= store_.ChannelCount()) {
            break;  // the store was emptied: this reading is no longer wanted
        }
        const ChannelSamples& samples = store_.Channel(position);
        reading.channel = samples.channel;
        const std::uint32_t held = samples.SampleCount() - kLeadingZeroSamples;
        const std::uint32_t count =
            std::min({frames_ - done, kFramesPerLock, held - std::min(held, done)});
        if (count == 0) {
            break;  // cleared meanwhile
        }
        reading.differences.resize(done + count);
        samples.Series(SampleQuantity::Difference)
            .CopyRange(reading.differences.data() + done, kLeadingZeroSamples + done, count);
        samples.Series(SampleQuantity::Baseline)
            .CopyRange(baselines.data(), kLeadingZeroSamples + done, count);
        guard.unlock();
        // Added oldest first, one at a time, as palvex-capture adds them while reading the
        // export: the same sum to the last bit.
        for (std::uint32_t i = 0; i < count; ++i) {
            reading.baselineSum += baselines[i];
        }
        done += count;
    }
    return reading;
}
