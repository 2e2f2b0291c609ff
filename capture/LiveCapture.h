#pragma once
// Receives frames through the adapter as Palvex does (the same device connection, Tessik.dll
// and Dravik.dll from the program's folder) and hands each frame's values on at once.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class DeviceConnection;

struct CaptureLimits {
    std::optional<double> seconds;
    std::optional<std::uint64_t> frames;
};

// Called once the channel count is known, before the first frame; false ends the capture.
using LayoutSink = std::function<bool(std::uint32_t channels)>;
// Called per frame with 4 values per channel in quantity order; false ends the capture.
using FrameSink = std::function<bool(const std::int32_t* values)>;

struct CaptureOutcome {
    bool linkOk = false;  // false: no adapter, no layout, or the link was lost
    std::uint64_t frames = 0;
    double seconds = 0.0;
    std::vector<std::string> errors;  // why the link failed, one line each
};

// Connects device, reads the layout, then frames until a limit is reached, a sink says stop
// or the link fails; sends the stop request at the end.
CaptureOutcome CaptureFrames(DeviceConnection& device, const CaptureLimits& limits,
                             const LayoutSink& onLayout, const FrameSink& onFrame);
