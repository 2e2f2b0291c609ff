#include "evaluation/KeyFigures.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "device/store/SampleQuantity.h"

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

ChannelDifferences KeySamples::Read() const {
    ChannelDifferences reading{channel_, std::vector<std::int32_t>(differences_.Size()),
                               baselineSum_};
    differences_.CopyRange(reading.differences.data(), 0, differences_.Size());
    return reading;
}

KeyFigures JudgeKey(const ChannelDifferences& reading, const JudgeSettings& settings) {
    KeyFigures figures;
    figures.channel = reading.channel;
    figures.samples = reading.differences.size();
    if (figures.samples == 0) {
        return figures;
    }
    figures.baselineMean = reading.baselineSum / static_cast<double>(figures.samples);
    figures.runs =
        FindTouchRuns(reading.differences, {settings.threshold, settings.minTouchFrames});
    LevelFigures& quiet = figures.runs.quiet;
    const std::vector<TouchRun>& touches = figures.runs.touches;
    if (touches.empty() && std::abs(quiet.mean) >= FarFromZero(quiet.highest - quiet.lowest)) {
        quiet = {};  // the single level is no resting one
    }
    if (quiet.frames == 0) {
        figures.verdict = KeyVerdict::NoQuiet;
        return figures;
    }
    figures.noise = quiet.highest - quiet.lowest;
    figures.noiseRms = quiet.rms;
    if (touches.empty()) {
        figures.verdict = KeyVerdict::NoTouch;
        return figures;
    }
    std::vector<double> deltas;
    for (const TouchRun& touch : touches) {
        deltas.push_back(touch.mean - quiet.mean);
    }
    const auto median = deltas.begin() + static_cast<std::ptrdiff_t>((deltas.size() - 1) / 2);
    std::nth_element(deltas.begin(), median, deltas.end());
    figures.touchDelta = *median;
    figures.weakestDelta = *std::min_element(deltas.begin(), deltas.end());
    const double noise =
        std::max(settings.noise == NoiseStatistic::Rms ? figures.noiseRms
                                                       : static_cast<double>(figures.noise),
                 kNoiseFloor);
    figures.snr = figures.touchDelta / noise;
    figures.weakestSnr = figures.weakestDelta / noise;
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

std::vector<KeyFigures> JudgeRecording(const RecordingChannels& recording,
                                       const JudgeSettings& settings) {
    std::vector<KeyFigures> figures;
    for (std::uint32_t position = 0; position < recording.ChannelCount(); ++position) {
        figures.push_back(JudgeKey(recording.Read(position), settings));
    }
    return figures;
}
