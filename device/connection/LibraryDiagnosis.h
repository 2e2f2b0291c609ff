#pragma once
// Why a library that the program loads (Tessik.dll, Dravik.dll) cannot be used: the typed
// reason, judged from the library file's own headers against the program that would load it.
// Portable; the Windows side that reads the file and asks the system is LibraryCheck.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

enum class LibraryProblem : std::uint8_t {
    None,               // nothing found against it
    NotInFolder,        // no such file in the program's folder
    Unreadable,         // the file is there but cannot be read (systemError)
    NotALibrary,        // not a Windows program or library, or damaged
    Built32Bit,         // for 32-bit Windows, in a 64-bit program: the other package fits
    Built64Bit,         // for 64-bit Windows, in a 32-bit program: the other package fits
    OtherProcessor,     // for another processor altogether (machine)
    DependencyMissing,  // a library it needs at load time is nowhere to be found (dependency)
    FactoryMissing,     // it lacks the factory export (similarExport: one decorated like it)
    DoesNotLoad,        // Windows refuses it for another reason (systemError)
};

struct LibraryDiagnosis {
    LibraryProblem problem = LibraryProblem::None;
    std::wstring library;        // its file name, as the texts name it
    std::wstring factory;        // the export looked up in it
    std::wstring dependency;     // DependencyMissing
    std::wstring similarExport;  // FactoryMissing: e.g. "_GetUsbHidObj@0"; empty when none
    std::uint16_t machine = 0;   // the image's machine field
    std::uint32_t systemError = 0;
};

// Judges the bytes of a library file for a program built for programMachine that looks up
// factory in it. dependencyPresent tells whether a library named in its import table can be
// found where the system would look for it.
LibraryDiagnosis JudgeLibraryImage(
    const std::wstring& library, std::span<const std::uint8_t> file, std::uint16_t programMachine,
    const std::string& factory, const std::function<bool(const std::string&)>& dependencyPresent);
