#include "device/connection/LibraryDiagnosis.h"

#include <algorithm>
#include <cctype>

#include "device/connection/PeImage.h"

namespace {

std::wstring Widened(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// API set names are resolved by the loader itself, never looked for as files.
bool IsApiSet(const std::string& name) {
    return StartsWithNoCase(name, "api-ms-") || StartsWithNoCase(name, "ext-ms-");
}

}  // namespace

LibraryDiagnosis JudgeLibraryImage(
    const std::wstring& library, std::span<const std::uint8_t> file, std::uint16_t programMachine,
    const std::string& factory, const std::function<bool(const std::string&)>& dependencyPresent) {
    LibraryDiagnosis diagnosis;
    diagnosis.library = library;
    diagnosis.factory = Widened(factory);
    const std::optional<PeImageFacts> image = ReadPeImage(file);
    if (!image) {
        diagnosis.problem = LibraryProblem::NotALibrary;
        return diagnosis;
    }
    diagnosis.machine = image->machine;
    if (image->machine != programMachine) {
        diagnosis.problem = image->machine == kMachineI386    ? LibraryProblem::Built32Bit
                            : image->machine == kMachineAmd64 ? LibraryProblem::Built64Bit
                                                              : LibraryProblem::OtherProcessor;
        return diagnosis;
    }
    for (const std::string& dependency : image->imports) {
        if (!IsApiSet(dependency) && !dependencyPresent(dependency)) {
            diagnosis.problem = LibraryProblem::DependencyMissing;
            diagnosis.dependency = Widened(dependency);
            return diagnosis;
        }
    }
    const auto& exports = image->exports;
    if (std::find(exports.begin(), exports.end(), factory) == exports.end()) {
        diagnosis.problem = LibraryProblem::FactoryMissing;
        // A factory exported with a calling convention's decoration ("_GetUsbHidObj@0") or as a
        // C++ name ("?GetUsbHidObj@@YAPAV...") is there, but not under the name looked up.
        const auto similar = std::find_if(exports.begin(), exports.end(), [&](const auto& name) {
            return name.find(factory) != std::string::npos;
        });
        if (similar != exports.end()) {
            diagnosis.similarExport = Widened(*similar);
        }
    }
    return diagnosis;
}
