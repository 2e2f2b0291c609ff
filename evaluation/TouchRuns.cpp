#include "evaluation/TouchRuns.h"

#include <algorithm>
#include <cmath>

namespace {

// What a frame counts as while the runs are being found.
enum Role : std::uint8_t { kQuiet, kEdge, kTouched };

// Refining the band converges in two or three rounds; the bound only guards against a
// recording whose band and runs keep trading frames.
constexpr int kMaxRefinements = 16;

// A key has a few touch strengths, each split off the band in one step at most; the bound
// keeps a staircase of many short levels from costing a pass over the recording per level.
constexpr int kMaxLevels = 16;

// The share of a cluster's values, in tenths, below and above its core.
constexpr std::uint64_t kCoreLowTenths = 1;
constexpr std::uint64_t kCoreHighTenths = 9;

// How many frames hold each value, from the lowest value counted to the highest.
class ValueCounts {
  public:
    // Counts the differences between lowest and highest whose frames keep accepts.
    template <class Keep>
    ValueCounts(std::span<const std::int32_t> differences, std::int32_t lowest,
                std::int32_t highest, Keep keep)
        : base_(lowest), counts_(static_cast<std::size_t>(highest - lowest) + 1) {
        for (std::size_t i = 0; i < differences.size(); ++i) {
            const std::int32_t d = differences[i];
            if (keep(i) && d >= lowest && d <= highest) {
                ++counts_[static_cast<std::size_t>(d - base_)];
            }
        }
    }

    // The value that separates the values into the two clusters whose means lie furthest
    // apart for their sizes (the largest between-cluster variance): the lower cluster holds
    // the values at or below it. Nothing when fewer than two values occur.
    std::optional<std::int32_t> Split() const {
        double total = 0.0;
        double sum = 0.0;
        for (std::size_t v = 0; v < counts_.size(); ++v) {
            total += static_cast<double>(counts_[v]);
            sum += static_cast<double>(v) * static_cast<double>(counts_[v]);
        }
        double lowerCount = 0.0;
        double lowerSum = 0.0;
        double best = -1.0;
        std::optional<std::int32_t> split;
        for (std::size_t v = 0; v + 1 < counts_.size(); ++v) {
            lowerCount += static_cast<double>(counts_[v]);
            lowerSum += static_cast<double>(v) * static_cast<double>(counts_[v]);
            const double upperCount = total - lowerCount;
            if (counts_[v] == 0 || upperCount == 0.0) {
                continue;
            }
            const double apart = (sum - lowerSum) / upperCount - lowerSum / lowerCount;
            const double between = lowerCount * upperCount * apart * apart;
            if (between > best) {
                best = between;
                split = base_ + static_cast<std::int32_t>(v);
            }
        }
        return split;
    }

    // The middle 80 % of the values at or below top, as its lowest and highest value. The
    // lower cluster also holds the lower parts of the touches' rises and falls; a band
    // stretched over them would make the clearance so wide that shallow touches fall into the
    // band, and the band would grow on them.
    std::pair<std::int32_t, std::int32_t> Core(std::int32_t top) const {
        const std::size_t last =
            std::min(static_cast<std::size_t>(std::max(top - base_, -1) + 1), counts_.size());
        std::uint64_t values = 0;
        for (std::size_t v = 0; v < last; ++v) {
            values += counts_[v];
        }
        if (values == 0) {
            return {0, -1};
        }
        // The values sorted, the one at index (values - 1) * tenths / 10.
        auto at = [&](std::uint64_t tenths) {
            const std::uint64_t index = (values - 1) * tenths / 10;
            std::uint64_t below = 0;
            std::size_t v = 0;
            while (below + counts_[v] <= index) {
                below += counts_[v++];
            }
            return base_ + static_cast<std::int32_t>(v);
        };
        return {at(kCoreLowTenths), at(kCoreHighTenths)};
    }

