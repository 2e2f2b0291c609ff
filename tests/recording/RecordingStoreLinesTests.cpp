// A store's recording as the lines of the export file, and the writer's pieces.

#include "device/recording/RecordingFormat.h"
#include "device/recording/RecordingStoreLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace {

struct CollectedPieces {
    std::vector<std::string> pieces;
    bool accept = true;
    RecordingLineWriter::Sink Sink() {
        return [this](std::string_view piece) {
            pieces.emplace_back(piece);
            return accept;
        };
    }
};

TEST(StoreLines, TitlesAndRowsOfTheStoresChannelsWithEmptyFieldsForMissingSamples) {
    TouchSampleStore store;
    store.AppendChannel(ChannelSamples(0));
    store.AppendChannel(ChannelSamples(6));
    for (std::uint16_t frame = 0; frame < 2; ++frame) {
        store.Channel(0).AppendFrameValues(100 + frame, 90, 3);
        store.Channel(1).AppendFrameValues(200, 210 + frame, 65535);
        store.CountFrame();
    }
    EXPECT_EQ(RecordingHeaderText(StoreColumnTitles(store)),
              L"序号,1 基础值,1 滤波值,1 差值,1 噪声值,7 基础值,7 滤波值,7 差值,7 噪声值,\r\n");

    CollectedPieces out;
    RecordingLineWriter writer(out.Sink());
    // The third row is past the samples, as right after a clear.
    ASSERT_TRUE(WriteStoreLines(store, 3, writer));
    EXPECT_TRUE(out.pieces.empty()) << "a small file goes in one piece, at the flush";
    ASSERT_TRUE(writer.Flush());
    ASSERT_EQ(out.pieces.size(), 1u);
    EXPECT_EQ(out.pieces[0],
              "1,100,90,10,3,200,210,-10,65535,\r\n"
              "2,101,90,11,3,200,211,-11,65535,\r\n"
              "3,,,,,,,,,\r\n");
}

// The row of a store that every series' values make, as the file shows it.
std::string ExpectedLine(const TouchSampleStore& store, std::uint32_t row) {
    std::string line = std::to_string(row + 1) + ",";
    for (std::uint32_t position = 0; position < store.ChannelCount(); ++position) {
        for (SampleQuantity quantity : kAllSampleQuantities) {
            const SampleSeries& series = store.Channel(position).Series(quantity);
            const std::uint32_t index = kLeadingZeroSamples + row;
            line += (index < series.Size() ? std::to_string(series.At(index)) : "") + ",";
        }
    }
    return line + "\r\n";
}

TEST(StoreLines, ManyRowsAcrossBlocksWithSeriesOfUnequalLengthMatchEverySample) {
    TouchSampleStore store;
    for (std::uint32_t channel : {0u, 5u, 31u}) {
        store.AppendChannel(ChannelSamples(channel));
    }
    // More frames than a series block holds, so that every series crosses a block boundary.
    constexpr std::uint32_t kFrames = SampleSeries::kBlockSamples + 1000;
    for (std::uint32_t frame = 0; frame < kFrames; ++frame) {
        for (std::uint32_t position = 0; position < 3; ++position) {
            store.Channel(position).AppendFrameValues(
                static_cast<std::uint16_t>(frame * 7919 + position),
                static_cast<std::uint16_t>(frame * 104729),
                static_cast<std::uint16_t>(frame % 300));
        }
        store.CountFrame();
    }
    // One series a little longer than the others, and rows past them all.
    store.Channel(2).Series(SampleQuantity::Noise).Append(-1);
    const std::uint32_t rows = kFrames + 2;

    CollectedPieces out;
    RecordingLineWriter writer(out.Sink());
    ASSERT_TRUE(WriteStoreLines(store, rows, writer));
    ASSERT_TRUE(writer.Flush());
    std::string written;
    for (const std::string& piece : out.pieces) {
        written += piece;
    }
    std::string expected;
    for (std::uint32_t row = 0; row < rows; ++row) {
        expected += ExpectedLine(store, row);
    }
    ASSERT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected)
        << "first difference at byte "
        << std::mismatch(written.begin(), written.end(), expected.begin()).first - written.begin();
    EXPECT_TRUE(written.ends_with("\n5097," + std::string(11, ',') + "-1,\r\n5098," +
                                  std::string(12, ',') + "\r\n"));
}

TEST(StoreLines, FieldsOfEveryLengthAndBothEndsOfTheRangeReadAcrossColumns) {
    std::vector<std::int32_t> values = {std::numeric_limits<std::int32_t>::min(),
                                        std::numeric_limits<std::int32_t>::max()};
    for (std::int64_t power = 1; power <= 1000000000; power *= 10) {
        for (std::int64_t value : {power - 1, power, 1 - power, -power}) {
            values.push_back(static_cast<std::int32_t>(value));
        }
    }
    std::string expected;
    for (std::int32_t value : values) {
        expected += std::to_string(value) + ",";
    }
    std::string everyOther;
    for (std::size_t i = 1; i < values.size(); i += 2) {
        everyOther += std::to_string(values[i]) + ",";
    }

    CollectedPieces out;
    RecordingLineWriter writer(out.Sink());
    writer.BeginLine(1 + values.size());
    writer.Field(7);
    writer.Fields(values.data(), values.size(), 1);
    ASSERT_TRUE(writer.EndLine());
    writer.BeginLine(values.size() / 2);
    writer.Fields(values.data() + 1, values.size() / 2, 2);
    ASSERT_TRUE(writer.EndLine());
    ASSERT_TRUE(writer.Flush());
    ASSERT_EQ(out.pieces.size(), 1u);
    EXPECT_EQ(out.pieces[0], "7," + expected + "\r\n" + everyOther + "\r\n");
}

TEST(StoreLines, PiecesOfAboutAMegabyteAndNothingMoreAfterAFailedOne) {
    CollectedPieces out;
    RecordingLineWriter writer(out.Sink());
    std::size_t lines = 0;
    while (out.pieces.empty()) {
        writer.BeginLine(2);
        writer.Field(-9223372036854775807 - 1);
        writer.Field(lines++);
        ASSERT_TRUE(writer.EndLine());
    }
    const std::string line = "-9223372036854775808," + std::to_string(lines - 1) + ",\r\n";
    EXPECT_GE(out.pieces[0].size(), RecordingLineWriter::kWritePiece);
    EXPECT_LT(out.pieces[0].size(), RecordingLineWriter::kWritePiece + line.size());
    EXPECT_TRUE(out.pieces[0].ends_with(line));

    out.accept = false;
    EXPECT_TRUE(writer.WriteText("header\n"));
    EXPECT_FALSE(writer.Flush());
    EXPECT_FALSE(writer.WriteText(std::string(RecordingLineWriter::kWritePiece, 'x')));
    EXPECT_FALSE(writer.Flush());
    EXPECT_EQ(out.pieces.size(), 2u);
}

}  // namespace
