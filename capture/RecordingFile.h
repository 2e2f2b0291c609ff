#pragma once
// Streams a recording into a file in the format of Palvex's "导出数据", frame by frame, so that
// a capture of any length needs no more memory than one block of lines.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

class RecordingFile {
  public:
    RecordingFile() = default;
    ~RecordingFile();
    RecordingFile(const RecordingFile&) = delete;
    RecordingFile& operator=(const RecordingFile&) = delete;

    // Creates or replaces the file, in text mode. False with Error() when it cannot.
    bool Open(const std::wstring& path);
    // The header line for channels 0 to channels - 1.
    bool WriteHeader(std::uint32_t channels);
    // One line: the next row number, then 4 values per channel in quantity order.
    bool WriteRow(const std::int32_t* values, std::uint32_t channels);
    // Writes what is pending and closes the file; false when anything failed on the way.
    bool Close();

    // What went wrong, as a sentence fragment ("cannot be created: ...").
    const std::string& Error() const { return error_; }

  private:
    bool Flush();
    bool Fail(const std::string& what);

    std::FILE* file_ = nullptr;
    std::string pending_;
    std::int64_t rows_ = 0;
    std::string error_;
};
