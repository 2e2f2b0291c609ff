#include "device/FileReplacement.h"

#include "device/FilePaths.h"

DWORD LastErrorOr(DWORD fallback) {
    const DWORD error = ::GetLastError();
    return error != ERROR_SUCCESS ? error : fallback;
}

namespace {

// The folder that the temporary file goes into: the target's, or the current one for a bare
// file name.
std::wstring TargetFolder(const std::wstring& target) {
    const std::wstring folder = FolderOf(target);
    return folder.empty() ? std::wstring(L".") : folder;
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES ||
           ::GetLastError() != ERROR_FILE_NOT_FOUND;
}

// What the C runtime wrote and closed may still sit in the system's cache; a power cut after
// the rename would then leave an empty or partial file under the target's name.
DWORD FlushToDisk(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return LastErrorOr(ERROR_WRITE_FAULT);
    }
    const DWORD error = ::FlushFileBuffers(file) ? ERROR_SUCCESS : LastErrorOr(ERROR_WRITE_FAULT);
    ::CloseHandle(file);
    return error;
}

// Without a backup name a replacement that fails half-way may leave the target removed; with
// one, the old file is either still the target or stands under the backup name.
// (Wine's ReplaceFileW also fails outright without one.)
DWORD ReplaceExisting(const std::wstring& target, const std::wstring& replacement) {
    const std::wstring backup = replacement + L".old";
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (::ReplaceFileW(target.c_str(), replacement.c_str(), backup.c_str(),
                       REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        ::DeleteFileW(backup.c_str());
        // Windows carries the attributes over itself; Wine's ReplaceFileW does not.
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            ::GetFileAttributesW(target.c_str()) != attributes) {
            ::SetFileAttributesW(target.c_str(), attributes);
        }
        return ERROR_SUCCESS;
    }
    const DWORD error = LastErrorOr(ERROR_WRITE_FAULT);
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        ::MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    }
    return error;
}

}  // namespace

ReplacementFile::ReplacementFile(std::wstring target) : target_(std::move(target)) {
    wchar_t name[MAX_PATH] = {};
    if (::GetTempFileNameW(TargetFolder(target_).c_str(), L"pvx", 0, name) != 0) {
        path_ = name;
    }
}

ReplacementFile::~ReplacementFile() {
    if (!path_.empty()) {
        ::DeleteFileW(path_.c_str());
    }
}

DWORD ReplacementFile::Commit() {
    if (path_.empty()) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (const DWORD error = FlushToDisk(path_)) {
        return error;
    }
    if (Exists(target_)) {
        if (const DWORD error = ReplaceExisting(target_, path_)) {
            return error;
        }
    } else if (!::MoveFileExW(path_.c_str(), target_.c_str(), MOVEFILE_WRITE_THROUGH)) {
        return LastErrorOr(ERROR_WRITE_FAULT);
    }
    path_.clear();
    return ERROR_SUCCESS;
}
