#pragma once
// The judge's settings as people type them, on palvex-capture's command line and in the boxes of
// the window's "按键评估" page alike, so both take exactly the same values.
//
// Plain decimal only: digits, and for a real number a sign and one decimal point. The C library
// would also take leading blanks, hexadecimal, exponents and "inf", which nobody means and
// would then be judged with a value they did not write.

#include <cstdint>
#include <optional>
#include <string_view>

// A finite real number, "-2", "0.5", "+7.".
std::optional<double> ParsePlainReal(std::string_view text);
// A whole number without a sign that fits 64 bits.
std::optional<std::uint64_t> ParsePlainCount(std::string_view text);

// The pass mark, the lowest SNR that passes: a number of at least 0.
std::optional<double> ParsePassMark(std::string_view text);
// The shortest touch in frames: 1 to 2^32 - 1.
std::optional<std::uint32_t> ParseMinTouchFrames(std::string_view text);
