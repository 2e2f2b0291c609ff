#pragma once
// A virtual capacitive touch-key chip: per channel a baseline that drifts slowly, a filtered
// value that follows it and dips while the key is touched, and a small noise value. Given the
// same channel count and seed it produces the same frames, so a test can run a twin chip and
// know exactly what the simulated adapter sent.

#include <array>
#include <cstdint>
#include <vector>

inline constexpr int kMaxChipChannels = 32;
inline constexpr std::size_t kChipFrameSize = 200;

using ChipFrame = std::array<std::uint8_t, kChipFrameSize>;

// The three values that one channel reports in one frame.
struct ChannelReading {
    std::uint16_t baseline;
    std::uint16_t filtered;
    std::uint16_t noise;
};

class SimulatedChip {
  public:
    // channels is clamped to 0..32. layoutLength is the frame's length byte L; a negative value
    // gives the well-formed 2 + 6 * channels.
    SimulatedChip(int channels, int layoutLength, std::uint32_t seed);

    int Channels() const { return static_cast<int>(channels_.size()); }
    // Moves the chip one measurement on and returns its frame: 0x55 0xAA L, then per channel
    // baseline, filtered and noise, most significant byte first; the rest is 0.
    ChipFrame NextFrame();
    // The readings of the frame that NextFrame returned last.
    ChannelReading Reading(int channel) const;

  private:
    struct Channel {
        double baseline;
        double drift;    // counts per frame, changes sign now and then
        int touchAge;    // frames since the touch began; -1 while untouched
        int touchDepth;  // the difference at the peak of the touch
        ChannelReading reading;
    };

    std::uint32_t Random();
    int RandomBelow(int bound) {
        return static_cast<int>(Random() % static_cast<std::uint32_t>(bound));
    }
    void Step(Channel& channel);

    std::vector<Channel> channels_;
    std::uint8_t layoutLength_;
    std::uint32_t state_;
};
