#pragma once
// The usual starting point for a key's thresholds in the chip, from its measured touch delta:
// the finger threshold at 80 %, the noise threshold at 40 % and the hysteresis at 10 % of the
// delta, in whole counts of the difference above the quiet level, as chips take them.

#include <cmath>
#include <cstdint>

struct SuggestedThresholds {
    std::int32_t finger = 0;
    std::int32_t noise = 0;
    std::int32_t hysteresis = 0;
};

inline constexpr double kFingerShare = 0.8;
inline constexpr double kNoiseShare = 0.4;
inline constexpr double kHysteresisShare = 0.1;

inline SuggestedThresholds SuggestThresholds(double touchDelta) {
    auto share = [touchDelta](double part) {
        return static_cast<std::int32_t>(std::lround(touchDelta * part));
    };
    return {share(kFingerShare), share(kNoiseShare), share(kHysteresisShare)};
}
