#pragma once
// How the simulated adapter and its chip behave. The simulator Tessik.dll reads this from
// TESSIK_SIM_* environment variables each time the adapter is opened.

#include <cstdint>
#include <optional>
#include <string>

enum class SimulatorFault {
    None,
    ReadFails,    // frame reads fail at their first data report
    Silent,       // frame reads get no answer; the read gives up after the time limit
    WrongStatus,  // the frame read's status report carries the command byte unchanged
    ShortData,    // data reports carry half of their bytes
    Disconnect,   // the adapter goes away: every operation fails, Open too
};

struct SimulatorConfig {
    int channels = 8;                        // 0..32
    int layoutLength = -1;                   // the frame's L byte; -1: 2 + 6 * channels
    std::uint32_t reportDelayMicros = 1000;  // per report, like a full-speed HID adapter
    std::uint32_t seed = 1;
    SimulatorFault fault = SimulatorFault::None;
    std::uint32_t faultAfterFrames = 0;  // frame reads answered normally before the fault
};

// Reads the configuration through lookup (name -> value, null when unset). Returns nothing and
// sets error to a readable message when a value is malformed or out of range.
std::optional<SimulatorConfig> ParseSimulatorConfig(const char* (*lookup)(const char* name),
                                                    std::string& error);
