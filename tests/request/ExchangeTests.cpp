// How an exchange ends: the status check, the parsing limits, resynchronisation after a
// failed transfer, untouched caller buffers on failure and the counters.

#include <gtest/gtest.h>

#include <array>
#include <thread>

#include "request/DebugCmdProcess.h"
#include "tests/request/ScriptedTransport.h"

namespace {

class ExchangeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        module.Attach(&transport);
        frame.fill(0xCC);
    }
    void DescribeFrameRead() { module.SetTransferRequest(0xF4, 0x25, 1, frame.data(), 0, 200); }
    bool FrameUntouched() const {
        for (std::uint8_t byte : frame) {
            if (byte != 0xCC) {
                return false;
            }
        }
        return true;
    }

    ScriptedTransport transport;
    DebugCmdProcess module;
    std::array<std::uint8_t, 200> frame;
};

TEST(RequestModuleTest, RefusesToRunOrForwardBeforeAttach) {
    DebugCmdProcess module;
    std::uint16_t status = 0;
    module.SetCommandRequest(0xF4, 0x24, &status, nullptr, 0);
    EXPECT_FALSE(module.Execute());
    std::uint8_t data = 0;
    EXPECT_FALSE(module.Forward(7, &data, 1));
}

TEST_F(ExchangeTest, ForwardPassesItsArgumentsUnchanged) {
    std::uint8_t data[3] = {};
    EXPECT_TRUE(module.Forward(7, data, 3));
    EXPECT_EQ(transport.lastControlCode, 7u);
    EXPECT_EQ(transport.lastControlData, data);
    EXPECT_EQ(transport.lastControlSize, 3u);
    EXPECT_FALSE(module.Forward(8, nullptr, 0));  // the transport's own answer comes back
}

TEST_F(ExchangeTest, FinalStatusMustRepeatTheCommandWithBit4Cleared) {
    struct Case {
        std::uint8_t command, answer;
        bool passes;
    };
    for (const Case& c : {Case{0xF4, 0xE4, true}, Case{0xF4, 0xF4, false}, Case{0x23, 0x23, true},
                          Case{0x23, 0x33, false}, Case{0x33, 0x23, true}}) {
        transport = ScriptedTransport{};
        transport.AnswerStatus(c.answer, 0x1234);
        std::uint16_t status = 0xBEEF;
        module.SetCommandRequest(c.command, 0x24, &status, nullptr, 0);
        EXPECT_EQ(module.Execute(), c.passes) << int(c.command) << " / " << int(c.answer);
        EXPECT_EQ(status, c.passes ? 0x1234 : 0xBEEF);
        EXPECT_EQ(transport.ResyncReportsWritten(), 0);  // a mismatch is no transfer failure
    }
}

TEST_F(ExchangeTest, StatusAnswerFillsDataBufferAndTargetWithinLimits) {
    Report status{};
    status[1] = kKindStatus;
    status[2] = 0x01;
    status[5] = 0xA5;
    status[6] = 0x5A;
    status[14] = 1;
    status[15] = 200;  // claims more than a report holds
    for (int i = 0; i < 48; ++i) {
        status[16 + i] = static_cast<std::uint8_t>(0x80 + i);
    }
    transport.answers.push_back(status);
    std::array<std::uint8_t, 64> data{};
    data.fill(0x11);
    std::uint16_t word = 0;
    module.SetCommandRequest(0x01, 0x00, &word, data.data(), 0);
    ASSERT_TRUE(module.Execute());
    EXPECT_EQ(word, 0xA55A);
    EXPECT_EQ(data[0], 0x80);
    EXPECT_EQ(data[47], 0x80 + 47);
    EXPECT_EQ(data[48], 0x11);  // cut at 48
}

