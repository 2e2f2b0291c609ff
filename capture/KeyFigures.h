#pragma once
// The two numbers a touch key is judged by, per channel: its noise (the peak-to-peak of the
// difference value while nobody touches it) and its touch delta (how far the difference rises
// under a finger), and their ratio, the signal-to-noise ratio.
//
// A recording can hold millions of frames, so a channel keeps no samples: it counts how often
// each difference value occurred. Differences lie between -65535 and 65535 (baseline minus
// filtered, both 16-bit), so the counts fit one fixed table, and the median, the median
// absolute deviation and every sum that the figures need come out of it exactly.

#include <cstdint>
#include <optional>
#include <vector>

inline constexpr std::int32_t kMinDifference = -65535;
inline constexpr std::int32_t kMaxDifference = 65535;
inline constexpr double kDefaultMinSnr = 5.0;

// How a channel is judged.
struct JudgeSettings {
    // A sample is touched when its difference is at or above this; without it the threshold
    // follows from the channel's own differences (DefaultThreshold).
    std::optional<double> threshold;
    double minSnr = kDefaultMinSnr;
};

enum class KeyVerdict {
    Pass,
    Fail,     // the SNR is below the pass mark
    NoTouch,  // no sample reached the threshold: there is no delta to judge
    NoQuiet,  // every sample reached the threshold: there is no noise to judge against
    NoData,   // the channel holds no samples at all
};

struct KeyFigures {
    std::uint32_t channel = 0;  // 0-based, as in the measurement frame
    std::uint64_t samples = 0;
    double baselineMean = 0.0;
    double threshold = 0.0;
    std::uint64_t quietSamples = 0;
    std::uint64_t touchedSamples = 0;
    std::int32_t noise = 0;   // peak-to-peak of the quiet differences; 0 without quiet samples
    double touchDelta = 0.0;  // mean touched difference minus mean quiet difference
    double snr = 0.0;         // touchDelta / noise; +infinity for zero noise under a touch
    KeyVerdict verdict = KeyVerdict::NoData;
};

// Collects the samples of one channel.
class KeySamples {
  public:
    explicit KeySamples(std::uint32_t channel) : channel_(channel) {}

    std::uint32_t Channel() const { return channel_; }
    std::uint64_t Count() const { return count_; }

    // Adds one frame's values. A difference outside kMinDifference..kMaxDifference cannot come
    // from the chip; it is refused with false and nothing is added.
    bool Add(std::int32_t baseline, std::int32_t difference);

    // The median of the differences plus ten times their median absolute deviation scaled to
    // a standard deviation (1.4826), and at least one count above the median. Quiet noise stays
    // below it, a finger clears it long before it could reach a 5:1 ratio. 0 without samples.
    double DefaultThreshold() const;

    KeyFigures Judge(const JudgeSettings& settings) const;

    double Median() const;
    double MedianAbsoluteDeviation() const;

  private:
    // The value of the k-th smallest difference (0-based); k is below count_.
    std::int32_t NthDifference(std::uint64_t k) const;
    double MedianOfDeviations(double centre) const;

    std::uint32_t channel_;
    std::uint64_t count_ = 0;
    double baselineSum_ = 0.0;
    std::int32_t lowest_ = kMaxDifference;
    std::int32_t highest_ = kMinDifference;
    // Occurrences of difference d at index d - kMinDifference; allocated with the first sample.
    std::vector<std::uint64_t> counts_;
};

// The keys of one recording: a KeySamples per channel, fed one frame at a time.
class RecordingKeys {
  public:
    // Forgets everything and starts channels 0 to channels - 1.
    void Reset(std::uint32_t channels);
    std::uint32_t ChannelCount() const { return static_cast<std::uint32_t>(keys_.size()); }
    // One frame: 4 values per channel in the order baseline, filtered, difference, noise.
    // False when a difference is impossible (see KeySamples::Add).
    bool Add(const std::int32_t* values);
    std::vector<KeyFigures> Judge(const JudgeSettings& settings) const;

  private:
    std::vector<KeySamples> keys_;
};
