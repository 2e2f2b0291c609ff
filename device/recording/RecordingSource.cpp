#include "device/recording/RecordingSource.h"

#include <cerrno>
#include <system_error>

RecordingSource OpenRecordingSource(const std::filesystem::path& path) {
    RecordingSource source;
    errno = 0;
#ifdef _WIN32
    // Names in any script: the wide path, not the ANSI code page's.
    source.file.reset(::_wfopen(path.c_str(), L"rb"));
#else
    source.file.reset(std::fopen(path.c_str(), "rb"));
#endif
    if (source.file == nullptr) {
        source.error = errno;
        return source;
    }
    std::error_code unknown;
    const std::uintmax_t size = std::filesystem::file_size(path, unknown);
    source.size = unknown ? 0 : size;
    return source;
}
