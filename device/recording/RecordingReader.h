#pragma once
// Reads back a file that Palvex's "导出数据" wrote: a header line of 1 + 4n titles, then one
// line per frame holding the row number and, per channel, the baseline, filtered, difference
// and noise values; every field is followed by a comma. Lines end in CR LF (a plain LF is
// accepted too). The titles are in the exporting system's ANSI code page, so only their
// channel numbers ("1 ", "2 ", ... in front of each quantity's title) are checked.
//
// The file is read in large blocks and never held whole, so recordings of any length can be
// judged.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// One data line: the row number, then 4 values per channel in quantity order.
struct RecordingRow {
    std::int64_t rowNumber = 0;
    std::vector<std::int32_t> values;
};

class RecordingReader {
  public:
    // Reads from file, which stays the caller's; name is used in messages only.
    RecordingReader(std::FILE* file, std::string name);

    // Reads and checks the header line. False with Error() set when it is not Palvex's.
    bool ReadHeader();
    std::uint32_t ChannelCount() const { return channelCount_; }

    // The next data line. False at the end of the file, or with Error() set when the line is
    // malformed or the file cannot be read.
    bool NextRow(RecordingRow& row);

    // Bytes of the file taken up by the lines read so far, for progress.
    std::uint64_t ConsumedBytes() const { return bytesRead_ - (end_ - begin_); }

    // "name, line N: what is wrong"; empty while nothing went wrong.
    const std::string& Error() const { return error_; }

  private:
    // The next line without its line end; false at the end of the file.
    bool NextLine(std::string_view& line);
    bool Fail(const std::string& what);
    bool Refill();

    std::FILE* file_;
    std::string name_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;  // first unread byte in buffer_
    std::size_t end_ = 0;    // one past the last valid byte in buffer_
    bool endOfFile_ = false;
    std::uint64_t bytesRead_ = 0;  // from the file into buffer_, in all
    std::uint64_t lineNumber_ = 0;
    std::uint32_t channelCount_ = 0;
    std::string error_;
};
