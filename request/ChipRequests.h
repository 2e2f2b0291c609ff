#pragma once
// The requests Palvex sends to the touch chip through the adapter, and that the adapter
// simulator answers: all use the debug command with one of three subcommands.

#include <cstdint>

inline constexpr std::uint8_t kDebugCommand = 0xF4;
inline constexpr std::uint8_t kStartStreaming = 0x24;  // start measurement streaming
inline constexpr std::uint8_t kReadFrame = 0x25;       // read the 200-byte measurement frame
inline constexpr std::uint8_t kStopStreaming = 0x26;   // stop measurement streaming
