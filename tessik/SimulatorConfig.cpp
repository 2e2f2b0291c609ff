#include "tessik/SimulatorConfig.h"

#include <charconv>
#include <cstring>
#include <utility>

namespace {

bool ReadNumber(const char* (*lookup)(const char*), const char* name, long long low, long long high,
                long long& value, std::string& error) {
    const char* text = lookup(name);
    if (text == nullptr || *text == '\0') {
        return true;
    }
    const char* end = text + std::strlen(text);
    long long parsed = 0;
    const auto [stop, status] = std::from_chars(text, end, parsed);
    if (status != std::errc{} || stop != end || parsed < low || parsed > high) {
        error = std::string(name) + "=" + text + ": expected a whole number from " +
                std::to_string(low) + " to " + std::to_string(high);
        return false;
    }
    value = parsed;
    return true;
}

bool ReadFault(const char* (*lookup)(const char*), SimulatorFault& fault, std::string& error) {
    static constexpr std::pair<const char*, SimulatorFault> kNames[] = {
        {"none", SimulatorFault::None},
        {"read-fails", SimulatorFault::ReadFails},
        {"silent", SimulatorFault::Silent},
        {"wrong-status", SimulatorFault::WrongStatus},
        {"short-data", SimulatorFault::ShortData},
        {"disconnect", SimulatorFault::Disconnect},
    };
    const char* text = lookup("TESSIK_SIM_FAULT");
    if (text == nullptr || *text == '\0') {
        return true;
    }
    for (const auto& [name, value] : kNames) {
        if (std::strcmp(text, name) == 0) {
            fault = value;
            return true;
        }
    }
    error = std::string("TESSIK_SIM_FAULT=") + text +
            ": expected none, read-fails, silent, wrong-status, short-data or disconnect";
    return false;
}

}  // namespace

std::optional<SimulatorConfig> ParseSimulatorConfig(const char* (*lookup)(const char* name),
                                                    std::string& error) {
    SimulatorConfig config;
    long long channels = config.channels;
    long long layoutLength = config.layoutLength;
    long long delay = config.reportDelayMicros;
    long long seed = config.seed;
    long long faultAfter = config.faultAfterFrames;
    if (!ReadNumber(lookup, "TESSIK_SIM_CHANNELS", 0, 32, channels, error) ||
        !ReadNumber(lookup, "TESSIK_SIM_LAYOUT_LENGTH", 0, 255, layoutLength, error) ||
        !ReadNumber(lookup, "TESSIK_SIM_REPORT_DELAY_US", 0, 1000000, delay, error) ||
        !ReadNumber(lookup, "TESSIK_SIM_SEED", 0, 0xFFFFFFFFll, seed, error) ||
        !ReadNumber(lookup, "TESSIK_SIM_FAULT_AFTER", 0, 0xFFFFFFFFll, faultAfter, error) ||
        !ReadFault(lookup, config.fault, error)) {
        return std::nullopt;
    }
    config.channels = static_cast<int>(channels);
    config.layoutLength = static_cast<int>(layoutLength);
    config.reportDelayMicros = static_cast<std::uint32_t>(delay);
    config.seed = static_cast<std::uint32_t>(seed);
    config.faultAfterFrames = static_cast<std::uint32_t>(faultAfter);
    return config;
}
