#include "capture/KeyFigures.h"

#include <algorithm>
#include <limits>

#include "device/SampleQuantity.h"

namespace {
// The chip reports whole counts: a noise below one count is taken as one.
constexpr double kNoiseFloor = 1.0;
}  // namespace

bool KeySamples::Add(std::int32_t baseline, std::int32_t difference) {
    if (difference < kMinDifference || difference > kMaxDifference ||
        differences_.Size() == std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    differences_.Append(difference);
    baselineSum_ += baseline;
    return true;
}

std::vector<std::int32_t> KeySamples::Differences() const {
    std::vector<std::int32_t> values(differences_.Size());
    for (std::uint32_t i = 0; i < differences_.Size(); ++i) {
        values[i] = differences_.At(i);
    }
    return values;
}

KeyFigures KeySamples::Judge(const JudgeSettings& settings) const {
    KeyFigures figures;
    figures.channel = channel_;
    figures.samples = Count();
    if (figures.samples == 0) {
        return figures;
    }
    figures.baselineMean = baselineSum_ / static_cast<double>(figures.samples);
    figures.runs = FindTouchRuns(Differences(), {settings.threshold, settings.minTouchFrames});
    const LevelFigures& quiet = figures.runs.quiet;
    if (quiet.frames == 0) {
        figures.verdict = KeyVerdict::NoQuiet;
        return figures;
    }
    figures.noise = quiet.highest - quiet.lowest;
    figures.noiseRms = quiet.rms;
    if (figures.runs.touches.empty()) {
        figures.verdict = KeyVerdict::NoTouch;
        return figures;
    }
    figures.touchDelta = figures.runs.touched.mean - quiet.mean;
    const double noise = settings.noise == NoiseStatistic::Rms ? figures.noiseRms
                                                               : static_cast<double>(figures.noise);
    figures.snr = figures.touchDelta / std::max(noise, kNoiseFloor);
    figures.thresholds = SuggestThresholds(figures.touchDelta);
    figures.verdict = figures.snr >= settings.minSnr ? KeyVerdict::Pass : KeyVerdict::Fail;
    return figures;
}

void RecordingKeys::Reset(std::uint32_t channels) {
    keys_.clear();
    for (std::uint32_t channel = 0; channel < channels; ++channel) {
        keys_.emplace_back(channel);
    }
}

bool RecordingKeys::Add(const std::int32_t* values) {
    bool added = true;
    for (KeySamples& key : keys_) {
        added = key.Add(values[QuantityIndex(SampleQuantity::Baseline)],
                        values[QuantityIndex(SampleQuantity::Difference)]) &&
                added;
        values += kSampleQuantityCount;
    }
    return added;
}

std::vector<KeyFigures> RecordingKeys::Judge(const JudgeSettings& settings) const {
    std::vector<KeyFigures> figures;
    for (const KeySamples& key : keys_) {
        figures.push_back(key.Judge(settings));
    }
    return figures;
}
