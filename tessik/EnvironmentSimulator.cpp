#include "tessik/EnvironmentSimulator.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <mutex>
#include <string>

#include "tessik/AdapterSimulator.h"

namespace {

// The values read by LookUpVariable, one copy per name, valid until that name is read again.
// (Not thread_local: a thread-local object with a destructor keeps the library loaded.)
std::mutex environmentLock;
std::map<std::string, std::string> environmentValues;

// The process environment as it is now; the C runtime's copy misses later changes. Values
// of any length: a scripted touch list runs long, and a long malformed value must be refused
// like a short one, not taken for unset. Call with environmentLock held.
const char* LookUpVariable(const char* name) {
    std::string& value = environmentValues[name];
    value.assign(64, '\0');
    for (;;) {
        const DWORD length =
            GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) {
            return nullptr;
        }
        if (length < value.size()) {
            value.resize(length);
            return value.c_str();
        }
        value.assign(length, '\0');  // the room it needs, its terminator included
    }
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
            std::unique_lock environment(environmentLock);
            const auto config = ParseSimulatorConfig(&LookUpVariable, error);
            environment.unlock();
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

HidTransport& EnvironmentSimulator() {
    static EnvironmentConfiguredSimulator simulator;
    return simulator;
}
