#include "capture/LiveCapture.h"

#include <chrono>
#include <cstdio>
#include <vector>

#include "device/connection/DeviceConnection.h"
#include "device/connection/LibraryNotLoadedText.h"
#include "device/recording/TextEncoding.h"
#include "device/store/SampleQuantity.h"
#include "device/store/TouchSampleStore.h"

namespace {

using Clock = std::chrono::steady_clock;

// The store keeps every sample it decodes; emptying it this often keeps a capture of any
// length at the memory of a few thousand frames.
constexpr std::uint64_t kFramesPerStoreClear = 4096;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The newest values of every channel, 4 per channel in quantity order.
void LatestValues(const TouchSampleStore& store, std::vector<std::int32_t>& values) {
    std::size_t at = 0;
    for (std::uint32_t p = 0; p < store.ChannelCount(); ++p) {
        for (SampleQuantity quantity : kAllSampleQuantities) {
            values[at++] = store.Channel(p).Series(quantity).Last();
        }
    }
}

}  // namespace

CaptureOutcome CaptureFrames(DeviceConnection& device, const CaptureLimits& limits,
                             const LayoutSink& onLayout, const FrameSink& onFrame) {
    CaptureOutcome outcome;
    const ConnectResult connected = device.Connect();
    if (connected != ConnectResult::Connected) {
        const ConnectFailureText why = device.ExplainFailure(connected, TextLanguage::English);
        std::string library = ToUtf8(LibraryNotLoadedLine(connected));
        if (!why.library.empty()) {
            library += (library.empty() ? "" : " ") + ToUtf8(why.library);
        }
        if (!library.empty()) {
            outcome.errors.push_back(library);
        }
        std::string noAdapter = "no adapter: the touch-key debugging adapter could not be opened";
        if (!why.adapter.empty()) {
            noAdapter += ". " + ToUtf8(why.adapter);
        }
        outcome.errors.push_back(noAdapter);
        return outcome;
    }
    TouchSampleStore store;
    if (!device.StartStreaming()) {
        outcome.errors.push_back(
            "no answer from the chip: the start request failed (check the "
            "connection between adapter and chip)");
        return outcome;
    }
    if (!device.ReadChannelLayout(store)) {
        outcome.errors.push_back(
            "channel initialisation failed: the chip sent no measurement frame");
        device.StopStreaming();
        return outcome;
    }
    const std::uint32_t channels = store.ChannelCount();
    if (!onLayout(channels)) {
        device.StopStreaming();
        outcome.linkOk = true;
        return outcome;
    }

    std::vector<std::int32_t> values(channels * kSampleQuantityCount);
    const Clock::time_point start = Clock::now();
    Clock::time_point nextProgress = start + std::chrono::seconds(1);
    outcome.linkOk = true;
    while (!limits.frames || outcome.frames < *limits.frames) {
        if (limits.seconds && SecondsSince(start) >= *limits.seconds) {
            break;
        }
        if (!device.ReadFrame(store)) {
            outcome.linkOk = false;
            outcome.errors.push_back("link to the adapter lost after " +
                                     std::to_string(outcome.frames) + " frames");
            break;
        }
        LatestValues(store, values);
        ++outcome.frames;
        if (!onFrame(values.data())) {
            break;
        }
        if (outcome.frames % kFramesPerStoreClear == 0) {
            store.ClearSamples();
        }
        if (Clock::now() >= nextProgress) {
            nextProgress += std::chrono::seconds(1);
            std::fprintf(stderr, "palvex-capture: %llu frames, %.0f frames/s\n",
                         static_cast<unsigned long long>(outcome.frames),
                         outcome.frames / SecondsSince(start));
        }
    }
    outcome.seconds = SecondsSince(start);
    device.StopStreaming();
    return outcome;
}
