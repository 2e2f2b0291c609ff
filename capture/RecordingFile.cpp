#include "capture/RecordingFile.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "device/ActiveCodePage.h"
#include "device/ExportFormat.h"
#include "device/SampleQuantity.h"

namespace {
std::string SystemError(DWORD code) {
    return " (system error " + std::to_string(code) + ")";
}
}  // namespace

RecordingFile::~RecordingFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool RecordingFile::Fail(const std::string& what) {
    if (error_.empty()) {
        error_ = what + (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string());
    }
    return false;
}

bool RecordingFile::Open(const std::wstring& path) {
    errno = 0;
    replacement_.emplace(path);
    if (!replacement_->Created()) {
        return Fail("cannot be created" + SystemError(::GetLastError()));
    }
    file_ = ::_wfopen(replacement_->Path().c_str(), L"wb");
    if (file_ == nullptr) {
        return Fail("cannot be created");
    }
    lines_.emplace([this](std::string_view piece) {
        errno = 0;
        return std::fwrite(piece.data(), 1, piece.size(), file_) == piece.size() ||
               Fail("cannot be written");
    });
    return true;
}

bool RecordingFile::WriteHeader(std::uint32_t channels) {
    std::vector<std::uint32_t> numbers;
    for (std::uint32_t channel = 0; channel < channels; ++channel) {
        numbers.push_back(channel);
    }
    return lines_->WriteText(ToActiveCodePage(CsvHeaderText(DataTableTitles(numbers)))) &&
           lines_->Flush();
}

bool RecordingFile::WriteRow(const std::int32_t* values, std::uint32_t channels) {
    const std::size_t fields = std::size_t{channels} * kSampleQuantityCount;
    lines_->BeginLine(1 + fields);
    lines_->Field(++rows_);
    for (std::size_t i = 0; i < fields; ++i) {
        lines_->Field(values[i]);
    }
    return lines_->EndLine();
}

bool RecordingFile::Close() {
    if (file_ == nullptr) {
        return false;
    }
    bool written =
        lines_->Flush() && (errno = 0, std::fflush(file_) == 0 || Fail("cannot be written"));
    errno = 0;
    bool closed = std::fclose(file_) == 0 || Fail("cannot be closed");
    file_ = nullptr;
    if (!written || !closed || rows_ == 0) {
        return written && closed;
    }
    const DWORD error = replacement_->Commit();
    errno = 0;
    return error == ERROR_SUCCESS || Fail("cannot be replaced" + SystemError(error));
}
