#pragma once
// The four quantities recorded per touch channel. Their order is the index every reader uses:
// the chart page stacks its charts in this order and the data list page orders its columns so.

#include <array>
#include <cstddef>
#include <cstdint>

enum class SampleQuantity : std::uint8_t {
    Baseline = 0,    // first word of a channel's group in the frame
    Filtered = 1,    // second word
    Difference = 2,  // computed here: Baseline minus Filtered
    Noise = 3,       // third word
};

inline constexpr std::size_t kSampleQuantityCount = 4;

// Baseline and filtered values are 16-bit, so their difference lies within these bounds.
inline constexpr std::int32_t kMinDifference = -65535;
inline constexpr std::int32_t kMaxDifference = 65535;

// All quantities in index order, for loops over the four series of a channel.
inline constexpr std::array<SampleQuantity, kSampleQuantityCount> kAllSampleQuantities = {
    SampleQuantity::Baseline, SampleQuantity::Filtered, SampleQuantity::Difference,
    SampleQuantity::Noise};

inline constexpr std::size_t QuantityIndex(SampleQuantity quantity) {
    return static_cast<std::size_t>(quantity);
}