TEST_F(ExchangeTest, AnswerOfTheWrongKindOrShortOfItsBytesFailsAndLeavesTheBufferAlone) {
    // A data report where the status belongs, a status report where data belongs, an unknown
    // kind, and data reports one byte short of their piece: each fails the read instead of
    // passing a frame with zeros or shifted bytes off as the chip's.
    for (std::size_t spoilt : {std::size_t{0}, std::size_t{3}, std::size_t{4}}) {
        transport = ScriptedTransport{};
        transport.AnswerTransfer(200, 0xE4);
        Report& answer = transport.answers[spoilt];
        answer[1] = spoilt == 4 ? kKindDataIn : spoilt == 3 ? kKindStatus : 0x06;
        DescribeFrameRead();
        EXPECT_FALSE(module.Execute()) << spoilt;
        EXPECT_TRUE(FrameUntouched()) << spoilt;
    }
    for (std::size_t shortened : {std::size_t{0}, std::size_t{3}}) {
        transport = ScriptedTransport{};
        transport.AnswerTransfer(200, 0xE4);
        --transport.answers[shortened][3];
        DescribeFrameRead();
        EXPECT_FALSE(module.Execute()) << shortened;
        EXPECT_TRUE(FrameUntouched()) << shortened;
        EXPECT_EQ(transport.ResyncReportsWritten(), 0);  // every report came: still in step
    }
    transport = ScriptedTransport{};
    transport.AnswerTransfer(200, 0xE4);
    DescribeFrameRead();
    EXPECT_TRUE(module.Execute());
}

TEST_F(ExchangeTest, DataReportsAreCutAt60AndAtTheTransferLength) {
    std::array<std::uint8_t, 100> buffer{};
    buffer.fill(0xCC);
    for (int i = 0; i < 2; ++i) {
        Report data{};
        data[1] = kKindDataIn;
        data[3] = 0xFF;  // claims 255 bytes
        for (int b = 0; b < 60; ++b) {
            data[4 + b] = static_cast<std::uint8_t>(i + 1);
        }
        transport.answers.push_back(data);
    }
    transport.AnswerStatus(0xE4, 0);
    module.SetTransferRequest(0xF4, 0x25, 1, buffer.data(), 0, 90);
    ASSERT_TRUE(module.Execute());
    EXPECT_EQ(buffer[59], 1);
    EXPECT_EQ(buffer[60], 2);
    EXPECT_EQ(buffer[89], 2);
    EXPECT_EQ(buffer[90], 0xCC);  // never past the length
}

TEST_F(ExchangeTest, OnlyTheLastBlockStatusIsChecked) {
    std::vector<std::uint8_t> buffer(300);
    transport.AnswerTransfer(256, 0x99);
    transport.AnswerTransfer(44, 0xE4);
    module.SetTransferRequest(0xF4, 0x25, 1, buffer.data(), 0, 300);
    ASSERT_TRUE(module.Execute());
    transport.AnswerTransfer(256, 0xE4);
    transport.AnswerTransfer(44, 0x99);
    EXPECT_FALSE(module.Execute());
}

TEST_F(ExchangeTest, FailedReadResynchronisesAndLeavesTheFrameUntouched) {
    transport.AnswerTransfer(200, 0xE4);
    transport.failReadAt = 2;  // the third data report
    DescribeFrameRead();
    EXPECT_FALSE(module.Execute());
    EXPECT_TRUE(FrameUntouched());
    // No acknowledgement comes: three rounds of one kind-5 report and one read.
    EXPECT_EQ(transport.ResyncReportsWritten(), 3);
    EXPECT_EQ(transport.written.size(), 4u);
    for (const Report& resync : {transport.written[1], transport.written[3]}) {
        Report expected{};
        expected[1] = kKindResync;
        EXPECT_EQ(resync, expected);
    }
}

TEST_F(ExchangeTest, ResynchronisationEndsAtTheFirstAcknowledgement) {
    transport.failReadAt = 0;
    Report other{};
    other[1] = kKindStatus;
    Report ack{};
    ack[1] = kKindResync;
    transport.answers = {other, ack, other};  // round 1 reads other, round 2 the ack
    DescribeFrameRead();
    EXPECT_FALSE(module.Execute());
    EXPECT_EQ(transport.ResyncReportsWritten(), 2);
}

