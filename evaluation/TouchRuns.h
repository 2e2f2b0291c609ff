#pragma once
// Finds the touches of one key in its difference values as a person reading the curve would:
// a quiet band where the key rests, and runs of frames that rise clearly above it and stay
// there. Neither level is assumed to be the majority of the recording, and touches of
// different strengths are all touches.
//
// The quiet band starts as the middle 80 % of the lower of two clusters of the values (the
// split that best separates their means) and is then refined: the runs found above it and the
// frames that are neither quiet nor touched are taken out, the band is measured again over
// what is left, and the runs are found again, until they no longer change.
//
// With the band's top Q, its peak-to-peak P and its mean M, and the clearance c = max(P / 2, 1):
// - a run is a stretch of frames above Q (hysteresis: the touch's own jitter does not end it);
//   it is a touch when it holds at least minTouchFrames frames above Q + c (or at or above a
//   given threshold T, when the stretch is then the frames above T - c);
// - a touch's touched frames run from its first to its last frame within c of the run's
//   median; the frames outside that on the rising and falling edges, and those next to the
//   run still above M, count neither as quiet nor as touched;
// - a stretch with fewer such frames (a brush, a spike, a touch cut by the recording's start
//   or end) is too short for a touch: its frames more than 2 * max(P, 1) above Q (at or above
//   T, with a given threshold), as high as a touch that would be found, count neither as
//   quiet nor as touched; its lower frames are the resting jitter reaching past a band still
//   narrower than it and stay quiet, which lets the first band grow to the jitter's full width.
// A touch whose mean is at least twice P above M, with a jitter no wider than the quiet one,
// stays above Q + c in every frame and is found.
//
// A band that still holds a second level (light touches below firm ones, both above the rest)
// is split again: without a given threshold, when at least minTouchFrames consecutive quiet
// frames lie more than 2 * max(P', 1) above Q', with Q' the top and P' the peak-to-peak of the
// middle 80 % of the lower cluster of the quiet values, that core becomes the first band and
// everything is found again; the result is kept when its band comes out narrower.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

inline constexpr std::uint32_t kDefaultMinTouchFrames = 5;

// Frames begin to end - 1 of a recording, counted from 0.
struct FrameSpan {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
    bool operator==(const FrameSpan&) const = default;
};

struct TouchRunSettings {
    std::optional<double> threshold;  // forces the level a run must reach
    std::uint32_t minTouchFrames = kDefaultMinTouchFrames;
};

// Figures of a set of frames' differences.
struct LevelFigures {
    std::uint64_t frames = 0;
    std::int32_t lowest = 0;
    std::int32_t highest = 0;
    double mean = 0.0;
    double rms = 0.0;  // root mean square deviation from the mean
};

struct TouchRun {
    FrameSpan frames;   // its touched frames
    double mean = 0.0;  // their mean difference
};

struct TouchRuns {
    LevelFigures quiet;
    // The level a run must exceed (or reach, with a given threshold) and the level that ends it.
    double enterLevel = 0.0;
    double exitLevel = 0.0;
    std::vector<TouchRun> touches;  // in order
};

TouchRuns FindTouchRuns(std::span<const std::int32_t> differences,
                        const TouchRunSettings& settings);
