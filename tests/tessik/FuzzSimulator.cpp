// libFuzzer target: arbitrary reports written to the adapter simulator and its answers read
// back. The simulator is our test device; it must refuse what it does not understand without
// crashing or overrunning its answer queue.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "tessik/AdapterSimulator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    SimulatorConfig config;
    config.channels = data[0] % 33;
    config.layoutLength = data[1] < 128 ? -1 : data[1];
    config.reportDelayMicros = 0;
    AdapterSimulator adapter(config);
    adapter.Open(kAdapterVendorId, kAdapterProductId);
    adapter.SetTimeout(0);
    data += 2;
    size -= 2;
    // Each 65-byte chunk: one selector byte (odd: read an answer) and a report to write.
    while (size >= kReportSize + 1) {
        std::uint8_t report[kReportSize];
        std::memcpy(report, data + 1, kReportSize);
        if ((data[0] & 1) != 0) {
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