  private:
    std::int32_t base_;
    std::vector<std::uint32_t> counts_;
};

// The figures of the frames that roles marks role; the rms only when asked, since the rounds
// of refinement need the band's extent and mean alone.
LevelFigures Measure(std::span<const std::int32_t> differences, const std::vector<Role>& roles,
                     Role role, bool withRms) {
    LevelFigures figures;
    std::int64_t sum = 0;
    std::int32_t lowest = 0;
    std::int32_t highest = 0;
    for (std::size_t i = 0; i < differences.size(); ++i) {
        if (roles[i] != role) {
            continue;
        }
        const std::int32_t d = differences[i];
        lowest = figures.frames == 0 ? d : std::min(lowest, d);
        highest = figures.frames == 0 ? d : std::max(highest, d);
        ++figures.frames;
        sum += d;
    }
    if (figures.frames == 0) {
        return figures;
    }
    figures.lowest = lowest;
    figures.highest = highest;
    figures.mean = static_cast<double>(sum) / static_cast<double>(figures.frames);
    if (withRms) {
        double squares = 0.0;
        for (std::size_t i = 0; i < differences.size(); ++i) {
            if (roles[i] == role) {
                const double deviation = differences[i] - figures.mean;
                squares += deviation * deviation;
            }
        }
        figures.rms = std::sqrt(squares / static_cast<double>(figures.frames));
    }
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
        brushLevel_ = settings_.threshold
                          ? *settings_.threshold
                          : quiet.highest + 2.0 * std::max(quiet.highest - quiet.lowest, 1);
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
                runs.touches.push_back({Mark(i, end, roles), 0.0});
            } else {
                // Too short for a touch: a brush, a spike or a touch cut by the recording's
                // start or end, whose frames as high as a touch are neither quiet nor touched;
                // or the resting jitter reaching past a band still narrower than it, whose
                // frames stay quiet so that the band grows to the jitter's full width.
                for (; i < end; ++i) {
                    roles[i] = IsBrush(d_[i]) ? kEdge : kQuiet;
                }
            }
            i = end;
        }
        return roles;
    }

  private:
    bool Enters(std::int32_t d, double enterLevel) const {
        return settings_.threshold ? d >= enterLevel : d > enterLevel;
    }

    // A frame of a short stretch that lies where a touch would be found: at or above a given
    // threshold, or else more than 2 x max(P, 1) above the band's top.
    bool IsBrush(std::int32_t d) const {
        return settings_.threshold ? d >= brushLevel_ : d > brushLevel_;
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
    double brushLevel_ = 0.0;
    std::vector<std::int32_t> scratch_;
};

// The roles of every frame and the runs they make.
struct Finding {
    std::vector<Role> roles;
    TouchRuns runs;
};

// Refines the band from the frames that roles marks quiet until the runs no longer change.
Finding Refine(std::span<const std::int32_t> differences, RunFinder& finder,
               std::vector<Role> roles) {
    TouchRuns runs;
    for (int round = 0; round < kMaxRefinements; ++round) {
        runs.quiet = Measure(differences, roles, kQuiet, false);
        if (runs.quiet.frames == 0) {
            runs.touches.clear();
            return {std::move(roles), std::move(runs)};
        }
        std::vector<Role> refined = finder.Find(runs.quiet, runs);
        const bool settled = refined == roles;
        roles = std::move(refined);
        if (settled) {
            break;
        }
    }
    runs.quiet = Measure(differences, roles, kQuiet, false);
    return {std::move(roles), std::move(runs)};
}

// The roles that make the frames whose differences lie within core, among those accepted by
// keep, the first band; all others start as neither quiet nor touched.
template <class Keep>
std::vector<Role> Seed(std::span<const std::int32_t> differences,
                       std::pair<std::int32_t, std::int32_t> core, Keep keep) {
    std::vector<Role> roles(differences.size(), kEdge);
    for (std::size_t i = 0; i < differences.size(); ++i) {
        const std::int32_t d = differences[i];
        if (keep(i) && d >= core.first && d <= core.second) {
            roles[i] = kQuiet;
        }
    }
    return roles;
}

