#include "capture/TouchRuns.h"

#include <algorithm>
#include <cmath>

namespace {

// What a frame counts as while the runs are being found.
enum Role : std::uint8_t { kQuiet, kEdge, kTouched };

// Refining the band converges in two or three rounds; the bound only guards against a
// recording whose band and runs keep trading frames.
constexpr int kMaxRefinements = 16;

// The value that separates the differences into the two clusters whose means lie furthest
// apart for their sizes (the largest between-cluster variance): the lower cluster holds the
// values at or below it. Nothing when every value is the same.
std::optional<std::int32_t> ClusterSplit(std::span<const std::int32_t> differences) {
    const auto [lowest, highest] = std::minmax_element(differences.begin(), differences.end());
    if (lowest == differences.end() || *lowest == *highest) {
        return std::nullopt;
    }
    const std::int32_t base = *lowest;
    std::vector<std::uint64_t> counts(static_cast<std::size_t>(*highest - base) + 1);
    double sum = 0.0;
    for (std::int32_t d : differences) {
        ++counts[static_cast<std::size_t>(d - base)];
        sum += d - base;
    }
    const auto total = static_cast<double>(differences.size());
    double lowerCount = 0.0;
    double lowerSum = 0.0;
    double best = -1.0;
    std::int32_t split = base;
    for (std::size_t v = 0; v + 1 < counts.size(); ++v) {
        lowerCount += static_cast<double>(counts[v]);
        lowerSum += static_cast<double>(v) * static_cast<double>(counts[v]);
        if (counts[v] == 0) {
            continue;
        }
        const double upperCount = total - lowerCount;
        const double apart = (sum - lowerSum) / upperCount - lowerSum / lowerCount;
        const double between = lowerCount * upperCount * apart * apart;
        if (between > best) {
            best = between;
            split = base + static_cast<std::int32_t>(v);
        }
    }
    return split;
}

// The first band: the middle 80 % of the lower cluster's values. The cluster also holds the
// lower parts of the touches' rises and falls; a band stretched over them would make the
// clearance so wide that shallow touches fall into the band, and the band would grow on them.
template <class Lower>
std::pair<std::int32_t, std::int32_t> CoreOf(std::span<const std::int32_t> differences,
                                             Lower lower) {
    std::vector<std::int32_t> values;
    for (std::int32_t d : differences) {
        if (lower(d)) {
            values.push_back(d);
        }
    }
    if (values.empty()) {
        return {0, -1};
    }
    auto at = [&values](std::size_t share) {
        auto nth = values.begin() + static_cast<std::ptrdiff_t>((values.size() - 1) * share / 10);
        std::nth_element(values.begin(), nth, values.end());
        return *nth;
    };
    return {at(1), at(9)};
}

LevelFigures Measure(std::span<const std::int32_t> differences, const std::vector<Role>& roles,
                     Role role) {
    LevelFigures figures;
    double sum = 0.0;
    for (std::size_t i = 0; i < differences.size(); ++i) {
        if (roles[i] != role) {
            continue;
        }
        const std::int32_t d = differences[i];
        figures.lowest = figures.frames == 0 ? d : std::min(figures.lowest, d);
        figures.highest = figures.frames == 0 ? d : std::max(figures.highest, d);
        ++figures.frames;
        sum += d;
    }
    if (figures.frames == 0) {
        return figures;
    }
    figures.mean = sum / static_cast<double>(figures.frames);
    double squares = 0.0;
    for (std::size_t i = 0; i < differences.size(); ++i) {
        if (roles[i] == role) {
            const double deviation = differences[i] - figures.mean;
            squares += deviation * deviation;
        }
    }
    figures.rms = std::sqrt(squares / static_cast<double>(figures.frames));
    return figures;
}

class RunFinder {
  public:
    RunFinder(std::span<const std::int32_t> differences, const TouchRunSettings& settings)
        : d_(differences), settings_(settings) {}