TEST_F(ExchangeTest, FailedWriteResynchronisesAndAFailedResyncWriteEndsAtOnce) {
    transport.failWriteAt = 0;
    std::uint16_t status = 0x7777;
    std::array<std::uint8_t, 48> data{};
    data.fill(0x5A);
    module.SetCommandRequest(0xF4, 0x24, &status, data.data(), 0);
    EXPECT_FALSE(module.Execute());
    EXPECT_EQ(transport.written.size(), 4u);  // the header and three unanswered rounds
    EXPECT_EQ(transport.readsMade, 3);

    transport = ScriptedTransport{};
    transport.failWriteAt = 1;  // the first resynchronisation report fails too
    EXPECT_FALSE(module.Execute());
    EXPECT_EQ(transport.written.size(), 2u);
    EXPECT_EQ(transport.readsMade, 1);  // the status read that failed
    EXPECT_EQ(status, 0x7777);
    EXPECT_EQ(data[0], 0x5A);
}

TEST_F(ExchangeTest, WrongFinalStatusLeavesBuffersUntouched) {
    transport.AnswerTransfer(200, 0xF4);
    DescribeFrameRead();
    EXPECT_FALSE(module.Execute());
    EXPECT_TRUE(FrameUntouched());
}

TEST_F(ExchangeTest, TransfersWithoutABufferAreRefusedWithoutTraffic) {
    module.SetTransferRequest(0xF4, 0x25, 1, nullptr, 0, 200);
    EXPECT_FALSE(module.Execute());
    module.SetCommandRequest(0xF4, 0x24, nullptr, nullptr, 5);
    EXPECT_FALSE(module.Execute());
    module.SetTransferRequest(0xF4, 0x25, 1, frame.data(), 0, 0xFFFFFFFFu);
    EXPECT_FALSE(module.Execute());
    EXPECT_TRUE(transport.written.empty());
    EXPECT_EQ(transport.readsMade, 0);
}

TEST_F(ExchangeTest, CountersShowTheLastExchange) {
    transport.AnswerTransfer(200, 0xE4);
    transport.answers.back()[3] = 9;  // byte 3 of the status report is counted as it is
    DescribeFrameRead();
    ASSERT_TRUE(module.Execute());
    ExchangeStatistics counters = module.GetStatistics();
    EXPECT_EQ(counters.reportsSent, 1u);
    EXPECT_EQ(counters.bytesSent, 0x25u);  // the header's subcommand
    EXPECT_EQ(counters.reportsReceived, 5u);
    EXPECT_EQ(counters.bytesReceived, 209u);

    // A failed exchange counts what it attempted, the failed read included, and no
    // resynchronisation report.
    transport.AnswerTransfer(200, 0xE4);
    transport.failReadAt = transport.readsMade + 2;
    ASSERT_FALSE(module.Execute());
    counters = module.GetStatistics();
    EXPECT_EQ(counters.reportsSent, 1u);
    EXPECT_EQ(counters.reportsReceived, 3u);
    EXPECT_EQ(counters.bytesReceived, 120u);  // two read pieces, the failed read's slot is empty
}

TEST_F(ExchangeTest, LockIsFreeForAnotherThreadAfterAFailure) {
    transport.failReadAt = 0;
    DescribeFrameRead();
    ASSERT_FALSE(module.Execute());
    bool done = false;
    std::thread other([&] {
        ScriptedTransport second;
        second.AnswerStatus(0xE4, 0);
        DebugCmdProcess otherModule;
        otherModule.Attach(&second);
        otherModule.SetCommandRequest(0xF4, 0x26, nullptr, nullptr, 0);
        done = otherModule.Execute();
    });
    other.join();
    EXPECT_TRUE(done);
}

}  // namespace
