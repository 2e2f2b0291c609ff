// A Tessik.dll for the tests: the simulated adapter with 4 channels and no delay, which can be
// told to refuse the start request (the handshake) while it answers everything else.

#include <windows.h>

#include <atomic>

#include "request/ChipRequests.h"
#include "request/LibraryExport.h"
#include "request/ReportFormat.h"
#include "tessik/AdapterSimulator.h"

namespace {

std::atomic<bool> g_refuseStart{true};

class StartRefusingAdapter final : public HidTransport {
  public:
    StartRefusingAdapter() {
        SimulatorConfig config;
        config.channels = 4;
        config.reportDelayMicros = 0;
        simulator_.Configure(config);
    }
    bool Control(std::uint32_t code, void* data, std::uint32_t size) override {
        return simulator_.Control(code, data, size);
    }
    bool Open(std::uint16_t vendorId, std::uint16_t productId) override {
        return simulator_.Open(vendorId, productId);
    }
    bool SetTimeout(std::uint32_t milliseconds) override {
        return simulator_.SetTimeout(milliseconds);
    }
    bool WriteReport(const std::uint8_t* report, std::uint32_t length) override {
        const bool startRequest = length == kReportSize &&
                                  report[report_byte::kKind] == kKindCommandHeader &&
                                  report[report_byte::kSubcommand] == kStartStreaming;
        if (startRequest && g_refuseStart) {
            return false;
        }
        return simulator_.WriteReport(report, length);
    }
    bool ReadReport(std::uint8_t* report, std::uint32_t length) override {
        return simulator_.ReadReport(report, length);
    }

  private:
    AdapterSimulator simulator_;
};

}  // namespace

PALVEX_EXPORT HidTransport* GetUsbHidObj() {
    static StartRefusingAdapter adapter;
    return &adapter;
}

PALVEX_EXPORT void RefuseStartRequests(bool refuse) {
    g_refuseStart = refuse;
}
