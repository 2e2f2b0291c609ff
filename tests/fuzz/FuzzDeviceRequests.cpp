// libFuzzer target: the device requests that Palvex sends, in any order, through the request
// module to an adapter that either answers arbitrary bytes or is the adapter simulator with a
// fault chosen by the input. Whatever comes back, a failed request must leave the store as it
// was and a frame read must lengthen exactly the channels it decodes.
//
// Input: byte 0 picks the adapter (even: arbitrary, odd: simulator) and byte 1 the number of
// requests (up to 31), which follow one byte each (DoRequest). The arbitrary adapter consumes
// the rest, with bit 1 of byte 0 making every answer carry the expected status command; the
// simulator takes its configuration from the next bytes (FuzzedSimulatorConfig).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "device/connection/DeviceRequests.h"
#include "request/DebugCmdProcess.h"
#include "tessik/AdapterSimulator.h"
#include "tests/fuzz/ArbitraryAdapter.h"
#include "tests/fuzz/FuzzedSimulatorConfig.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::vector<std::uint32_t> Lengths(const TouchSampleStore& store) {
    std::vector<std::uint32_t> lengths;
    for (std::uint32_t c = 0; c < store.ChannelCount(); ++c) {
        const ChannelSamples& channel = store.Channel(c);
        for (SampleQuantity quantity : {SampleQuantity::Baseline, SampleQuantity::Filtered,
                                        SampleQuantity::Difference, SampleQuantity::Noise}) {
            lengths.push_back(channel.Series(quantity).Size());
        }
    }
    return lengths;
}

void DoRequest(std::uint8_t request, DeviceRequests& requests, TouchSampleStore& store,
               HidTransport& adapter) {
    const std::vector<std::uint32_t> before = Lengths(store);
    const std::uint8_t channelsBefore = requests.ChannelCount();
    switch (request % 5) {
        case 0:
            requests.StartStreaming();
            break;
        case 1:
            requests.StopStreaming();
            break;
        case 2: {
            store.RemoveAllChannels();  // as closing the device does before the next layout
            const bool known = requests.ReadChannelLayout(store);
            Check(known ? store.ChannelCount() == requests.ChannelCount()
                        : store.ChannelCount() == 0 && requests.ChannelCount() == channelsBefore);
            return;
        }
        case 3: {
            if (!requests.ReadFrame(store)) {
                Check(Lengths(store) == before);
                return;
            }
            std::vector<std::uint32_t> after = Lengths(store);
            const std::size_t grown =
                4u * std::min<std::uint32_t>(requests.ChannelCount(), store.ChannelCount());
            for (std::size_t i = 0; i < after.size(); ++i) {
                Check(after[i] == before[i] + (i < grown ? 1 : 0));
            }
            return;
        }
        default:
            adapter.Open(kAdapterVendorId, kAdapterProductId);
            adapter.SetTimeout(0);
            break;
    }
    Check(Lengths(store) == before);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || size < 2u + (data[1] & 0x1F)) {
        return 0;
    }
    const bool simulated = (data[0] & 1) != 0;
    const std::uint8_t* requestList = data + 2;
    const std::size_t requestCount = data[1] & 0x1F;
    const std::uint8_t* rest = requestList + requestCount;
    const std::size_t restSize = size - 2 - requestCount;

    std::optional<AdapterSimulator> simulator;
    std::optional<ArbitraryAdapter> arbitrary;
    HidTransport* adapter = nullptr;
    if (simulated) {
        if (restSize < kFuzzedSimulatorConfigSize) {
            return 0;
        }
        adapter = &simulator.emplace(FuzzedSimulatorConfig(rest));
    } else {
        adapter = &arbitrary.emplace(rest, restSize, (data[0] & 2) != 0 ? 0xE4 : -1);
    }
    adapter->Open(kAdapterVendorId, kAdapterProductId);
    adapter->SetTimeout(0);

    static constinit DebugCmdProcess module;
    module.Attach(adapter);
    DeviceRequests requests;
    requests.Use(&module);
    TouchSampleStore store;
    for (std::size_t i = 0; i < requestCount; ++i) {
        DoRequest(requestList[i], requests, store, *adapter);
    }
    return 0;
}
