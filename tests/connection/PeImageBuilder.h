#pragma once
// Builds a small but well-formed PE library image in memory: headers for the given processor
// (PE32 for i386, PE32+ otherwise) and one section holding its import and export tables, as a
// linker lays them out. Enough for the loader's first checks and for ReadPeImage.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "device/connection/PeImage.h"

inline std::vector<std::uint8_t> BuildPeImage(std::uint16_t machine,
                                              const std::vector<std::string>& imports,
                                              const std::vector<std::string>& exports) {
    constexpr std::uint32_t kSectionAddress = 0x1000;
    constexpr std::uint32_t kSectionOffset = 0x400;
    const bool pe32 = machine == kMachineI386;
    const std::uint16_t optionalSize = pe32 ? 224 : 240;

    // The section: import descriptors, export directory, name table, then every name.
    std::vector<std::uint8_t> data((imports.size() + 1) * 20 + 40 + exports.size() * 4, 0);
    auto put32 = [](std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    };
    auto addName = [&](const std::string& name) {
        const auto address = static_cast<std::uint32_t>(kSectionAddress + data.size());
        data.insert(data.end(), name.begin(), name.end());
        data.push_back(0);
        return address;
    };
    for (std::size_t i = 0; i < imports.size(); ++i) {
        put32(data, i * 20 + 12, addName(imports[i]));
        put32(data, i * 20 + 16, kSectionAddress);  // a first thunk, as every import has
    }
    const std::size_t exportDirectory = (imports.size() + 1) * 20;
    put32(data, exportDirectory + 24, static_cast<std::uint32_t>(exports.size()));
    put32(data, exportDirectory + 32,
          static_cast<std::uint32_t>(kSectionAddress + exportDirectory + 40));
    for (std::size_t i = 0; i < exports.size(); ++i) {
        put32(data, exportDirectory + 40 + i * 4, addName(exports[i]));
    }

    std::vector<std::uint8_t> image(kSectionOffset, 0);
    image[0] = 'M';
    image[1] = 'Z';
    put32(image, 0x3C, 0x40);
    std::memcpy(&image[0x40], "PE\0\0", 4);
    const std::size_t coff = 0x44;
    image[coff] = static_cast<std::uint8_t>(machine);
    image[coff + 1] = static_cast<std::uint8_t>(machine >> 8);
    image[coff + 2] = 1;  // one section
    image[coff + 16] = static_cast<std::uint8_t>(optionalSize);
    image[coff + 18] = 0x02;  // executable image
    image[coff + 19] = 0x20;  // a library
    const std::size_t optional = coff + 20;
    image[optional] = 0x0B;
    image[optional + 1] = pe32 ? 0x01 : 0x02;
    const std::size_t directories = optional + (pe32 ? 96 : 112);
    put32(image, directories - 4, 16);
    if (!exports.empty()) {
        put32(image, directories, static_cast<std::uint32_t>(kSectionAddress + exportDirectory));
        put32(image, directories + 4, 40);
    }
    if (!imports.empty()) {
        put32(image, directories + 8, kSectionAddress);
        put32(image, directories + 12, static_cast<std::uint32_t>(exportDirectory));
    }
    const std::size_t section = optional + optionalSize;
    std::memcpy(&image[section], ".rdata", 6);
    put32(image, section + 8, static_cast<std::uint32_t>(data.size()));
    put32(image, section + 12, kSectionAddress);
    put32(image, section + 16, static_cast<std::uint32_t>(data.size()));
    put32(image, section + 20, kSectionOffset);
    image.insert(image.end(), data.begin(), data.end());
    return image;
}
