#pragma once
// What a Windows program or library file says about itself in its headers: the processor it is
// built for, the libraries it needs and the names it exports. Used to tell why a library does
// not load. Portable: it reads bytes only, and trusts none of them.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The processors Windows libraries are built for (the header's machine field).
inline constexpr std::uint16_t kMachineI386 = 0x014C;
inline constexpr std::uint16_t kMachineAmd64 = 0x8664;

struct PeImageFacts {
    std::uint16_t machine = 0;
    std::vector<std::string> imports;  // the libraries it needs at load time, in table order
    std::vector<std::string> exports;  // its exported names
};

// The facts of the image in file, or none when the bytes are not a well-formed PE image.
std::optional<PeImageFacts> ReadPeImage(std::span<const std::uint8_t> file);
