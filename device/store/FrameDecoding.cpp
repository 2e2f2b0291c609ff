#include "device/store/FrameDecoding.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kHeaderFirst = 0x55;
constexpr std::uint8_t kHeaderSecond = 0xAA;
constexpr std::uint32_t kLengthOffset = 2;
constexpr std::uint32_t kFirstGroupOffset = 3;
constexpr std::uint32_t kGroupSize = 6;
// The length byte counts the two header bytes along with the groups.
constexpr std::uint32_t kLengthOverhead = 2;

// The last group must end inside the frame, or decoding would read past its end.
static_assert(kFirstGroupOffset + kGroupSize * kMaxTouchChannels <= kMeasurementFrameSize);

std::uint16_t ReadWord(const std::uint8_t* frame, std::uint32_t offset) {
    return static_cast<std::uint16_t>((frame[offset] << 8) | frame[offset + 1]);
}

std::uint32_t ChannelCountFromLength(std::uint8_t length) {
    if (length < kLengthOverhead + kGroupSize) {
        return 0;
    }
    return std::min((length - kLengthOverhead) / kGroupSize, kMaxTouchChannels);
}

}  // namespace

bool DecodeChannelLayout(const std::uint8_t* frame, TouchSampleStore& store,
                         std::uint8_t& channelCount) {
    if (frame == nullptr || frame[0] != kHeaderFirst || frame[1] != kHeaderSecond) {
        return false;
    }
    const std::uint32_t count = ChannelCountFromLength(frame[kLengthOffset]);
    auto guard = store.Lock();
    for (std::uint32_t channel = 0; channel < count; ++channel) {
        store.AppendChannel(ChannelSamples(channel));
    }
    channelCount = static_cast<std::uint8_t>(count);
    return true;
}

void DecodeSamples(const std::uint8_t* frame, std::uint8_t channelCount, TouchSampleStore& store) {
    if (frame == nullptr) {
        return;
    }
    auto guard = store.Lock();
    const std::uint32_t count =
        std::min({std::uint32_t{channelCount}, kMaxTouchChannels, store.ChannelCount()});
    for (std::uint32_t position = 0; position < count; ++position) {
        const std::uint32_t group = kFirstGroupOffset + kGroupSize * position;
        store.Channel(position).AppendFrameValues(
            ReadWord(frame, group), ReadWord(frame, group + 2), ReadWord(frame, group + 4));
    }
    store.CountFrame();
}
