#include "device/store/TouchSampleStore.h"

#include <utility>

bool TouchSampleStore::AppendChannel(ChannelSamples channel) {
    if (channels_.size() >= kMaxTouchChannels) {
        return false;
    }
    channels_.push_back(std::move(channel));
    return true;
}

std::vector<std::uint32_t> TouchSampleStore::ChannelNumbers() const {
    std::vector<std::uint32_t> numbers;
    numbers.reserve(channels_.size());
    for (const ChannelSamples& samples : channels_) {
        numbers.push_back(samples.channel);
    }
    return numbers;
}

void TouchSampleStore::ClearSamples() {
    auto guard = Lock();
    for (ChannelSamples& channel : channels_) {
        channel.ResetToLeadingZeros();
    }
    frames_ = 0;
}

void TouchSampleStore::RemoveAllChannels() {
    auto guard = Lock();
    // swap rather than clear(): clear() keeps the vector's capacity, and the point is to free.
    std::vector<ChannelSamples>().swap(channels_);
    frames_ = 0;
}

void TouchSampleStore::HandOverTo(TouchSampleStore& target) {
    if (&target == this) {
        return;
    }
    std::scoped_lock both(mutex_, target.mutex_);
    target.channels_ = std::move(channels_);
    target.frames_ = frames_;
    std::vector<ChannelSamples>().swap(channels_);
    frames_ = 0;
}
