// What the request module puts on the wire: headers byte for byte, block and piece splitting,
// the inline-data clamp.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "request/DebugCmdProcess.h"
#include "tests/request/ScriptedTransport.h"

namespace {

std::vector<std::uint8_t> Head(const Report& report, std::size_t count = 16) {
    return {report.begin(), report.begin() + static_cast<std::ptrdiff_t>(count)};
}

bool ZeroFrom(const Report& report, std::size_t from) {
    for (std::size_t i = from; i < report.size(); ++i) {
        if (report[i] != 0) {
            return false;
        }
    }
    return true;
}

class RequestPlanTest : public ::testing::Test {
  protected:
    void SetUp() override { module.Attach(&transport); }
    ScriptedTransport transport;
    DebugCmdProcess module;
};

TEST_F(RequestPlanTest, StreamingCommandsSendTheirHeadersExactly) {
    for (std::uint8_t subcommand : {0x24, 0x26}) {
        transport = ScriptedTransport{};
        transport.AnswerStatus(0xE4, 0);
        std::uint16_t status = 0;
        module.SetCommandRequest(0xF4, subcommand, &status, nullptr, 0);
        ASSERT_TRUE(module.Execute());
        ASSERT_EQ(transport.written.size(), 1u);
        EXPECT_EQ(Head(transport.written[0]),
                  (std::vector<std::uint8_t>{0x00, 0x01, 0xF4, subcommand, 0, 0, 0, 0, 0, 0, 0, 0,
                                             0, 0, 0x01, 0x00}));
        EXPECT_TRUE(ZeroFrom(transport.written[0], 16));
    }
}

TEST_F(RequestPlanTest, FrameReadSendsOneHeaderAndReadsFourPiecesAndStatus) {
    transport.AnswerTransfer(200, 0xE4);
    std::array<std::uint8_t, 200> frame{};
    module.SetTransferRequest(0xF4, 0x25, 1, frame.data(), 0, 200);
    ASSERT_TRUE(module.Execute());
    ASSERT_EQ(transport.written.size(), 1u);
    EXPECT_EQ(
        Head(transport.written[0]),
        (std::vector<std::uint8_t>{0x00, 0x01, 0xF4, 0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xC8, 0, 0}));
    EXPECT_TRUE(ZeroFrom(transport.written[0], 16));
    EXPECT_EQ(transport.readsMade, 5);
    for (std::size_t i = 0; i < frame.size(); ++i) {
        ASSERT_EQ(frame[i], static_cast<std::uint8_t>(i)) << "at " << i;
    }
}

TEST_F(RequestPlanTest, WritesSplitIntoBlocksOf256AndPiecesOf60) {
    std::vector<std::uint8_t> source(257);
    for (std::size_t i = 0; i < source.size(); ++i) {
        source[i] = static_cast<std::uint8_t>(i * 7);
    }
    transport.AnswerStatus(0x23, 0);
    transport.AnswerStatus(0x23, 0);
    module.SetTransferRequest(0x33, 0x01, 0, source.data(), 0x12345678, 257);
    ASSERT_TRUE(module.Execute());

    // Block 1: header, 60 60 60 60 16; block 2 at address + 256: header, 1.
    ASSERT_EQ(transport.written.size(), 8u);
    EXPECT_EQ(
        Head(transport.written[0], 14),
        (std::vector<std::uint8_t>{0, 1, 0x33, 0x01, 0, 0, 0x12, 0x34, 0x56, 0x78, 0, 0, 1, 0}));
    EXPECT_EQ(
        Head(transport.written[6], 14),
        (std::vector<std::uint8_t>{0, 1, 0x33, 0x01, 0, 0, 0x12, 0x34, 0x57, 0x78, 0, 0, 0, 1}));
    const std::vector<int> pieces = {60, 60, 60, 60, 16};
    std::size_t offset = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Report& data = transport.written[1 + i];
        EXPECT_EQ(Head(data, 4), (std::vector<std::uint8_t>{0, 3, 0, std::uint8_t(pieces[i])}));
        for (int b = 0; b < pieces[i]; ++b) {
            ASSERT_EQ(data[4 + b], source[offset++]);
        }
        EXPECT_TRUE(ZeroFrom(data, 4 + pieces[i]));
    }
    EXPECT_EQ(transport.written[7][3], 1);
    EXPECT_EQ(transport.written[7][4], source[256]);
    EXPECT_EQ(transport.readsMade, 2);
}

TEST_F(RequestPlanTest, ReadsOf256And257BytesFollowTheBlockSplit) {
    std::vector<std::uint8_t> buffer(257, 0xCC);
    transport.AnswerTransfer(256, 0xE4);
    module.SetTransferRequest(0xF4, 0x25, 1, buffer.data(), 0, 256);
    ASSERT_TRUE(module.Execute());
    EXPECT_EQ(transport.written.size(), 1u);
    EXPECT_EQ(transport.readsMade, 6);  // 60 60 60 60 16 and status
    EXPECT_EQ(buffer[255], 255);
    EXPECT_EQ(buffer[256], 0xCC);

    transport = ScriptedTransport{};
    transport.AnswerTransfer(256, 0xE4, 0);
    transport.AnswerTransfer(1, 0xE4, 0xAB);
    module.SetTransferRequest(0xF4, 0x25, 1, buffer.data(), 0x100, 257);
    ASSERT_TRUE(module.Execute());
    ASSERT_EQ(transport.written.size(), 2u);
    EXPECT_EQ(transport.written[1][8], 0x02);  // second block's address 0x200
    EXPECT_EQ(transport.written[1][13], 1);    // and length 1
    EXPECT_EQ(transport.readsMade, 8);
    EXPECT_EQ(buffer[256], 0xAB);  // the offset runs on across blocks
}

TEST_F(RequestPlanTest, ZeroLengthTransferOnlyResynchronises) {
    std::uint8_t buffer[4] = {};
    module.SetTransferRequest(0xF4, 0x25, 1, buffer, 0, 0);
    EXPECT_FALSE(module.Execute());
    ASSERT_FALSE(transport.written.empty());
    EXPECT_EQ(transport.ResyncReportsWritten(), static_cast<int>(transport.written.size()));
}

TEST_F(RequestPlanTest, InlineDataIsClampedTo48Bytes) {
    std::array<std::uint8_t, 100> data{};
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i + 1);
    }
    transport.AnswerStatus(0x01, 0);
    module.SetCommandRequest(0x01, 0x02, nullptr, data.data(), 100);
    ASSERT_TRUE(module.Execute());
    const Report& header = transport.written.at(0);
    EXPECT_EQ(header[14], 1);
    EXPECT_EQ(header[15], 48);
    for (int i = 0; i < 48; ++i) {
        ASSERT_EQ(header[16 + i], i + 1);
    }
    EXPECT_EQ(Head(header, 14),
              (std::vector<std::uint8_t>{0, 1, 0x01, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(RequestPlanTest, ExecuteRepeatsTheSameRequest) {
    transport.AnswerStatus(0xE4, 1);
    transport.AnswerStatus(0xE4, 2);
    std::uint16_t status = 0;
    module.SetCommandRequest(0xF4, 0x24, &status, nullptr, 0);
    ASSERT_TRUE(module.Execute());
    ASSERT_TRUE(module.Execute());
    ASSERT_EQ(transport.written.size(), 2u);
    EXPECT_EQ(transport.written[0], transport.written[1]);
    EXPECT_EQ(status, 2);
}

}  // namespace
