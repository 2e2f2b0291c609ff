#pragma once
// Signed decimal numbers as "%d" writes them, into a character buffer of either width: the
// data table formats thousands of cells per paint and millions per export.

#include <cstdint>

// Room for any 32-bit value with its sign.
inline constexpr int kMaxDecimalLength = 11;

// Writes value at out (no terminator) and returns the end of what was written.
template <typename Char>
Char* WriteDecimal(std::int64_t value, Char* out) {
    std::uint64_t magnitude =
        value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
    if (value < 0) {
        *out++ = Char('-');
    }
    int digits = 1;
    for (std::uint64_t rest = magnitude; rest >= 10; rest /= 10) {
        ++digits;
    }
    Char* end = out + digits;
    do {
        *--end = static_cast<Char>(Char('0') + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    return out + digits;
}
