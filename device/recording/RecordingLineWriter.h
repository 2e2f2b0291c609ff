#pragma once
// Writes the lines of a recording file in large pieces. Fields are formatted straight into one
// buffer that is reused for the whole file, and the buffer goes to the sink whenever it holds a
// piece's worth: an export formats some hundred million fields per minute of recording, so
// neither a field nor a line may cost an allocation or a call into the C runtime.
//
// A data line: BeginLine, then Field or EmptyField once per field, then EndLine. Every field is
// followed by a comma, every line ends in CR LF.

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string_view>
#include <vector>

class RecordingLineWriter {
  public:
    // Takes one piece of the file; false when it could not be written.
    using Sink = std::function<bool(std::string_view piece)>;
    // The pieces handed to the sink are about this size.
    static constexpr std::size_t kWritePiece = 1 << 20;

    explicit RecordingLineWriter(Sink sink);
    // The sink that writes each piece to file, which stays the caller's.
    static Sink FileSink(std::FILE* file);

    // Appends text as it is, e.g. the header line already in its code page.
    bool WriteText(std::string_view text);

    // Starts a line of at most fields fields.
    void BeginLine(std::size_t fields);
    void Field(std::int64_t value) {
        out_ = std::to_chars(out_, out_ + kMaxFieldLength, value).ptr;
        *out_++ = ',';
    }
    // One field for each of values[0], values[stride], ... values[(count - 1) * stride]: a row
    // read across the columns of a block of rows. The count fields are among those given to
    // BeginLine.
    void Fields(const std::int32_t* values, std::size_t count, std::size_t stride);
    void EmptyField() { *out_++ = ','; }
    // Ends the line; hands the pending piece to the sink once it is full.
    bool EndLine();

    // Hands what is pending to the sink. False when this or any earlier piece failed: after a
    // failure nothing more is written.
    bool Flush();

  private:
    // "-9223372036854775808", the longest 64-bit value.
    static constexpr std::size_t kMaxFieldLength = 20;

    bool WritePending();

    Sink sink_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;  // bytes of buffer_ that the finished lines hold
    char* out_ = nullptr;   // where the line under way continues
    bool failed_ = false;
};
