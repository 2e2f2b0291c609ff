// libFuzzer target: the adapter answers with arbitrary bytes. Execute must stay inside the
// caller's exactly sized buffers (AddressSanitizer watches), must end, and must leave the
// buffers and the status target untouched whenever it returns false.
//
// Input: 8 bytes describe the request, then the transport consumes the rest (ArbitraryAdapter).
// With bit 0 of byte 7 every answer carries the status command the exchange expects.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "request/DebugCmdProcess.h"
#include "tests/fuzz/ArbitraryAdapter.h"

namespace {

constinit DebugCmdProcess module;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) {
        return 0;
    }
    const bool transfer = (data[0] & 1) != 0;
    const std::uint8_t command = data[1];
    const std::uint8_t subcommand = data[2];
    const std::uint8_t direction = data[3] & 1;
    // Up to 1023 bytes: four blocks, enough to cross every block and piece boundary.
    const std::uint32_t length = ((data[4] << 8) | data[5]) & 0x3FF;
    const std::uint8_t inlineLength = data[6];
    const int statusCommand = (data[7] & 1) != 0 ? (command & ~0x10) : -1;
    ArbitraryAdapter adapter(data + 8, size - 8, statusCommand);
    module.Attach(&adapter);

    // Buffers of exactly the documented sizes, on the heap so that overruns are caught.
    std::vector<std::uint8_t> buffer(transfer ? length : 48);
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        buffer[i] = static_cast<std::uint8_t>(i * 31 + 7);
    }
    const std::vector<std::uint8_t> before = buffer;
    auto* status = new std::uint16_t(0xA5A5);
    if (transfer) {
        module.SetTransferRequest(command, subcommand, direction, buffer.data(), 0x100, length);
    } else {
        module.SetCommandRequest(command, subcommand, status, buffer.data(), inlineLength);
    }
    const bool done = module.Execute();
    if (!done && (buffer != before || *status != 0xA5A5)) {
        std::abort();  // a failed exchange touched the caller's memory
    }
    if (transfer && direction == 0 && buffer != before) {
        std::abort();  // a write's source buffer is only read
    }
    const ExchangeStatistics counters = module.GetStatistics();
    if (counters.reportsSent == 0 && done) {
        std::abort();
    }
    delete status;
    return 0;
}
