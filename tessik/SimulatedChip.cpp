#include "tessik/SimulatedChip.h"

#include <algorithm>
#include <utility>

namespace {

// A touch rises for kRiseFrames, holds, then falls back over kFallFrames.
constexpr int kRiseFrames = 12;
constexpr int kHoldFrames = 40;
constexpr int kFallFrames = 16;
constexpr int kTouchFrames = kRiseFrames + kHoldFrames + kFallFrames;
// About one touch per channel every 300 frames.
constexpr int kTouchChance = 300;

std::uint16_t ToCount(double value) {
    return static_cast<std::uint16_t>(std::clamp(value, 0.0, 65535.0) + 0.5);
}

double TouchShape(int age) {
    if (age < kRiseFrames) {
        return static_cast<double>(age + 1) / kRiseFrames;
    }
    if (age < kRiseFrames + kHoldFrames) {
        return 1.0;
    }
    return static_cast<double>(kTouchFrames - age) / (kFallFrames + 1);
}

}  // namespace

SimulatedChip::SimulatedChip(int channels, int layoutLength, std::uint32_t seed,
                             std::vector<ScriptedTouch> script, int jitter)
    : state_(seed == 0 ? 1 : seed),
      script_(std::move(script)),
      scripted_(!script_.empty()),
      jitter_(std::max(jitter, 0)) {
    const int count = std::clamp(channels, 0, kMaxChipChannels);
    layoutLength_ = static_cast<std::uint8_t>(layoutLength < 0 ? 2 + 6 * count : layoutLength);
    channels_.resize(static_cast<std::size_t>(count));
    for (int c = 0; c < count; ++c) {
        Channel& channel = channels_[static_cast<std::size_t>(c)];
        channel.baseline = 1800.0 + 137.0 * c + RandomBelow(100);
        channel.drift = (RandomBelow(2) == 0 ? 1 : -1) * 0.02;
        channel.touchAge = -1;
        channel.touchDepth = 0;
        channel.reading = {};
    }
}

std::uint32_t SimulatedChip::Random() {
    // xorshift32: the same sequence on every platform and standard library.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

double SimulatedChip::ScriptedDifference(int number) const {
    double difference = 0.0;
    for (const ScriptedTouch& touch : script_) {
        if (touch.channel == number + 1 && frame_ >= touch.start &&
            frame_ - touch.start < touch.length) {
            const double age = frame_ - touch.start;
            const double steps = touch.rise + 1.0;
            const double share = std::min({1.0, (age + 1) / steps, (touch.length - age) / steps});
            difference = touch.delta * share;
        }
    }
    return difference;
}

void SimulatedChip::Step(Channel& channel, int number) {
    if (RandomBelow(500) == 0) {
        channel.drift = -channel.drift;
    }
    channel.baseline = std::clamp(channel.baseline + channel.drift, 200.0, 60000.0);

    if (!scripted_ && channel.touchAge < 0 && RandomBelow(kTouchChance) == 0) {
        channel.touchAge = 0;
        channel.touchDepth = 200 + RandomBelow(400);
    }
    double difference = scripted_ ? ScriptedDifference(number) : 0.0;
    if (channel.touchAge >= 0) {
        difference = channel.touchDepth * TouchShape(channel.touchAge);
        if (++channel.touchAge >= kTouchFrames) {
            channel.touchAge = -1;
        }
    }
    const int jitter = RandomBelow(2 * jitter_ + 1) - jitter_;
    channel.reading.baseline = ToCount(channel.baseline);
    channel.reading.filtered = ToCount(channel.baseline - difference + jitter);
    channel.reading.noise = static_cast<std::uint16_t>(RandomBelow(12));
}

ChipFrame SimulatedChip::NextFrame() {
    ChipFrame frame{};
    frame[0] = 0x55;
    frame[1] = 0xAA;
    frame[2] = layoutLength_;
    std::size_t at = 3;
    int number = 0;
    for (Channel& channel : channels_) {
        Step(channel, number++);
        for (std::uint16_t value :
             {channel.reading.baseline, channel.reading.filtered, channel.reading.noise}) {
            frame[at++] = static_cast<std::uint8_t>(value >> 8);
            frame[at++] = static_cast<std::uint8_t>(value);
        }
    }
    ++frame_;
    return frame;
}

ChannelReading SimulatedChip::Reading(int channel) const {
    return channels_.at(static_cast<std::size_t>(channel)).reading;
}
