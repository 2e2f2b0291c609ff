#include "capture/LogFile.h"

#include <windows.h>

#include <algorithm>

#include "device/recording/FileReplacement.h"
#include "device/recording/SystemError.h"

namespace {

// Stations lock one byte far beyond any real log's end: a lock on the file's data would keep
// readers of the log (a spreadsheet, a script) waiting too.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

class FileLock {
  public:
    explicit FileLock(HANDLE file) : file_(file) {
        overlapped_.OffsetHigh = kLockOffsetHigh;
        locked_ = ::LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &overlapped_) != FALSE;
    }
    ~FileLock() {
        if (locked_) {
            ::UnlockFileEx(file_, 0, 1, 0, &overlapped_);
        }
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Locked() const { return locked_; }

  private:
    HANDLE file_;
    OVERLAPPED overlapped_{};
    bool locked_ = false;
};

// Reads up to count bytes at offset; false when the read fails.
bool ReadAt(HANDLE file, std::uint64_t offset, std::size_t count, std::string& bytes) {
    bytes.assign(count, '\0');
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    if (!::ReadFile(file, bytes.data(), static_cast<DWORD>(count), &read, &at)) {
        return false;
    }
    bytes.resize(read);
    return true;
}

// What goes at the end of a log of size bytes: the newest header into an empty one, a line
// end after a last line that lacks it, then the records for the log's header. False with error
// set for a file that is not the log.
bool WhatToAppend(HANDLE file, std::uint64_t size, const std::vector<std::string>& headers,
                  const std::function<std::string(std::size_t)>& recordsFor, std::string& whole,
                  std::string& error) {
    if (size == 0) {
        const std::string records = recordsFor(0);
        whole = records.empty() ? std::string() : headers.front() + records;
        return true;
    }
    std::size_t longest = 0;
    for (const std::string& header : headers) {
        longest = std::max(longest, header.size());
    }
    std::string first;
    std::string last;
    if (!ReadAt(file, 0, longest, first) || !ReadAt(file, size - 1, 1, last)) {
        error = "cannot be read: " + SystemErrorText(FailedCallError(ERROR_READ_FAULT));
        return false;
    }
    std::size_t edition = 0;
    while (edition < headers.size() && !first.starts_with(headers[edition])) {
        ++edition;
    }
    if (edition == headers.size()) {
        error =
            "is not a production log of palvex-capture (its first line is not the log's "
            "header): nothing was appended";
        return false;
    }
    const std::string records = recordsFor(edition);
    whole = (last == "\n" || records.empty() ? std::string() : std::string("\r\n")) + records;
    return true;
}

}  // namespace

bool AppendToLog(const std::wstring& path, const std::vector<std::string>& headers,
                 const std::function<std::string(std::size_t header)>& recordsFor,
                 std::string& error) {
    // Append access without write access: every write lands at the file's end, whatever the
    // other stations did meanwhile. Read access is what the lock and the checks need.
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot be opened for appending: " + SystemErrorText(::GetLastError());
        return false;
    }
    bool appended = false;
    {
        const FileLock lock(file);
        LARGE_INTEGER size{};
        std::string whole;
        if (!lock.Locked()) {
            error = "cannot be locked: " + SystemErrorText(::GetLastError());
        } else if (!::GetFileSizeEx(file, &size)) {
            error = "cannot be read: " + SystemErrorText(::GetLastError());
        } else if (WhatToAppend(file, static_cast<std::uint64_t>(size.QuadPart), headers,
                                recordsFor, whole, error)) {
            DWORD written = 0;
            appended =
                whole.empty() || (::WriteFile(file, whole.data(), static_cast<DWORD>(whole.size()),
                                              &written, nullptr) &&
                                  written == whole.size());
            if (!appended) {
                error = "cannot be written: " + SystemErrorText(FailedCallError(ERROR_WRITE_FAULT));
            }
        }
    }
    appended = ::CloseHandle(file) && appended;
    return appended;
}
