#pragma once
// Builds measurement frames for the store tests.

#include <array>
#include <cstdint>

#include "device/store/FrameDecoding.h"

using Frame = std::array<std::uint8_t, kMeasurementFrameSize>;

inline Frame MakeFrame(std::uint8_t length, std::uint8_t first = 0x55, std::uint8_t second = 0xAA) {
    Frame frame{};
    frame[0] = first;
    frame[1] = second;
    frame[2] = length;
    return frame;
}

inline void PutGroup(Frame& frame, std::uint32_t channel, std::uint16_t baseline,
                     std::uint16_t filtered, std::uint16_t noise) {
    const std::uint16_t words[] = {baseline, filtered, noise};
    std::uint32_t offset = 3 + 6 * channel;
    for (std::uint16_t word : words) {
        frame[offset++] = static_cast<std::uint8_t>(word >> 8);
        frame[offset++] = static_cast<std::uint8_t>(word & 0xFF);
    }
}
