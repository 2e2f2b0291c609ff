// Reading back Palvex's CSV export: the layout it writes, and the ways a file can be wrong.

#include "device/recording/RecordingLineWriter.h"
#include "device/recording/RecordingReader.h"
#include "device/recording/RecordingLoad.h"
#include "device/recording/RecordingStoreLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

namespace {

// "序号" and " 基础值" ... in code page 936, as a Simplified-Chinese Windows writes them.
const std::string kSequence = "\xD0\xF2\xBA\xC5";
const std::string kTitles[4] = {" \xBB\xF9\xB4\xA1\xD6\xB5", " \xC2\xCB\xB2\xA8\xD6\xB5",
                                " \xB2\xEE\xD6\xB5", " \xD4\xEB\xC9\xF9\xD6\xB5"};

std::string Header(int channels) {
    std::string line = kSequence + ",";
    for (int c = 1; c <= channels; ++c) {
        for (const std::string& title : kTitles) {
            line += std::to_string(c) + title + ",";
        }
    }
    return line + "\r\n";
}

class RecordingReaderTest : public ::testing::Test {
  protected:
    ~RecordingReaderTest() override {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
    }
    RecordingReader& Open(const std::string& content) {
        reader_.reset();
        if (file_ != nullptr) {
            std::fclose(file_);
        }
        file_ = std::tmpfile();
        std::fwrite(content.data(), 1, content.size(), file_);
        std::rewind(file_);
        reader_.emplace(file_, "keys.csv");
        return *reader_;
    }

