#include "capture/RecordingFile.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "app/ExportFormat.h"
#include "device/SampleQuantity.h"

namespace {
// Lines are gathered into pieces of about this size before they go to the file.
constexpr std::size_t kWritePiece = 1 << 20;

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
    file_ = ::_wfopen(replacement_->Path().c_str(), L"wt");
    return file_ != nullptr || Fail("cannot be created");
}

bool RecordingFile::WriteHeader(std::uint32_t channels) {
    std::vector<std::uint32_t> numbers;
    for (std::uint32_t channel = 0; channel < channels; ++channel) {
        numbers.push_back(channel);
    }
    pending_ += CsvHeaderLine(DataTableTitles(numbers));
    return Flush();
}

bool RecordingFile::WriteRow(const std::int32_t* values, std::uint32_t channels) {
    AppendCsvField(++rows_, pending_);
    for (std::size_t i = 0; i < channels * kSampleQuantityCount; ++i) {
        AppendCsvField(values[i], pending_);
    }
    pending_ += '\n';
    return pending_.size() < kWritePiece || Flush();
}

bool RecordingFile::Flush() {
    errno = 0;
    if (std::fwrite(pending_.data(), 1, pending_.size(), file_) != pending_.size()) {
        return Fail("cannot be written");
    }
    pending_.clear();
    return true;
}

bool RecordingFile::Close() {
    if (file_ == nullptr) {
        return false;
    }
    bool written = Flush() && (errno = 0, std::fflush(file_) == 0 || Fail("cannot be written"));
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
