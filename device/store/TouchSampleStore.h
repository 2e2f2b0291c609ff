#pragma once
// The in-memory record of everything measured since the device was opened: one ChannelSamples
// per touch channel, position p holding channel p.
//
// Locking: the adapter's thread appends while the UI thread reads, and an append can move a
// series' storage. Readers therefore hold Lock() for one pass over the store:
//     auto guard = store.Lock();
// ChannelCount(), ChannelNumbers(), Channel(), FrameCount(), AppendChannel() and CountFrame()
// do not lock; call
// them under Lock() whenever another thread may decode. ClearSamples(), RemoveAllChannels(),
// HandOverTo(), DecodeChannelLayout() and DecodeSamples() take the lock themselves for their
// whole run, so their callers must NOT hold it (the mutex is not recursive: holding it there
// deadlocks).

#include <cassert>
#include <cstdint>
#include <mutex>
#include <vector>

#include "device/store/ChannelSamples.h"

// The measurement frame carries at most 32 channel groups, and the main dialog has 32 boxes.
inline constexpr std::uint32_t kMaxTouchChannels = 32;

class TouchSampleStore {
  public:
    std::unique_lock<std::mutex> Lock() const { return std::unique_lock<std::mutex>(mutex_); }

    std::uint32_t ChannelCount() const { return static_cast<std::uint32_t>(channels_.size()); }
    // The channel number at each position, in position order.
    std::vector<std::uint32_t> ChannelNumbers() const;

    // The channel at position; position is below ChannelCount(). Inline: the data table reads
    // every cell through it.
    ChannelSamples& Channel(std::uint32_t position) {
        assert(position < channels_.size());
        return channels_[position];
    }
    const ChannelSamples& Channel(std::uint32_t position) const {
        assert(position < channels_.size());
        return channels_[position];
    }

    // Frames decoded since the channels were created or last cleared: one per frame, also
    // for a chip without channels. Every series holds kLeadingZeroSamples + FrameCount().
    std::uint32_t FrameCount() const { return frames_; }
    void CountFrame() { ++frames_; }

    // Appends a channel record at the next position. Refuses, returning false, once the store
    // holds kMaxTouchChannels channels.
    bool AppendChannel(ChannelSamples channel);

    // Refills every series of every channel with the leading zeros; the channels stay.
    // Takes the lock.
    void ClearSamples();

    // Empties the store and frees all samples. Takes the lock.
    void RemoveAllChannels();

    // Moves every channel, with its samples and the frame count, into target, whose own
    // content is freed; this store ends empty. Nothing is copied. Takes both locks.
    void HandOverTo(TouchSampleStore& target);

  private:
    mutable std::mutex mutex_;
    std::vector<ChannelSamples> channels_;
    std::uint32_t frames_ = 0;
};
