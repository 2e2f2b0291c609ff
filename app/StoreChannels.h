#pragma once
// The window's store as the judge reads a recording: the frames received so far (the leading
// zeros left out, as the export leaves them out), one channel at a time, so that judging a
// recording keeps no copy of more than one channel's differences. The store's lock is held for
// kFramesPerLock frames at most, a fraction of a millisecond. Standard C++ only.

#include <cstdint>
#include <limits>

#include "device/store/TouchSampleStore.h"
#include "evaluation/KeyFigures.h"

class StoreChannels : public RecordingChannels {
  public:
    // Takes the store's channel and frame counts as they are now: every channel is read up to
    // that frame (or frameLimit, when lower), so all of them end at the same frame while
    // receiving goes on. Locks the store.
    explicit StoreChannels(const TouchSampleStore& store,
                           std::uint64_t frameLimit = std::numeric_limits<std::uint64_t>::max());

    std::uint32_t ChannelCount() const override { return channels_; }
    std::uint64_t FrameCount() const { return frames_; }
    // Locks the store. A channel that went meanwhile (the store was emptied) reads as empty,
    // and one that was cleared as far as it reaches.
    ChannelDifferences Read(std::uint32_t position) const override;

    static constexpr std::uint32_t kFramesPerLock = 16384;

  private:
    const TouchSampleStore& store_;
    std::uint32_t channels_ = 0;
    std::uint32_t frames_ = 0;
};
