// The simulator build of Tessik.dll: a simulated adapter configured by TESSIK_SIM_* environment
// variables, read anew each time the adapter is opened.

#include <windows.h>

#include <cstdio>
#include <string>

#include "request/LibraryExport.h"
#include "tessik/AdapterSimulator.h"

namespace {

// The process environment as it is now; the C runtime's copy misses later changes.
const char* LookUpVariable(const char* name) {
    static thread_local char value[256];
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? value : nullptr;
}

class EnvironmentConfiguredSimulator final : public HidTransport {
  public:
    bool Control(std::uint32_t code, void* data, std::uint32_t size) override {
        return simulator_.Control(code, data, size);
    }
    bool Open(std::uint16_t vendorId, std::uint16_t productId) override {
        // An unplugged adapter keeps its configuration until it is plugged back in.
        if (!simulator_.Disconnected()) {
            std::string error;
            const auto config = ParseSimulatorConfig(&LookUpVariable, error);
            if (!config) {
                std::fprintf(stderr, "Tessik simulator: %s\n", error.c_str());
                return false;
            }
            simulator_.Configure(*config);
        }
        return simulator_.Open(vendorId, productId);
    }
    bool SetTimeout(std::uint32_t milliseconds) override {
        return simulator_.SetTimeout(milliseconds);
    }
    bool WriteReport(const std::uint8_t* report, std::uint32_t length) override {
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
    static EnvironmentConfiguredSimulator simulator;
    return &simulator;
}
