#pragma once
// The numbers a touch key is judged by, per channel: its noise (how far the difference value
// wanders while nobody touches the key), its touch delta (how far the difference rises under
// a typical finger: the median touch's) and their ratio, the signal-to-noise ratio, with the
// thresholds they suggest, and the weakest touch's delta and SNR beside them.
//
// The touches are found as runs of frames (TouchRuns) over a channel's differences, read one
// channel at a time from wherever the recording is held: palvex-capture keeps them in
// RecordingKeys (4 bytes per frame, in blocks that never move), the window reads its store.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "evaluation/SuggestedThresholds.h"
#include "evaluation/TouchRuns.h"
#include "device/store/SampleQuantity.h"
#include "device/store/SampleSeries.h"

inline constexpr double kDefaultMinSnr = 5.0;

// The noise figure the SNR divides by.
enum class NoiseStatistic {
    PeakToPeak,  // highest minus lowest quiet difference
    Rms,         // root mean square deviation of the quiet differences from their mean
};

// How a channel is judged.
struct JudgeSettings {
    // A run must reach this difference to count as a touch; without it the level follows
    // from the channel's quiet band.
    std::optional<double> threshold;
    std::uint32_t minTouchFrames = kDefaultMinTouchFrames;
    NoiseStatistic noise = NoiseStatistic::PeakToPeak;
    double minSnr = kDefaultMinSnr;
    bool operator==(const JudgeSettings&) const = default;
};

enum class KeyVerdict {
    Pass,
    Fail,     // the SNR is below the pass mark
    NoTouch,  // no run rose clear of the quiet band: there is no delta to judge
    // No frame rests: every frame belongs to a touch or its edges, or the recording holds a
    // single level far from zero (a finger resting all along, a baseline that never settled).
    NoQuiet,
    NoData,  // the channel holds no samples at all
};

struct KeyFigures {
    std::uint32_t channel = 0;  // 0-based, as in the measurement frame
    std::uint64_t samples = 0;
    double baselineMean = 0.0;
    TouchRuns runs;          // the quiet band, the touched frames and the levels used
    std::int32_t noise = 0;  // peak-to-peak of the quiet differences
    double noiseRms = 0.0;   // their root mean square deviation
    // The median touch's delta: its mean difference minus the mean quiet difference; of an
    // even number of touches the lower of the two middle ones.
    double touchDelta = 0.0;
    // touchDelta / max(noise statistic, 1): the chip reports whole counts, so a noise of 0
    // means below one count.
    double snr = 0.0;
    double weakestDelta = 0.0;  // the smallest touch's delta
    double weakestSnr = 0.0;    // and its SNR
    SuggestedThresholds thresholds;
    KeyVerdict verdict = KeyVerdict::NoData;
};

// True when the channel has both quiet and touched frames, so a delta, an SNR and thresholds.
inline bool HasTouchDelta(const KeyFigures& key) {
    return key.verdict == KeyVerdict::Pass || key.verdict == KeyVerdict::Fail;
}

// True when the channel has a resting level, so a noise.
inline bool HasQuiet(const KeyFigures& key) {
    return key.verdict != KeyVerdict::NoData && key.verdict != KeyVerdict::NoQuiet;
}

// Where the suggested finger threshold lies among the differences: that far above the quiet
// level. Meaningful where the key has a touch delta.
inline double FingerLevel(const KeyFigures& key) {
    return key.runs.quiet.mean + key.thresholds.finger;
}

// A recording of a single level rests only when that level lies nearer to zero than this:
// twice its peak-to-peak noise, at least 2 counts. The chip's baseline keeps a resting key's
// difference about zero, and a level this far above a resting zero would be found as a touch.
inline double FarFromZero(std::int32_t noisePeakToPeak) {
    return 2.0 * std::max(noisePeakToPeak, 1);
}

// One channel of a recording as the judge reads it.
struct ChannelDifferences {
    std::uint32_t channel = 0;              // 0-based, as in the measurement frame
    std::vector<std::int32_t> differences;  // oldest first
    double baselineSum = 0.0;               // of as many baselines, added oldest first
};

// A recording's channels, read one at a time, so that judging or reporting a recording holds a
// copy of one channel's differences at most.
class RecordingChannels {
  public:
    virtual ~RecordingChannels() = default;
    virtual std::uint32_t ChannelCount() const = 0;
    // The channel at position, which lies below ChannelCount().
    virtual ChannelDifferences Read(std::uint32_t position) const = 0;
};

// The figures of one channel. The same reading gives the same figures, wherever it was held.
KeyFigures JudgeKey(const ChannelDifferences& reading, const JudgeSettings& settings);

// Collects the samples of one channel.
class KeySamples {
  public:
    explicit KeySamples(std::uint32_t channel) : channel_(channel) {}

    std::uint32_t Channel() const { return channel_; }
    std::uint64_t Count() const { return differences_.Size(); }

    // Adds one frame's values. A difference outside kMinDifference..kMaxDifference cannot come
    // from the chip, and a channel holds at most 2^32 - 1 frames; otherwise it is refused with
    // false and nothing is added.
    bool Add(std::int32_t baseline, std::int32_t difference);

    // The differences oldest first, copied into one block, with the baselines' sum.
    ChannelDifferences Read() const;

    KeyFigures Judge(const JudgeSettings& settings) const { return JudgeKey(Read(), settings); }

  private:
    std::uint32_t channel_;
    double baselineSum_ = 0.0;
    SampleSeries differences_;
};

// The keys of one recording: a KeySamples per channel, fed one frame at a time.
class RecordingKeys : public RecordingChannels {
  public:
    // Forgets everything and starts channels 0 to channels - 1.
    void Reset(std::uint32_t channels);
    std::uint32_t ChannelCount() const override { return static_cast<std::uint32_t>(keys_.size()); }
    ChannelDifferences Read(std::uint32_t position) const override {
        return keys_.at(position).Read();
    }
    // One frame: 4 values per channel in the order baseline, filtered, difference, noise.
    // False when a difference is impossible (see KeySamples::Add).
    bool Add(const std::int32_t* values);

  private:
    std::vector<KeySamples> keys_;
};

// Every channel's figures, in position order.
std::vector<KeyFigures> JudgeRecording(const RecordingChannels& recording,
                                       const JudgeSettings& settings);
