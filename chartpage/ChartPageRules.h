#pragma once
// The chart page's arithmetic, kept apart from its windows: refresh periods, the sample
// under the cursor, scroll-bar steps and the checks of what the user types.

#include <cstdint>
#include <optional>
#include <string>

#include "chartpage/Checked.h"

// Points per line until the user types another count.
inline constexpr std::uint32_t kDefaultPointCount = 100;
// A line holds at most this many points, so the point count stays below it.
inline constexpr std::uint32_t kPointCapacity = 1000;
// X distance between two neighbouring points of a line, in chart units.
inline constexpr double kPointSpacing = 0.05;

// The refresh period, in milliseconds, for a store of this many channels: more lines draw
// less often. None above 32 channels.
std::optional<unsigned> RefreshPeriodFor(std::uint32_t channelCount);

// The index of the sample under cursor value x in a window of pointCount points whose
// first point is sample windowStart. It may lie before or past the samples; none for a
// cursor value that is not a number.
std::optional<std::int64_t> CursorSampleIndex(double x, std::uint32_t pointCount,
                                              std::int32_t windowStart);

struct ScrollBarState {
    std::uint32_t max;       // range maximum
    std::uint32_t page;      // page size
    std::uint32_t position;  // current position
};

// Where a horizontal scroll code moves the window start: one sample left or right within
// the range, or to a released thumb (one step left of it when the thumb stands past the
// last full window). None for the codes that move nothing.
std::optional<std::uint32_t> ScrollTarget(int code, const ScrollBarState& bar, std::uint32_t thumb);

// A typed X point count against the number of samples held per channel.
Checked<std::uint32_t> CheckPointCount(const std::wstring& text, std::uint32_t sampleCount);

struct ManualRange {
    int min;
    int max;
};
// Typed Y range ends; both must be given and the minimum must lie below the maximum.
Checked<ManualRange> CheckManualRange(const std::wstring& maxText, const std::wstring& minText);
