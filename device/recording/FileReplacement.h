#pragma once
// A file that is written under a temporary name beside its target and takes the target's place
// only once it is complete, so that a write that fails half-way (a full disk, a lost network
// share), or a program that never gets to the end, leaves an existing file as it was.
//
// The bytes go straight to WriteFile, every call checked, and the file is flushed to the disk
// before it replaces the target: the C runtime's buffered streams may report a successful close
// after their own last flush failed, which would put an empty or cut file in the target's place.

#include <windows.h>

#include <string>
#include <string_view>

// Windows' code for an operation that a folder does not support; older headers lack it.
#ifndef ERROR_DIRECTORY_NOT_SUPPORTED
#define ERROR_DIRECTORY_NOT_SUPPORTED 336L
#endif

// Why target cannot be replaced now, before anything is written: a folder
// (ERROR_DIRECTORY_NOT_SUPPORTED), read-only (ERROR_ACCESS_DENIED), held open by a program that
// lets nobody else write or remove it (ERROR_SHARING_VIOLATION), or in a folder that does not
// exist (ERROR_PATH_NOT_FOUND). ERROR_SUCCESS for a file that can be replaced and for a name
// that no file has yet.
DWORD ReplacementRefusal(const std::wstring& target);

// How the bytes reach the file: WriteFile, or in tests a stand-in that fails.
using FileWriteCall = BOOL(WINAPI*)(HANDLE file, LPCVOID bytes, DWORD count, LPDWORD written,
                                    LPOVERLAPPED overlapped);

class ReplacementFile {
  public:
    explicit ReplacementFile(std::wstring target, FileWriteCall write = &::WriteFile);
    // Removes the temporary file unless it became the target or was kept.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Creates the empty temporary file in the target's folder after checking the target
    // (ReplacementRefusal). Returns ERROR_SUCCESS or the system's error code.
    DWORD Open();
    // Appends bytes. After a failure nothing more is written and every call returns its code.
    DWORD Write(std::string_view bytes);
    // Flushes the written file to the disk and puts it in the target's place. An existing
    // target is replaced so that it keeps its security and attributes. Returns ERROR_SUCCESS,
    // or the system's error code with the target as it was.
    DWORD Commit();
    // After a Commit that wrote and flushed everything but could not replace the target: leaves
    // the written file under its temporary name, which it returns, for the caller to tell where
    // the work went. Empty when there is no complete file to keep.
    std::wstring Keep();

    // The temporary file while it is written.
    const std::wstring& Path() const { return path_; }
    // The first error of Open, Write or Commit; ERROR_SUCCESS while there was none.
    DWORD Error() const { return error_; }

  private:
    DWORD Fail(DWORD error);
    DWORD Close();

    std::wstring target_;
    FileWriteCall write_;
    std::wstring path_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    DWORD error_ = ERROR_SUCCESS;
    bool complete_ = false;  // written, flushed and closed
};
