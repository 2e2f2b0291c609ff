#include "device/ExportLineWriter.h"

#include <algorithm>
#include <cstring>
#include <utility>

ExportLineWriter::ExportLineWriter(Sink sink) : sink_(std::move(sink)) {
    buffer_.resize(kWritePiece);
}

ExportLineWriter::Sink ExportLineWriter::FileSink(std::FILE* file) {
    return [file](std::string_view piece) {
        return std::fwrite(piece.data(), 1, piece.size(), file) == piece.size();
    };
}

bool ExportLineWriter::WriteText(std::string_view text) {
    if (buffer_.size() - used_ < text.size()) {
        buffer_.resize(used_ + text.size());
    }
    std::memcpy(buffer_.data() + used_, text.data(), text.size());
    used_ += text.size();
    return used_ < kWritePiece || WritePending();
}

void ExportLineWriter::BeginLine(std::size_t fields) {
    const std::size_t room = fields * (kMaxFieldLength + 1) + 1;
    if (buffer_.size() - used_ < room) {
        buffer_.resize(used_ + room);
    }
    out_ = buffer_.data() + used_;
}

bool ExportLineWriter::EndLine() {
    *out_++ = '\n';
    used_ = static_cast<std::size_t>(out_ - buffer_.data());
    return used_ < kWritePiece || WritePending();
}

bool ExportLineWriter::Flush() {
    return WritePending();
}

bool ExportLineWriter::WritePending() {
    if (!failed_ && used_ > 0) {
        failed_ = !sink_(std::string_view(buffer_.data(), used_));
    }
    used_ = 0;
    return !failed_;
}
