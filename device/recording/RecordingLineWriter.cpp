#include "device/recording/RecordingLineWriter.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <utility>

namespace {
// "00", "01", ... "99".
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// "-2147483648,", the longest 32-bit field with its comma.
constexpr std::size_t kMaxInt32Field = 12;

// Writes value and its comma so that they end just before end, two digits at a time from the
// last; returns where they begin. Written backward, a field needs no digit count.
char* WriteFieldBefore(std::int32_t value, char* end) {
    char* at = end;
    *--at = ',';
    // Negated as unsigned: -2147483648 has no positive int32.
    std::uint32_t rest =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    while (rest >= 100) {
        at -= 2;
        std::memcpy(at, kDigitPairs + 2 * (rest % 100), 2);
        rest /= 100;
    }
    if (rest >= 10) {
        at -= 2;
        std::memcpy(at, kDigitPairs + 2 * rest, 2);
    } else {
        *--at = static_cast<char>('0' + rest);
    }
    // The sign without a branch: its place is kept only for a negative value.
    *--at = '-';
    return at + (value < 0 ? 0 : 1);
}
}  // namespace

RecordingLineWriter::RecordingLineWriter(Sink sink) : sink_(std::move(sink)) {
    buffer_.resize(kWritePiece);
}

RecordingLineWriter::Sink RecordingLineWriter::FileSink(std::FILE* file) {
    return [file](std::string_view piece) {
        return std::fwrite(piece.data(), 1, piece.size(), file) == piece.size();
    };
}

bool RecordingLineWriter::WriteText(std::string_view text) {
    if (buffer_.size() - used_ < text.size()) {
        buffer_.resize(used_ + text.size());
    }
    std::memcpy(buffer_.data() + used_, text.data(), text.size());
    used_ += text.size();
    return used_ < kWritePiece || WritePending();
}

void RecordingLineWriter::BeginLine(std::size_t fields) {
    const std::size_t room = fields * (kMaxFieldLength + 1) + 2;
    if (buffer_.size() - used_ < room) {
        buffer_.resize(used_ + room);
    }
    out_ = buffer_.data() + used_;
}

void RecordingLineWriter::Fields(const std::int32_t* values, std::size_t count,
                                 std::size_t stride) {
    // The fields are written last to first at the far end of the room that BeginLine made,
    // then moved to where the line continues: a few hundred bytes moved per line cost less
    // than counting the digits of every field.
    char* const end = out_ + count * kMaxInt32Field;
    assert(end <= buffer_.data() + buffer_.size());
    char* at = end;
    for (std::size_t i = count; i-- > 0;) {
        at = WriteFieldBefore(values[i * stride], at);
    }
    const auto length = static_cast<std::size_t>(end - at);
    std::memmove(out_, at, length);
    out_ += length;
}

bool RecordingLineWriter::EndLine() {
    *out_++ = '\r';
    *out_++ = '\n';
    used_ = static_cast<std::size_t>(out_ - buffer_.data());
    return used_ < kWritePiece || WritePending();
}

bool RecordingLineWriter::Flush() {
    return WritePending();
}

bool RecordingLineWriter::WritePending() {
    if (!failed_ && used_ > 0) {
        failed_ = !sink_(std::string_view(buffer_.data(), used_));
    }
    used_ = 0;
    return !failed_;
}