// The first band: the core of the lower cluster of all values, or of the values below a
// given threshold.
std::vector<Role> FirstBand(std::span<const std::int32_t> differences,
                            const TouchRunSettings& settings) {
    const auto [lowest, highest] = std::minmax_element(differences.begin(), differences.end());
    if (lowest == differences.end()) {
        return {};
    }
    auto all = [](std::size_t) { return true; };
    if (settings.threshold) {
        const double threshold = *settings.threshold;
        auto below = [&](std::size_t i) { return differences[i] < threshold; };
        const ValueCounts counts(differences, *lowest, *highest, below);
        return Seed(differences, counts.Core(*highest), below);
    }
    const ValueCounts counts(differences, *lowest, *highest, all);
    const std::optional<std::int32_t> split = counts.Split();
    if (!split) {
        return std::vector<Role>(differences.size(), kQuiet);
    }
    return Seed(differences, counts.Core(*split), all);
}

// Whether at least frames consecutive quiet frames lie above level.
bool QuietStretchAbove(std::span<const std::int32_t> differences, const std::vector<Role>& roles,
                       std::int32_t level, std::uint32_t frames) {
    std::uint64_t stretch = 0;
    for (std::size_t i = 0; i < differences.size(); ++i) {
        stretch = roles[i] == kQuiet && differences[i] > level ? stretch + 1 : 0;
        if (stretch >= frames) {
            return true;
        }
    }
    return false;
}

// A band that holds a second level, seeded from the lower cluster of its own values; nothing
// when the band is one level.
std::optional<std::vector<Role>> LowerLevel(std::span<const std::int32_t> differences,
                                            const Finding& found, std::uint32_t minTouchFrames) {
    const LevelFigures& quiet = found.runs.quiet;
    auto isQuiet = [&](std::size_t i) { return found.roles[i] == kQuiet; };
    const ValueCounts counts(differences, quiet.lowest, quiet.highest, isQuiet);
    const std::optional<std::int32_t> split = counts.Split();
    if (!split) {
        return std::nullopt;
    }
    const auto core = counts.Core(*split);
    const std::int64_t level =
        core.second + 2 * std::max<std::int64_t>(std::int64_t{core.second} - core.first, 1);
    if (level >= quiet.highest ||
        !QuietStretchAbove(differences, found.roles, static_cast<std::int32_t>(level),
                           minTouchFrames)) {
        return std::nullopt;
    }
    return Seed(differences, core, isQuiet);
}

}  // namespace

TouchRuns FindTouchRuns(std::span<const std::int32_t> differences,
                        const TouchRunSettings& settings) {
    RunFinder finder(differences, settings);
    Finding found = Refine(differences, finder, FirstBand(differences, settings));
    for (int level = 1; level < kMaxLevels && !settings.threshold && found.runs.quiet.frames > 0;
         ++level) {
        std::optional<std::vector<Role>> seed =
            LowerLevel(differences, found, settings.minTouchFrames);
        if (!seed) {
            break;
        }
        Finding lower = Refine(differences, finder, std::move(*seed));
        const auto width = [](const LevelFigures& band) { return band.highest - band.lowest; };
        if (lower.runs.quiet.frames == 0 || width(lower.runs.quiet) >= width(found.runs.quiet)) {
            break;
        }
        found = std::move(lower);
    }
    TouchRuns& runs = found.runs;
    runs.quiet = Measure(differences, found.roles, kQuiet, true);
    for (TouchRun& touch : runs.touches) {
        std::int64_t sum = 0;
        for (std::uint64_t i = touch.frames.begin; i < touch.frames.end; ++i) {
            sum += differences[i];
        }
        touch.mean =
            static_cast<double>(sum) / static_cast<double>(touch.frames.end - touch.frames.begin);
    }
    return std::move(runs);
}
