#include "capture/RecordingFile.h"

#include "device/recording/RecordingFormat.h"
#include "device/recording/RecordingHeader.h"
#include "device/recording/SystemError.h"
#include "device/store/SampleQuantity.h"

bool RecordingFile::Fail(const std::string& what, DWORD error) {
    if (error_.empty()) {
        error_ = what + ": " + SystemErrorText(error);
    }
    return false;
}

bool RecordingFile::Open(const std::wstring& path) {
    replacement_.emplace(path);
    if (const DWORD error = replacement_->Open()) {
        return Fail("cannot be created", error);
    }
    lines_.emplace([this](std::string_view piece) {
        const DWORD error = replacement_->Write(piece);
        return error == ERROR_SUCCESS || Fail("cannot be written", error);
    });
    return true;
}

bool RecordingFile::WriteHeader(std::uint32_t channels) {
    return lines_->WriteText(RecordingHeaderBytes(NumberedChannels(channels))) && lines_->Flush();
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
    if (!lines_ || !lines_->Flush()) {
        return false;
    }
    if (rows_ == 0) {
        return true;
    }
    if (const DWORD error = replacement_->Commit()) {
        kept_ = replacement_->Keep();
        return Fail(kept_.empty() ? "cannot be written" : "cannot be replaced", error);
    }
    return true;
}
