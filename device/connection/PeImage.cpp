#include "device/connection/PeImage.h"

namespace {

// Limits that no sound library reaches; a damaged or hostile file is refused at them instead of
// being followed into huge loops or allocations.
constexpr std::size_t kMaxSections = 96;
constexpr std::size_t kMaxImports = 4096;
constexpr std::size_t kMaxExports = 65536;
constexpr std::size_t kMaxNameLength = 1024;

constexpr std::size_t kImportDescriptorSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;

// Little-endian reads that fail instead of reading past the end.
class Bytes {
  public:
    explicit Bytes(std::span<const std::uint8_t> file) : file_(file) {}

    bool U16(std::size_t at, std::uint16_t& value) const {
        if (!Has(at, 2)) {
            return false;
        }
        value = static_cast<std::uint16_t>(file_[at] | (file_[at + 1] << 8));
        return true;
    }
    bool U32(std::size_t at, std::uint32_t& value) const {
        if (!Has(at, 4)) {
            return false;
        }
        value = 0;
        for (std::size_t i = 4; i-- > 0;) {
            value = (value << 8) | file_[at + i];
        }
        return true;
    }
    // A zero-terminated name of printable characters.
    bool Name(std::size_t at, std::string& name) const {
        name.clear();
        for (std::size_t i = at; i < file_.size() && name.size() <= kMaxNameLength; ++i) {
            if (file_[i] == 0) {
                return !name.empty();
            }
            if (file_[i] < 0x20 || file_[i] > 0x7E) {
                return false;
            }
            name.push_back(static_cast<char>(file_[i]));
        }
        return false;
    }
    bool Has(std::size_t at, std::size_t length) const {
        return at <= file_.size() && length <= file_.size() - at;
    }
    bool Matches(std::size_t at, const char* text, std::size_t length) const {
        if (!Has(at, length)) {
            return false;
        }
        for (std::size_t i = 0; i < length; ++i) {
            if (file_[at + i] != static_cast<std::uint8_t>(text[i])) {
                return false;
            }
        }
        return true;
    }

  private:
    std::span<const std::uint8_t> file_;
};

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
};

struct DataDirectory {
    std::uint32_t address = 0;
    std::uint32_t size = 0;
};

class Image {
  public:
    explicit Image(std::span<const std::uint8_t> file) : bytes_(file) {}

    bool ReadHeaders(PeImageFacts& facts) {
        std::uint32_t header = 0;
        if (!bytes_.Matches(0, "MZ", 2) || !bytes_.U32(0x3C, header) ||
            !bytes_.Matches(header, "PE\0\0", 4)) {
            return false;
        }
        const std::size_t coff = std::size_t{header} + 4;
        std::uint16_t sections = 0;
        std::uint16_t optionalSize = 0;
        std::uint16_t magic = 0;
        if (!bytes_.U16(coff, facts.machine) || !bytes_.U16(coff + 2, sections) ||
            !bytes_.U16(coff + 16, optionalSize) || sections > kMaxSections) {
            return false;
        }
        const std::size_t optional = coff + 20;
        if (!bytes_.U16(optional, magic)) {
            return false;
        }
        // PE32 and PE32+ differ in where their data directories start.
        std::size_t directories = 0;
        if (magic == 0x10B) {
            directories = optional + 96;
        } else if (magic == 0x20B) {
            directories = optional + 112;
        } else {
            return false;
        }
        std::uint32_t directoryCount = 0;
        if (!bytes_.U32(directories - 4, directoryCount)) {
            return false;
        }
        return ReadDirectory(directories, directoryCount, 0, exports_) &&
               ReadDirectory(directories, directoryCount, 1, imports_) &&
               ReadSections(optional + optionalSize, sections);
    }

    bool ReadImports(std::vector<std::string>& names) const {
        if (imports_.address == 0) {
            return true;
        }
        std::size_t at = 0;
        if (!Offset(imports_.address, kImportDescriptorSize, at)) {
            return false;
        }
        for (std::size_t entry = 0; entry < kMaxImports; ++entry, at += kImportDescriptorSize) {
            std::uint32_t nameAddress = 0;
            std::uint32_t firstThunk = 0;
            if (!bytes_.U32(at + 12, nameAddress) || !bytes_.U32(at + 16, firstThunk)) {
                return false;
            }
            if (nameAddress == 0 && firstThunk == 0) {
                return true;  // the table's closing entry
            }
            std::string name;
            if (!NameAt(nameAddress, name)) {
                return false;
            }
            names.push_back(std::move(name));
        }
        return false;
    }

    bool ReadExports(std::vector<std::string>& names) const {
        if (exports_.address == 0) {
            return true;
        }
        std::size_t at = 0;
        std::uint32_t count = 0;
        std::uint32_t nameTable = 0;
        if (!Offset(exports_.address, 40, at) || !bytes_.U32(at + 24, count) ||
            !bytes_.U32(at + 32, nameTable) || count > kMaxExports) {
            return false;
        }
        std::size_t table = 0;
        if (count > 0 && !Offset(nameTable, std::size_t{count} * 4, table)) {
            return false;
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint32_t nameAddress = 0;
            std::string name;
            if (!bytes_.U32(table + std::size_t{i} * 4, nameAddress) ||
                !NameAt(nameAddress, name)) {
                return false;
            }
            names.push_back(std::move(name));
        }
        return true;
    }

  private:
    // A directory the image does not list stays empty.
    bool ReadDirectory(std::size_t first, std::uint32_t count, std::uint32_t index,
                       DataDirectory& directory) const {
        const std::size_t at = first + std::size_t{index} * 8;
        return index >= count ||
               (bytes_.U32(at, directory.address) && bytes_.U32(at + 4, directory.size));
    }

    bool ReadSections(std::size_t first, std::uint16_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = first + i * kSectionHeaderSize;
            Section section{};
            if (!bytes_.U32(at + 8, section.virtualSize) ||
                !bytes_.U32(at + 12, section.virtualAddress) ||
                !bytes_.U32(at + 16, section.rawSize) || !bytes_.U32(at + 20, section.rawOffset)) {
                return false;
            }
            sections_.push_back(section);
        }
        return true;
    }

    // The file offset of length bytes at a virtual address, when they lie within one
    // section's data in the file.
    bool Offset(std::uint32_t address, std::size_t length, std::size_t& offset) const {
        for (const Section& section : sections_) {
            if (address < section.virtualAddress) {
                continue;
            }
            const std::size_t within = address - section.virtualAddress;
            if (within < section.rawSize && length <= section.rawSize - within) {
                offset = std::size_t{section.rawOffset} + within;
                return bytes_.Has(offset, length);
            }
        }
        return false;
    }

    bool NameAt(std::uint32_t address, std::string& name) const {
        std::size_t at = 0;
        return Offset(address, 1, at) && bytes_.Name(at, name);
    }

    Bytes bytes_;
    std::vector<Section> sections_;
    DataDirectory exports_;
    DataDirectory imports_;
};

}  // namespace

std::optional<PeImageFacts> ReadPeImage(std::span<const std::uint8_t> file) {
    Image image(file);
    PeImageFacts facts;
    if (!image.ReadHeaders(facts) || !image.ReadImports(facts.imports) ||
        !image.ReadExports(facts.exports)) {
        return std::nullopt;
    }
    return facts;
}
