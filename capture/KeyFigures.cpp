#include "capture/KeyFigures.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "device/SampleQuantity.h"

namespace {
constexpr std::size_t kDifferenceRange = kMaxDifference - kMinDifference + 1;
// Scales a median absolute deviation to the standard deviation of normally distributed noise.
constexpr double kMadToSigma = 1.4826;
constexpr double kThresholdDeviations = 10.0;
constexpr double kMinThresholdMargin = 1.0;

std::size_t Bin(std::int32_t difference) {
    return static_cast<std::size_t>(difference - kMinDifference);
}
}  // namespace

bool KeySamples::Add(std::int32_t baseline, std::int32_t difference) {
    if (difference < kMinDifference || difference > kMaxDifference) {
        return false;
    }
    if (counts_.empty()) {
        counts_.assign(kDifferenceRange, 0);
    }
    ++counts_[Bin(difference)];
    ++count_;
    baselineSum_ += baseline;
    lowest_ = std::min(lowest_, difference);
    highest_ = std::max(highest_, difference);
    return true;
}

std::int32_t KeySamples::NthDifference(std::uint64_t k) const {
    std::uint64_t seen = 0;
    for (std::int32_t d = lowest_; d < highest_; ++d) {
        seen += counts_[Bin(d)];
        if (seen > k) {
            return d;
        }
    }
    return highest_;
}

double KeySamples::Median() const {
    if (count_ == 0) {
        return 0.0;
    }
    std::int32_t lower = NthDifference((count_ - 1) / 2);
    std::int32_t upper = NthDifference(count_ / 2);
    return (static_cast<double>(lower) + upper) / 2.0;
}

// Walks outwards from the centre, always to the nearer of the two next values, so that the
// deviations |d - centre| come in ascending order without sorting anything.
double KeySamples::MedianOfDeviations(double centre) const {
    const std::uint64_t lowerRank = (count_ - 1) / 2;
    const std::uint64_t upperRank = count_ / 2;
    auto left = static_cast<std::int32_t>(std::floor(centre));
    std::int32_t right = left + 1;
    std::uint64_t seen = 0;
    double lowerDeviation = 0.0;
    while (true) {
        bool takeLeft = left >= lowest_ && (right > highest_ || centre - left <= right - centre);
        double deviation = takeLeft ? centre - left : right - centre;
        std::uint64_t here = counts_[Bin(takeLeft ? left : right)];
        if (takeLeft) {
            --left;
        } else {
            ++right;
        }
        if (seen <= lowerRank && lowerRank < seen + here) {
            lowerDeviation = deviation;
        }
        seen += here;
        if (seen > upperRank) {
            return (lowerDeviation + deviation) / 2.0;
        }
    }
}

double KeySamples::MedianAbsoluteDeviation() const {
    return count_ == 0 ? 0.0 : MedianOfDeviations(Median());
}

double KeySamples::DefaultThreshold() const {
    if (count_ == 0) {
        return 0.0;
    }
    double spread = kThresholdDeviations * kMadToSigma * MedianAbsoluteDeviation();
    return Median() + std::max(spread, kMinThresholdMargin);
}

KeyFigures KeySamples::Judge(const JudgeSettings& settings) const {
    KeyFigures figures;
    figures.channel = channel_;
    figures.samples = count_;
    if (count_ == 0) {
        return figures;
    }
    figures.baselineMean = baselineSum_ / static_cast<double>(count_);
    figures.threshold = settings.threshold.value_or(DefaultThreshold());

    double quietSum = 0.0;
    double touchedSum = 0.0;
    std::int32_t quietLowest = 0;
    std::int32_t quietHighest = 0;
    for (std::int32_t d = lowest_; d <= highest_; ++d) {
        std::uint64_t n = counts_[Bin(d)];
        if (n == 0) {
            continue;
        }
        if (d >= figures.threshold) {
            figures.touchedSamples += n;
            touchedSum += static_cast<double>(d) * static_cast<double>(n);
            continue;
        }
        if (figures.quietSamples == 0) {
            quietLowest = d;
        }
        quietHighest = d;
        figures.quietSamples += n;
        quietSum += static_cast<double>(d) * static_cast<double>(n);
    }
    figures.noise = quietHighest - quietLowest;

    if (figures.touchedSamples == 0) {
        figures.verdict = KeyVerdict::NoTouch;
        return figures;
    }
    if (figures.quietSamples == 0) {
        figures.verdict = KeyVerdict::NoQuiet;
        return figures;
    }
    figures.touchDelta = touchedSum / static_cast<double>(figures.touchedSamples) -
                         quietSum / static_cast<double>(figures.quietSamples);
    figures.snr = figures.noise == 0 ? std::numeric_limits<double>::infinity()
                                     : figures.touchDelta / figures.noise;
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
