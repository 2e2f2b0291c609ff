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

// A touch that a test scripts instead of the chip's random ones: from frame start on, for
// length frames, the channel's difference stands at delta (plus the usual jitter). With a rise
// it climbs to delta in rise + 1 even steps over the first frames and falls back the same way
// over the last ones, as a finger that lands and lifts slowly. Frames are counted from 0, the
// first frame after the chip was made (the layout read at Open), so frame k is the k-th row
// that Palvex records.
struct ScriptedTouch {
    int channel;  // 1-based, as Palvex numbers channels
    std::uint32_t start;
    std::uint32_t length;
    int delta;
    std::uint32_t rise = 0;
};

// While nobody touches a key its difference is the jitter alone, by default -3 to 3
// (peak-to-peak 6).
inline constexpr int kChipJitter = 3;

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
    // With a touch script the chip touches its keys only as the script says. jitter is the
    // half-width of the difference's random wobble.
    SimulatedChip(int channels, int layoutLength, std::uint32_t seed,
                  std::vector<ScriptedTouch> script = {}, int jitter = kChipJitter);

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
    void Step(Channel& channel, int number);
    // The scripted difference of channel number (0-based) in the current frame.
    double ScriptedDifference(int number) const;

    std::vector<Channel> channels_;
    std::uint8_t layoutLength_;
    std::uint32_t state_;
    std::vector<ScriptedTouch> script_;
    bool scripted_;
    int jitter_;
    std::uint32_t frame_ = 0;  // the number of the frame being made
};
