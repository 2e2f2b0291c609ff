#pragma once
// A file that is written under a temporary name beside its target and takes the target's place
// only once it is complete, so that a write that fails half-way, or a program that never gets
// to the end, leaves an existing file as it was.

#include <windows.h>

#include <string>

// The thread's last error code, or fallback when a failed call left none.
DWORD LastErrorOr(DWORD fallback);

class ReplacementFile {
  public:
    // Creates the empty temporary file in the target's folder; Created() tells whether it could.
    explicit ReplacementFile(std::wstring target);
    // Removes the temporary file unless it became the target.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    bool Created() const { return !path_.empty(); }
    // The temporary file, to be written and closed before Commit.
    const std::wstring& Path() const { return path_; }

    // Flushes the written file to the disk and puts it in the target's place. An existing
    // target is replaced so that it keeps its security and attributes. Returns ERROR_SUCCESS,
    // or the system's error code with the target as it was.
    DWORD Commit();

  private:
    std::wstring target_;
    std::wstring path_;
};
