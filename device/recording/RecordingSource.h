#pragma once
// A recording file opened for reading, as the window's review of a recording and
// palvex-capture's --from open it: in binary mode, so that the reader sees the file's own line
// ends, with the file's size for the progress of a load.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

struct RecordingSource {
    std::unique_ptr<std::FILE, FileCloser> file;  // null when the file could not be opened
    std::uint64_t size = 0;                       // 0 when unknown
    int error = 0;                                // errno of a failed open
};

RecordingSource OpenRecordingSource(const std::filesystem::path& path);
