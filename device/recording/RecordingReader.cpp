#include "device/recording/RecordingReader.h"

#include "device/store/SampleQuantity.h"
#include "device/store/TouchSampleStore.h"

#include <charconv>
#include <cstring>

namespace {
constexpr std::size_t kBlockSize = 1 << 20;
// A 32-channel line is under 1 KB; anything far longer is not Palvex's.
constexpr std::size_t kMaxLineLength = 64 * 1024;

// Splits a line whose every field is followed by a comma. False when it does not end in one.
bool SplitFields(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    while (!line.empty()) {
        std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) {
            return false;
        }
        fields.push_back(line.substr(0, comma));
        line.remove_prefix(comma + 1);
    }
    return true;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && first != last;
}

// Each quantity's legal range, in the order the columns come.
struct Range {
    std::int32_t low;
    std::int32_t high;
    const char* name;
};
constexpr Range kQuantityRanges[kSampleQuantityCount] = {
    {0, 65535, "baseline"},
    {0, 65535, "filtered"},
    {kMinDifference, kMaxDifference, "difference"},
    {0, 65535, "noise"},
};

// Parses a well-formed data line of fields fields into row; false at the first thing amiss,
// which the careful parse then names. Each number is read where it stands and must be
// followed by its comma, so every byte of the line is looked at once: a window reading a
// recording runs this for some hundred million fields.
bool ParseWellFormedLine(std::string_view line, std::size_t fields, RecordingRow& row) {
    const char* at = line.data();
    const char* const end = at + line.size();
    const auto number = [&at, end](auto& value) {
        const auto [after, error] = std::from_chars(at, end, value);
        if (error != std::errc() || after == at || after == end || *after != ',') {
            return false;
        }
        at = after + 1;
        return true;
    };
    if (!number(row.rowNumber)) {
        return false;
    }
    std::int32_t* value = row.values.data();
    for (std::size_t channel = 0; channel < (fields - 1) / kSampleQuantityCount; ++channel) {
        for (const Range& range : kQuantityRanges) {
            if (!number(*value) || *value < range.low || *value > range.high) {
                return false;
            }
            ++value;
        }
    }
    return at == end;
}
}  // namespace

RecordingReader::RecordingReader(std::FILE* file, std::string name)
    : file_(file), name_(std::move(name)), buffer_(kBlockSize) {}

bool RecordingReader::Fail(const std::string& what) {
    error_ = name_ + ", line " + std::to_string(lineNumber_) + ": " + what;
    return false;
}

bool RecordingReader::Refill() {
    if (endOfFile_) {
        return false;
    }
    // Keep the unread tail of the block at the front and read behind it. The tail is one
    // partial line, shorter than kMaxLineLength, so there is always room behind it.
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    std::size_t read = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
    end_ += read;
    bytesRead_ += read;
    if (read == 0) {
        endOfFile_ = true;
        if (std::ferror(file_) != 0) {
            error_ = name_ + ": cannot be read";
        }
    }
    return read > 0;
}

bool RecordingReader::NextLine(std::string_view& line) {
    std::size_t scanned = begin_;
    while (true) {
        const void* found = std::memchr(buffer_.data() + scanned, '\n', end_ - scanned);
        if (found != nullptr) {
            std::size_t newline = static_cast<const char*>(found) - buffer_.data();
            std::size_t length = newline - begin_;
            if (length > 0 && buffer_[newline - 1] == '\r') {
                --length;
            }
            line = std::string_view(buffer_.data() + begin_, length);
            begin_ = newline + 1;
            ++lineNumber_;
            return true;
        }
        if (end_ - begin_ > kMaxLineLength) {
            ++lineNumber_;
            return Fail("line too long");
        }
        // Refill moves the unread bytes to the front: what was scanned stays scanned.
        std::size_t scannedLength = end_ - begin_;
        bool more = Refill();
        scanned = begin_ + scannedLength;
        if (!more) {
            if (!error_.empty() || begin_ == end_) {
                return false;
            }
            // A last line without its line end.
            line = std::string_view(buffer_.data() + begin_, end_ - begin_);
            begin_ = end_;
            ++lineNumber_;
            return true;
        }
    }
}

bool RecordingReader::ReadHeader() {
    std::string_view line;
    if (!NextLine(line)) {
        return error_.empty() ? Fail("empty file, no header line") : false;
    }
    std::vector<std::string_view> titles;
    if (!SplitFields(line, titles) || titles.empty()) {
        return Fail("not a Palvex export header (every title ends with a comma)");
    }
    if ((titles.size() - 1) % kSampleQuantityCount != 0 ||
        titles.size() - 1 > kMaxTouchChannels * kSampleQuantityCount) {
        return Fail("not a Palvex export header (" + std::to_string(titles.size()) +
                    " columns, expected 1 + 4 per channel)");
    }
    auto channels = static_cast<std::uint32_t>((titles.size() - 1) / kSampleQuantityCount);
    for (std::uint32_t column = 1; column < titles.size(); ++column) {
        std::string prefix = std::to_string((column - 1) / kSampleQuantityCount + 1) + " ";
        if (titles[column].substr(0, prefix.size()) != prefix) {
            return Fail("column " + std::to_string(column + 1) + " is not titled for channel " +
                        prefix.substr(0, prefix.size() - 1));
        }
    }
    channelCount_ = channels;
    return true;
}

bool RecordingReader::NextRow(RecordingRow& row) {
    std::string_view line;
    if (!error_.empty() || !NextLine(line)) {
        return false;
    }
    const std::size_t fields = 1 + static_cast<std::size_t>(channelCount_) * kSampleQuantityCount;
    row.values.resize(fields - 1);
    if (ParseWellFormedLine(line, fields, row)) {
        return true;
    }
    // The line is malformed: parsed again field by field to say where and how.
    std::size_t field = 0;
    while (!line.empty() && field < fields) {
        std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) {
            return Fail("field " + std::to_string(field + 1) + " is not followed by a comma");
        }
        std::string_view text = line.substr(0, comma);
        line.remove_prefix(comma + 1);
        if (field == 0) {
            if (!ParseNumber(text, row.rowNumber)) {
                return Fail("row number \"" + std::string(text) + "\" is not a number");
            }
        } else {
            const Range& range = kQuantityRanges[(field - 1) % kSampleQuantityCount];
            std::int32_t& value = row.values[field - 1];
            if (!ParseNumber(text, value) || value < range.low || value > range.high) {
                return Fail(std::string(range.name) + " value \"" + std::string(text) +
                            "\" of channel " +
                            std::to_string((field - 1) / kSampleQuantityCount + 1) +
                            " is not a number from " + std::to_string(range.low) + " to " +
                            std::to_string(range.high));
            }
        }
        ++field;
    }
    if (field != fields || !line.empty()) {
        return Fail("wrong number of fields, expected " + std::to_string(fields));
    }
    return true;
}
