#pragma once
// The adapter simulator's configuration as fuzz targets choose it from five input bytes:
// channels, layout length, fault kind, fault target, and the fault's start (low half) and
// length (high half). Reports take no time and reads give up at once.

#include <cstddef>
#include <cstdint>

#include "tessik/SimulatorConfig.h"

inline constexpr std::size_t kFuzzedSimulatorConfigSize = 5;

inline SimulatorConfig FuzzedSimulatorConfig(const std::uint8_t* bytes) {
    SimulatorConfig config;
    config.channels = bytes[0] % 33;
    config.layoutLength = bytes[1] < 128 ? -1 : bytes[1];
    config.reportDelayMicros = 0;
    const auto faults = SimulatorFaultKinds();
    const auto targets = FaultTargetKinds();
    config.fault = faults[bytes[2] % faults.size()].fault;
    config.faultTarget = targets[bytes[3] % targets.size()].target;
    config.faultAfterFrames = bytes[4] & 0x0F;
    config.faultLength = bytes[4] >> 4;
    return config;
}
