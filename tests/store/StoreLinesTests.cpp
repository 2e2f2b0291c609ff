// A store's recording as the lines of the export file, and the writer's pieces.

#include "device/ExportFormat.h"
#include "device/StoreLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct CollectedPieces {
    std::vector<std::string> pieces;
    bool accept = true;
    ExportLineWriter::Sink Sink() {
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
    EXPECT_EQ(CsvHeaderText(StoreColumnTitles(store)),
              L"序号,1 基础值,1 滤波值,1 差值,1 噪声值,7 基础值,7 滤波值,7 差值,7 噪声值,\n");

    CollectedPieces out;
    ExportLineWriter writer(out.Sink());
    // The third row is past the samples, as right after a clear.
    ASSERT_TRUE(WriteStoreLines(store, 3, writer));
    EXPECT_TRUE(out.pieces.empty()) << "a small file goes in one piece, at the flush";
    ASSERT_TRUE(writer.Flush());
    ASSERT_EQ(out.pieces.size(), 1u);
    EXPECT_EQ(out.pieces[0],
              "1,100,90,10,3,200,210,-10,65535,\n"
              "2,101,90,11,3,200,211,-11,65535,\n"
              "3,,,,,,,,,\n");
}

TEST(StoreLines, PiecesOfAboutAMegabyteAndNothingMoreAfterAFailedOne) {
    CollectedPieces out;
    ExportLineWriter writer(out.Sink());
    std::size_t lines = 0;
    while (out.pieces.empty()) {
        writer.BeginLine(2);
        writer.Field(-9223372036854775807 - 1);
        writer.Field(lines++);
        ASSERT_TRUE(writer.EndLine());
    }
    const std::string line = "-9223372036854775808," + std::to_string(lines - 1) + ",\n";
    EXPECT_GE(out.pieces[0].size(), ExportLineWriter::kWritePiece);
    EXPECT_LT(out.pieces[0].size(), ExportLineWriter::kWritePiece + line.size());
    EXPECT_TRUE(out.pieces[0].ends_with(line));

    out.accept = false;
    EXPECT_TRUE(writer.WriteText("header\n"));
    EXPECT_FALSE(writer.Flush());
    EXPECT_FALSE(writer.WriteText(std::string(ExportLineWriter::kWritePiece, 'x')));
    EXPECT_FALSE(writer.Flush());
    EXPECT_EQ(out.pieces.size(), 2u);
}

}  // namespace
