#include "device/connection/LibraryCheck.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "device/paths/FilePaths.h"

namespace {

// Larger than any transport or request library; a file beyond it is not read whole.
constexpr DWORD kMaxLibraryBytes = 64u << 20;

// The processor this program is built for, from its own image's header.
std::uint16_t ProgramMachine() {
    const auto* base = reinterpret_cast<const BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    return nt->FileHeader.Machine;
}

std::wstring SystemFolder() {
    wchar_t path[MAX_PATH];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Reads the whole file; false with the system's error code.
bool ReadWhole(const std::wstring& path, std::vector<std::uint8_t>& bytes, DWORD& error) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return false;
    }
    LARGE_INTEGER size{};
    bool read = GetFileSizeEx(file, &size) != FALSE;
    if (read) {
        bytes.resize(static_cast<std::size_t>(std::min<LONGLONG>(size.QuadPart, kMaxLibraryBytes)));
        DWORD got = 0;
        read = bytes.empty() ||
               (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                got == bytes.size());
    }
    error = read ? 0 : GetLastError();
    CloseHandle(file);
    return read;
}

}  // namespace

LibraryDiagnosis DiagnoseLibrary(const std::wstring& folder, const std::wstring& name,
                                 const std::string& factory) {
    const std::wstring path = InFolder(folder, name);
    LibraryDiagnosis diagnosis;
    diagnosis.library = name;
    diagnosis.factory = std::wstring(factory.begin(), factory.end());
    if (!FileExists(path)) {
        diagnosis.problem = LibraryProblem::NotInFolder;
        return diagnosis;
    }
    std::vector<std::uint8_t> bytes;
    DWORD error = 0;
    if (!ReadWhole(path, bytes, error)) {
        diagnosis.problem = LibraryProblem::Unreadable;
        diagnosis.systemError = error;
        return diagnosis;
    }
    const std::wstring systemFolder = SystemFolder();
    // Where the device connection lets the loader look: beside the library, the system folder,
    // and whatever the process has loaded already.
    auto present = [&](const std::string& dependency) {
        const std::wstring wide(dependency.begin(), dependency.end());
        return GetModuleHandleW(wide.c_str()) != nullptr || FileExists(InFolder(folder, wide)) ||
               (!systemFolder.empty() && FileExists(InFolder(systemFolder, wide)));
    };
    diagnosis = JudgeLibraryImage(name, bytes, ProgramMachine(), factory, present);
    if (diagnosis.problem != LibraryProblem::None) {
        return diagnosis;
    }
    // Nothing in the file speaks against it: the loader's own reason, such as a library that
    // fails its initialisation.
    const HMODULE library = LoadLibraryExW(
        path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library == nullptr) {
        diagnosis.problem = LibraryProblem::DoesNotLoad;
        diagnosis.systemError = GetLastError();
    } else {
        FreeLibrary(library);
    }
    return diagnosis;
}
