// libFuzzer target: arbitrary reports written to the adapter simulator and its answers read
// back, with any of its faults. The simulator is our test device; it must refuse what it does
// not understand without crashing or overrunning its answer queue.
//
// Input: the simulator's configuration (FuzzedSimulatorConfig), then 65-byte chunks: a selector
// byte (odd: read an answer, 4 in its high half: open again) and a report to write.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "tessik/AdapterSimulator.h"
#include "tests/fuzz/FuzzedSimulatorConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kFuzzedSimulatorConfigSize) {
        return 0;
    }
    const SimulatorConfig config = FuzzedSimulatorConfig(data);
    AdapterSimulator adapter(config);
    adapter.Open(kAdapterVendorId, kAdapterProductId);
    adapter.SetTimeout(0);
    data += kFuzzedSimulatorConfigSize;
    size -= kFuzzedSimulatorConfigSize;
    while (size >= kReportSize + 1) {
        std::uint8_t report[kReportSize];
        std::memcpy(report, data + 1, kReportSize);
        if ((data[0] >> 4) == 4) {
            adapter.Open(kAdapterVendorId, kAdapterProductId);
        } else if ((data[0] & 1) != 0) {
            if (adapter.ReadReport(report, kReportSize) && report[1] == 0) {
                std::abort();  // every answer names its kind
            }
        } else {
            adapter.WriteReport(report, kReportSize);
        }
        data += kReportSize + 1;
        size -= kReportSize + 1;
    }
    return 0;
}
