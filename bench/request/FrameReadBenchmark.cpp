// One frame-read exchange with the adapter simulator (no report delay) plus decoding of its
// 32 channels into the store: the cost that Palvex adds per frame on top of the USB transfers.

#include <benchmark/benchmark.h>

#include "device/connection/DeviceRequests.h"
#include "request/DebugCmdProcess.h"
#include "tessik/AdapterSimulator.h"

namespace {

void FrameReadAndDecode32Channels(benchmark::State& state) {
    SimulatorConfig config;
    config.channels = 32;
    config.reportDelayMicros = 0;
    AdapterSimulator adapter(config);
    adapter.Open(kAdapterVendorId, kAdapterProductId);
    DebugCmdProcess module;
    module.Attach(&adapter);
    DeviceRequests requests;
    requests.Use(&module);
    TouchSampleStore store;
    if (!requests.ReadChannelLayout(store) || store.ChannelCount() != 32) {
        state.SkipWithError("the simulator did not report 32 channels");
        return;
    }
    std::uint64_t frames = 0;
    for (auto _ : state) {
        if (!requests.ReadFrame(store)) {
            state.SkipWithError("frame read failed");
            break;
        }
        // The store grows by 512 bytes a frame; keep the run's memory bounded.
        if (++frames % 65536 == 0) {
            state.PauseTiming();
            store.ClearSamples();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FrameReadAndDecode32Channels);

}  // namespace

BENCHMARK_MAIN();
