#pragma once
// Layout of the 64-byte reports of the adapter protocol. Multi-byte numbers are most
// significant byte first.

#include <array>
#include <cstddef>
#include <cstdint>

#include "request/HidTransport.h"

using Report = std::array<std::uint8_t, kReportSize>;

// Byte 1 of every report.
enum ReportKind : std::uint8_t {
    kKindCommandHeader = 1,  // PC to adapter: first report of a command and of every block
    kKindStatus = 2,         // adapter to PC: last report of a command and of every block
    kKindDataOut = 3,        // PC to adapter
    kKindDataIn = 4,         // adapter to PC
    kKindResync = 5,         // both ways
};

namespace report_byte {
inline constexpr std::size_t kKind = 1;
inline constexpr std::size_t kCommand = 2;  // header: command; status: command without bit 4
inline constexpr std::size_t kSubcommand = 3;
inline constexpr std::size_t kPayloadLength = 3;  // data reports
inline constexpr std::size_t kPayload = 4;        // data reports
inline constexpr std::size_t kSecondParameter = 4;
inline constexpr std::size_t kFirstParameter = 5;
inline constexpr std::size_t kStatusWord = 5;   // status reports, two bytes
inline constexpr std::size_t kAddress = 6;      // header, four bytes
inline constexpr std::size_t kLength = 10;      // header, four bytes
inline constexpr std::size_t kInlineFlag = 14;  // header: command part; status: returned data
inline constexpr std::size_t kInlineLength = 15;
inline constexpr std::size_t kInlineData = 16;
}  // namespace report_byte

inline constexpr std::size_t kMaxInlineLength = 48;
inline constexpr std::size_t kMaxPayloadLength = 60;
inline constexpr std::uint32_t kBlockSize = 256;
// The adapter answers a command with the command's bit 4 cleared.
inline constexpr std::uint8_t kStatusCommandMask = static_cast<std::uint8_t>(~0x10u);

inline void PutU32(Report& report, std::size_t at, std::uint32_t value) {
    report[at] = static_cast<std::uint8_t>(value >> 24);
    report[at + 1] = static_cast<std::uint8_t>(value >> 16);
    report[at + 2] = static_cast<std::uint8_t>(value >> 8);
    report[at + 3] = static_cast<std::uint8_t>(value);
}

inline std::uint16_t GetU16(const Report& report, std::size_t at) {
    return static_cast<std::uint16_t>((report[at] << 8) | report[at + 1]);
}
