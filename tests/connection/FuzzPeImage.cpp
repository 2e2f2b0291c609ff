// libFuzzer target: arbitrary bytes read as a library file. A damaged or hostile Tessik.dll in
// the program's folder must be judged without reading past its end, looping or allocating
// without bound.

#include <cstddef>
#include <cstdint>
#include <span>

#include "device/connection/PeImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReadPeImage(std::span<const std::uint8_t>(data, size));
    return 0;
}
