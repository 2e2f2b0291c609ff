#include "device/recording/FileIdentity.h"

#include <windows.h>

#include <optional>

#include "device/paths/FilePaths.h"

namespace {

// What tells one existing file or folder from every other.
struct Identity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    std::wstring finalPath;  // empty when the system cannot tell it
};

bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool SameIdentity(const Identity& a, const Identity& b) {
    const bool indexed = a.indexHigh != 0 || a.indexLow != 0;
    return (indexed && a.volume == b.volume && a.indexHigh == b.indexHigh &&
            a.indexLow == b.indexLow) ||
           (!a.finalPath.empty() && EqualIgnoringCase(a.finalPath, b.finalPath));
}

// Opened for nothing but its attributes, sharing everything, so that a file held open by
// another program, or a folder, can be asked too.
std::optional<Identity> IdentityOf(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    Identity identity;
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileInformationByHandle(file, &info)) {
        identity.volume = info.dwVolumeSerialNumber;
        identity.indexHigh = info.nFileIndexHigh;
        identity.indexLow = info.nFileIndexLow;
    }
    wchar_t name[MAX_PATH * 4] = {};
    const DWORD length = ::GetFinalPathNameByHandleW(file, name, MAX_PATH * 4, 0);
    if (length > 0 && length < MAX_PATH * 4) {
        identity.finalPath.assign(name, length);
    }
    ::CloseHandle(file);
    return identity;
}

// The absolute name as the system makes it: relative to the current folder, "." and ".."
// resolved, trailing dots and blanks of the last part dropped.
std::wstring FullName(const std::wstring& path) {
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    full.resize(length < needed ? length : 0);
    return full.empty() ? path : full;
}

}  // namespace

bool NameTheSameFile(const std::wstring& a, const std::wstring& b) {
    const std::optional<Identity> fileA = IdentityOf(a);
    const std::optional<Identity> fileB = IdentityOf(b);
    if (fileA || fileB) {
        return fileA && fileB && SameIdentity(*fileA, *fileB);
    }
    // Neither exists yet: one file to be when their folders are one and the names match.
    const std::wstring fullA = FullName(a);
    const std::wstring fullB = FullName(b);
    const std::wstring folderA = FolderOf(fullA);
    const std::wstring folderB = FolderOf(fullB);
    if (!EqualIgnoringCase(fullA.substr(folderA.size()), fullB.substr(folderB.size()))) {
        return false;
    }
    const std::optional<Identity> inA = IdentityOf(folderA);
    const std::optional<Identity> inB = IdentityOf(folderB);
    return inA && inB ? SameIdentity(*inA, *inB) : EqualIgnoringCase(folderA, folderB);
}
