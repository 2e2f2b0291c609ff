#include "device/recording/FileReplacement.h"

#include "device/recording/SystemError.h"
#include "device/paths/FilePaths.h"

#include <algorithm>

namespace {

// The folder that the temporary file goes into: the target's, or the current one for a bare
// file name.
std::wstring TargetFolder(const std::wstring& target) {
    const std::wstring folder = FolderOf(target);
    return folder.empty() ? std::wstring(L".") : folder;
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
    const DWORD error = FailedCallError(ERROR_WRITE_FAULT);
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        ::MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    }
    return error;
}

}  // namespace

DWORD ReplacementRefusal(const std::wstring& target) {
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = FailedCallError(ERROR_FILE_NOT_FOUND);
        if (error != ERROR_FILE_NOT_FOUND) {
            return error;
        }
        const DWORD folder = ::GetFileAttributesW(TargetFolder(target).c_str());
        return folder != INVALID_FILE_ATTRIBUTES && (folder & FILE_ATTRIBUTE_DIRECTORY) != 0
                   ? ERROR_SUCCESS
                   : ERROR_PATH_NOT_FOUND;
    }
    // Replacing a folder would move it aside under the temporary file's name.
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return ERROR_DIRECTORY_NOT_SUPPORTED;
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return ERROR_ACCESS_DENIED;
    }
    // The replacement writes and removes the old file; a program holding it open without
    // sharing both (a spreadsheet showing it) would make the replacement fail at the end.
    HANDLE file = ::CreateFileW(target.c_str(), GENERIC_WRITE | DELETE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return FailedCallError(ERROR_ACCESS_DENIED);
    }
    ::CloseHandle(file);
    return ERROR_SUCCESS;
}

ReplacementFile::ReplacementFile(std::wstring target, FileWriteCall write)
    : target_(std::move(target)), write_(write) {}

ReplacementFile::~ReplacementFile() {
    Close();
    if (!path_.empty()) {
        ::DeleteFileW(path_.c_str());
    }
}

DWORD ReplacementFile::Fail(DWORD error) {
    if (error_ == ERROR_SUCCESS) {
        error_ = error;
    }
    return error_;
}

DWORD ReplacementFile::Close() {
    if (file_ == INVALID_HANDLE_VALUE) {
        return ERROR_SUCCESS;
    }
    const BOOL closed = ::CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    return closed ? ERROR_SUCCESS : FailedCallError(ERROR_WRITE_FAULT);
}

DWORD ReplacementFile::Open() {
    if (const DWORD refusal = ReplacementRefusal(target_)) {
        return Fail(refusal);
    }
    wchar_t name[MAX_PATH] = {};
    if (::GetTempFileNameW(TargetFolder(target_).c_str(), L"pvx", 0, name) == 0) {
        return Fail(FailedCallError(ERROR_CANNOT_MAKE));
    }
    path_ = name;
    file_ = ::CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, TRUNCATE_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    return file_ == INVALID_HANDLE_VALUE ? Fail(FailedCallError(ERROR_OPEN_FAILED)) : ERROR_SUCCESS;
}

DWORD ReplacementFile::Write(std::string_view bytes) {
    if (error_ != ERROR_SUCCESS) {
        return error_;
    }
    if (file_ == INVALID_HANDLE_VALUE) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    // A call may write less than it was given (a disk that fills up on the way): the rest goes
    // in the next call, which then reports why it cannot.
    while (!bytes.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        ::SetLastError(ERROR_SUCCESS);
        if (!write_(file_, bytes.data(), piece, &written, nullptr)) {
            return Fail(FailedCallError(ERROR_WRITE_FAULT));
        }
        if (written == 0) {
            return Fail(FailedCallError(ERROR_DISK_FULL));
        }
        bytes.remove_prefix(written);
    }
    return ERROR_SUCCESS;
}

DWORD ReplacementFile::Commit() {
    if (file_ == INVALID_HANDLE_VALUE) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    // What was written may still sit in the system's cache; a power cut after the rename would
    // then leave an empty or partial file under the target's name.
    if (error_ == ERROR_SUCCESS && !::FlushFileBuffers(file_)) {
        Fail(FailedCallError(ERROR_WRITE_FAULT));
    }
    if (const DWORD closed = Close()) {
        Fail(closed);
    }
    if (error_ != ERROR_SUCCESS) {
        return error_;
    }
    complete_ = true;
    if (const DWORD refusal = ReplacementRefusal(target_)) {
        return Fail(refusal);
    }
    if (::GetFileAttributesW(target_.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (const DWORD error = ReplaceExisting(target_, path_)) {
            return Fail(error);
        }
    } else if (!::MoveFileExW(path_.c_str(), target_.c_str(), MOVEFILE_WRITE_THROUGH)) {
        return Fail(FailedCallError(ERROR_WRITE_FAULT));
    }
    path_.clear();
    return ERROR_SUCCESS;
}

std::wstring ReplacementFile::Keep() {
    if (!complete_ || path_.empty()) {
        return {};
    }
    std::wstring kept;
    kept.swap(path_);
    wchar_t full[MAX_PATH] = {};
    const DWORD length = ::GetFullPathNameW(kept.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::wstring(full, length) : kept;
}
