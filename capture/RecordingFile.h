#pragma once
// Streams a recording into a file in the format of Palvex's "导出数据", frame by frame, so that
// a capture of any length needs no more memory than one block of lines. The lines go to a
// temporary file beside the target, which takes the target's place only when the recording
// is closed with at least one frame: an earlier file of that name survives a capture that
// records nothing or fails on the way. A recording that is complete but cannot take the
// target's place is kept under its temporary name.

#include <cstdint>
#include <optional>
#include <string>

#include "device/recording/RecordingLineWriter.h"
#include "device/recording/FileReplacement.h"

class RecordingFile {
  public:
    // Creates the temporary file for path. False with Error() when it cannot.
    bool Open(const std::wstring& path);
    // The header line for channels 0 to channels - 1.
    bool WriteHeader(std::uint32_t channels);
    // One line: the next row number, then 4 values per channel in quantity order.
    bool WriteRow(const std::int32_t* values, std::uint32_t channels);
    // Writes what is pending and, when the file holds a frame, puts it in the target's place;
    // false when anything failed on the way. Without a frame the target stays as it was. A
    // recording never closed leaves the target alone too.
    bool Close();
    std::int64_t Rows() const { return rows_; }

    // What went wrong, as a sentence fragment ("cannot be written: <the system's reason>").
    const std::string& Error() const { return error_; }
    // Where the complete recording stayed when it could not replace the target; else empty.
    const std::wstring& KeptPath() const { return kept_; }

  private:
    bool Fail(const std::string& what, DWORD error);

    std::optional<ReplacementFile> replacement_;
    std::optional<RecordingLineWriter> lines_;
    std::int64_t rows_ = 0;
    std::string error_;
    std::wstring kept_;
};