    // Finds the runs above the band of the frames that roles marks quiet; returns the new roles.
    std::vector<Role> Find(const LevelFigures& quiet, TouchRuns& runs) {
        clearance_ = std::max((quiet.highest - quiet.lowest) / 2.0, 1.0);
        quietMean_ = quiet.mean;
        runs.enterLevel = settings_.threshold.value_or(quiet.highest + clearance_);
        runs.exitLevel = settings_.threshold ? *settings_.threshold - clearance_ : quiet.highest;
        exitLevel_ = runs.exitLevel;
        runs.touches.clear();
        std::vector<Role> roles(d_.size(), kQuiet);
        for (std::size_t i = 0; i < d_.size();) {
            if (d_[i] <= runs.exitLevel) {
                ++i;
                continue;
            }
            std::size_t end = i;
            std::uint64_t clear = 0;
            for (; end < d_.size() && d_[end] > runs.exitLevel; ++end) {
                clear += Enters(d_[end], runs.enterLevel) ? 1 : 0;
            }
            if (clear >= settings_.minTouchFrames) {
                runs.touches.push_back(Mark(i, end, roles));
            }
            i = end;
        }
        return roles;
    }

  private:
    bool Enters(std::int32_t d, double enterLevel) const {
        return settings_.threshold ? d >= enterLevel : d > enterLevel;
    }

    // Marks the run of frames begin to end - 1 and the edges around its touched frames.
    FrameSpan Mark(std::size_t begin, std::size_t end, std::vector<Role>& roles) {
        scratch_.assign(d_.begin() + static_cast<std::ptrdiff_t>(begin),
                        d_.begin() + static_cast<std::ptrdiff_t>(end));
        auto middle = scratch_.begin() + static_cast<std::ptrdiff_t>(scratch_.size() / 2);
        std::nth_element(scratch_.begin(), middle, scratch_.end());
        const double plateau = *middle - clearance_;
        std::size_t first = begin;
        while (d_[first] < plateau) {
            ++first;
        }
        std::size_t last = end - 1;
        while (d_[last] < plateau) {
            --last;
        }
        std::fill(roles.begin() + static_cast<std::ptrdiff_t>(begin),
                  roles.begin() + static_cast<std::ptrdiff_t>(end), kEdge);
        std::fill(roles.begin() + static_cast<std::ptrdiff_t>(first),
                  roles.begin() + static_cast<std::ptrdiff_t>(last + 1), kTouched);
        // The foot of the rise and the tail of the fall: still above the quiet mean.
        for (std::size_t i = begin; i > 0 && roles[i - 1] == kQuiet && d_[i - 1] > quietMean_;
             --i) {
            roles[i - 1] = kEdge;
        }
        for (std::size_t i = end; i < d_.size() && d_[i] > quietMean_ && d_[i] <= exitLevel_; ++i) {
            roles[i] = kEdge;
        }
        return {first, last + 1};
    }

    std::span<const std::int32_t> d_;
    const TouchRunSettings& settings_;
    double clearance_ = 1.0;
    double quietMean_ = 0.0;
    double exitLevel_ = 0.0;
    std::vector<std::int32_t> scratch_;
};

}  // namespace

TouchRuns FindTouchRuns(std::span<const std::int32_t> differences,
                        const TouchRunSettings& settings) {
    TouchRuns runs;
    std::vector<Role> roles(differences.size(), kQuiet);
    const std::optional<std::int32_t> split = ClusterSplit(differences);
    if (settings.threshold || split) {
        auto lower = [&](std::int32_t d) {
            return settings.threshold ? d < *settings.threshold : d <= *split;
        };
        const auto [low, high] = CoreOf(differences, lower);
        for (std::size_t i = 0; i < differences.size(); ++i) {
            const std::int32_t d = differences[i];
            roles[i] = lower(d) && d >= low && d <= high ? kQuiet : kEdge;
        }
    }
    RunFinder finder(differences, settings);
    for (int round = 0; round < kMaxRefinements; ++round) {
        runs.quiet = Measure(differences, roles, kQuiet);
        if (runs.quiet.frames == 0) {
            runs.touches.clear();
            return runs;
        }
        std::vector<Role> refined = finder.Find(runs.quiet, runs);
        const bool settled = refined == roles;
        roles = std::move(refined);
        if (settled) {
            break;
        }
    }
    runs.quiet = Measure(differences, roles, kQuiet);
    runs.touched = Measure(differences, roles, kTouched);
    return runs;
}