    std::FILE* file_ = nullptr;
    std::optional<RecordingReader> reader_;
};

TEST_F(RecordingReaderTest, ReadsTheRowsOfAnExport) {
    RecordingReader& reader =
        Open(Header(2) + "1,100,90,10,3,200,210,-10,4,\r\n" + "2,101,91,10,2,201,200,1,5,\r\n");
    ASSERT_TRUE(reader.ReadHeader()) << reader.Error();
    EXPECT_EQ(reader.ChannelCount(), 2u);
    RecordingRow row;
    ASSERT_TRUE(reader.NextRow(row)) << reader.Error();
    EXPECT_EQ(row.rowNumber, 1);
    EXPECT_EQ(row.values, (std::vector<std::int32_t>{100, 90, 10, 3, 200, 210, -10, 4}));
    ASSERT_TRUE(reader.NextRow(row));
    EXPECT_EQ(row.values[6], 1);
    EXPECT_FALSE(reader.NextRow(row));
    EXPECT_EQ(reader.Error(), "");
}

TEST_F(RecordingReaderTest, HeaderOnlyAndPlainLineEnds) {
    RecordingReader& reader = Open("x,1 a,1 b,1 c,1 d,\n1,1,1,0,0,");  // no final line end
    ASSERT_TRUE(reader.ReadHeader()) << reader.Error();
    RecordingRow row;
    EXPECT_TRUE(reader.NextRow(row)) << reader.Error();
    EXPECT_FALSE(reader.NextRow(row));

    RecordingReader& headerOnly = Open(Header(1));
    ASSERT_TRUE(headerOnly.ReadHeader());
    EXPECT_FALSE(headerOnly.NextRow(row));
    EXPECT_EQ(headerOnly.Error(), "");
}

TEST_F(RecordingReaderTest, ReadsBackWhatTheLineWriterWritesAcrossBlocksAndPieces) {
    std::string content = Header(32);
    RecordingLineWriter writer([&content](std::string_view piece) {
        content += piece;
        return true;
    });
    const std::int32_t values[4] = {65535, 1, -65535, 12345};
    const int rows = 3000;  // about 2.5 MB: several pieces and refills, lines cut at block ends
    for (int r = 1; r <= rows; ++r) {
        writer.BeginLine(1 + 128);
        writer.Field(r);
        for (int field = 0; field < 128; ++field) {
            writer.Field(values[field % 4]);
        }
        ASSERT_TRUE(writer.EndLine());
    }
    ASSERT_TRUE(writer.Flush());
    RecordingReader& reader = Open(content);
    ASSERT_TRUE(reader.ReadHeader());
    RecordingRow row;
    int read = 0;
    while (reader.NextRow(row)) {
        ++read;
        ASSERT_EQ(row.rowNumber, read);
        ASSERT_EQ(row.values[126], -65535);
        ASSERT_EQ(row.values[127], 12345);
    }
    EXPECT_EQ(reader.Error(), "");
    EXPECT_EQ(read, rows);
}

TEST_F(RecordingReaderTest, RefusesWhatPalvexDoesNotWrite) {
    struct Case {
        std::string content;
        std::string error;
    };
    const Case cases[] = {
        {"", "keys.csv, line 0: empty file, no header line"},
        {"\r\n", "keys.csv, line 1: not a Palvex export header (every title ends with a comma)"},
        {"a,b,c,\r\n",
         "keys.csv, line 1: not a Palvex export header (3 columns, expected 1 + 4 "
         "per channel)"},
        {"x,1 a,1 b,2 c,1 d,\r\n", "keys.csv, line 1: column 4 is not titled for channel 1"},
        {"x,1 a,1 b,1 c,1 d\r\n",
         "keys.csv, line 1: not a Palvex export header (every title "
         "ends with a comma)"},
        {Header(1) + "1,2,3,4,\r\n", "keys.csv, line 2: wrong number of fields, expected 5"},
        {Header(1) + "1,2,3,4,5,6,\r\n", "keys.csv, line 2: wrong number of fields, expected 5"},
        {Header(1) + "1,2,3,4,5\r\n", "keys.csv, line 2: field 5 is not followed by a comma"},
        {Header(1) + "one,2,3,4,5,\r\n", "keys.csv, line 2: row number \"one\" is not a number"},
        {Header(1) + "1,70000,3,4,5,\r\n",
         "keys.csv, line 2: baseline value \"70000\" of "
         "channel 1 is not a number from 0 to 65535"},
        {Header(1) + "1,2,3,-4x,5,\r\n",
         "keys.csv, line 2: difference value \"-4x\" of channel "
         "1 is not a number from -65535 to 65535"},
        {Header(1) + "1,2,3,4,,\r\n",
         "keys.csv, line 2: noise value \"\" of channel 1 is not a "
         "number from 0 to 65535"},
    };
    for (const Case& c : cases) {
        RecordingReader& reader = Open(c.content);
        RecordingRow row;
        bool ok = reader.ReadHeader() && reader.NextRow(row);
        EXPECT_FALSE(ok) << c.content;
        EXPECT_EQ(reader.Error(), c.error) << c.content;
        std::fclose(file_);
        file_ = nullptr;
    }
}

TEST_F(RecordingReaderTest, RefusesAnEndlessLine) {
    RecordingReader& reader = Open(Header(1) + std::string(200000, '7'));
    ASSERT_TRUE(reader.ReadHeader());
    RecordingRow row;
    EXPECT_FALSE(reader.NextRow(row));
    EXPECT_EQ(reader.Error(), "keys.csv, line 2: line too long");
}

TEST_F(RecordingReaderTest, LoadsARecordingAsTheFramesOfAStoreThatWritesItBackAlike) {
    std::string lines;
    for (int r = 1; r <= 3000; ++r) {
        const std::string b = std::to_string(100 + r % 50);
        lines += std::to_string(r) + "," + b + ",90," + std::to_string(10 + r % 50) +
                 ",3,200,210,-10," + std::to_string(r % 9) + ",\r\n";
    }
    const std::string content = Header(2) + lines;
    std::vector<std::uint64_t> progress;
    TouchSampleStore store;
    const std::atomic<bool> running{false};
    const RecordingLoadResult loaded = LoadRecording(
        Open(content), store, running, [&](std::uint64_t bytes) { progress.push_back(bytes); });
    ASSERT_EQ(loaded.outcome, RecordingLoadResult::Outcome::Loaded) << loaded.reason;
    ASSERT_EQ(store.ChannelCount(), 2u);
    EXPECT_EQ(store.FrameCount(), 3000u);
    EXPECT_EQ(store.Channel(1).channel, 1u);
    EXPECT_EQ(store.Channel(1).SampleCount(), kLeadingZeroSamples + 3000);
    EXPECT_EQ(store.Channel(1).Series(SampleQuantity::Difference).At(kLeadingZeroSamples), -10);
    EXPECT_EQ(store.Channel(0).Series(SampleQuantity::Baseline).Last(), 100 + 3000 % 50);
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), content.size());

    std::string written;
    RecordingLineWriter writer([&written](std::string_view piece) {
        written += piece;
        return true;
    });
    ASSERT_TRUE(WriteStoreLines(store, store.FrameCount(), writer) && writer.Flush());
    EXPECT_TRUE(written == lines);

    TouchSampleStore stopped;
    const std::atomic<bool> cancelled{true};
    EXPECT_EQ(LoadRecording(Open(content), stopped, cancelled, [](std::uint64_t) {}).outcome,
              RecordingLoadResult::Outcome::Cancelled);
    EXPECT_EQ(stopped.FrameCount(), 0u);
}

}  // namespace
