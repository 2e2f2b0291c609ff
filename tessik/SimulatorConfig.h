#pragma once
// How the simulated adapter and its chip behave. The simulator Tessik.dll reads this from
// TESSIK_SIM_* environment variables each time the adapter is opened.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tessik/SimulatedChip.h"

enum class SimulatorFault {
    None,
    ReadFails,    // the first read of the answer fails
    Silent,       // no answer; the read gives up after the time limit
    WrongStatus,  // the status report carries the command byte unchanged
    ShortData,    // data reports carry half of their bytes (frame reads only)
    Disconnect,   // the adapter goes away: every operation fails, Open too
    LateAnswer,   // the answer arrives only after the read waiting for it gave up
    StatusWord,   // the status report carries a non-zero status word
    WrongKind,    // every report of the answer carries a kind the protocol does not have
    Mute,         // no answer at all, not even to the resynchronisation that follows
};

// The requests a fault can be aimed at.
enum class FaultTarget {
    Frame,   // every frame read, the layout read included
    Layout,  // only the first frame read after each Open
    Start,   // start streaming
    Stop,    // stop streaming
    Any,     // every request
};

// Every fault kind with its variable value, so that tools and tests can enumerate them.
struct SimulatorFaultKind {
    const char* name;
    SimulatorFault fault;
    bool needsDataReports;  // has no effect on an answer without data, so frame reads only
};
std::span<const SimulatorFaultKind> SimulatorFaultKinds();

struct FaultTargetKind {
    const char* name;
    FaultTarget target;
};
std::span<const FaultTargetKind> FaultTargetKinds();

// The status word that the status-word fault puts into its status report.
inline constexpr std::uint16_t kFaultStatusWord = 0x8001;
// The report kind that the wrong-kind fault gives every report of its answer.
inline constexpr std::uint8_t kFaultReportKind = 0x06;

struct SimulatorConfig {
    int channels = 8;                        // 0..32
    int layoutLength = -1;                   // the frame's L byte; -1: 2 + 6 * channels
    std::uint32_t reportDelayMicros = 1000;  // per report, like a full-speed HID adapter
    std::uint32_t seed = 1;
    SimulatorFault fault = SimulatorFault::None;
    FaultTarget faultTarget = FaultTarget::Frame;
    std::uint32_t faultAfterFrames = 0;  // targeted requests answered normally before the fault
    // Targeted requests that get the fault before normal answers return; 0: until the next
    // Open. A disconnect instead lasts for this many refused Open calls.
    std::uint32_t faultLength = 0;
    int jitter = kChipJitter;  // half-width of the untouched difference's wobble
    // Scripted touches; while there are any, the chip makes no random ones.
    std::vector<ScriptedTouch> touches;
};

// Reads the configuration through lookup (name -> value, null when unset). Returns nothing and
// sets error to a readable message when a value is malformed or out of range.
std::optional<SimulatorConfig> ParseSimulatorConfig(const char* (*lookup)(const char* name),
                                                    std::string& error);
