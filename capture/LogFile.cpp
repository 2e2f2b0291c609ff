#include "capture/LogFile.h"

#include <windows.h>

namespace {

// Stations lock one byte far beyond any real log's end: a lock on the file's data would keep
// readers of the log (a spreadsheet, a script) waiting too.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

std::string SystemMessage(DWORD code) {
    return "error " + std::to_string(code);
}

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

}  // namespace

bool AppendToLog(const std::wstring& path, const std::string& header, const std::string& records,
                 std::string& error) {
    // Append access without write access: every write lands at the file's end, whatever the
    // other stations did meanwhile. Read access is what the lock needs.
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot be opened for appending: " + SystemMessage(::GetLastError());
        return false;
    }
    bool appended = false;
    {
        const FileLock lock(file);
        LARGE_INTEGER size{};
        if (!lock.Locked()) {
            error = "cannot be locked: " + SystemMessage(::GetLastError());
        } else if (!::GetFileSizeEx(file, &size)) {
            error = "cannot be read: " + SystemMessage(::GetLastError());
        } else {
            const std::string whole = (size.QuadPart == 0 ? header : std::string()) + records;
            DWORD written = 0;
            appended = ::WriteFile(file, whole.data(), static_cast<DWORD>(whole.size()), &written,
                                   nullptr) &&
                       written == whole.size();
            if (!appended) {
                error = "cannot be written: " + SystemMessage(::GetLastError());
            }
        }
    }
    appended = ::CloseHandle(file) && appended;
    return appended;
}
