// The simulator's faults: which requests they hit, for how long, and what each one does to the
// answer, seen through raw reports and through the request module.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "request/ChipRequests.h"
#include "request/DebugCmdProcess.h"
#include "request/ReportFormat.h"
#include "tessik/AdapterSimulator.h"
#include "tessik/SimulatedChip.h"
#include "tessik/SimulatorConfig.h"

namespace {

class SimulatorFaultTest : public ::testing::Test {
  protected:
    void Start(SimulatorFault fault, FaultTarget target, std::uint32_t after,
               std::uint32_t length = 0) {
        config.reportDelayMicros = 0;
        config.fault = fault;
        config.faultTarget = target;
        config.faultAfterFrames = after;
        config.faultLength = length;
        adapter.Configure(config);
        ASSERT_TRUE(adapter.Open(kAdapterVendorId, kAdapterProductId));
        ASSERT_TRUE(adapter.SetTimeout(1));
    }
    static Report Header(std::uint8_t subcommand) {
        Report header{};
        header[report_byte::kKind] = kKindCommandHeader;
        header[report_byte::kCommand] = kDebugCommand;
        header[report_byte::kSubcommand] = subcommand;
        if (subcommand == kReadFrame) {
            PutU32(header, report_byte::kLength, kChipFrameSize);
        } else {
            header[report_byte::kInlineFlag] = 1;
        }
        return header;
    }
    // Sends the request and reads as many reports as a sound answer has; the reports read,
    // fewer when a read failed.
    std::vector<Report> Exchange(std::uint8_t subcommand) {
        const Report header = Header(subcommand);
        adapter.WriteReport(header.data(), kReportSize);
        std::vector<Report> answer;
        for (int i = subcommand == kReadFrame ? 5 : 1; i > 0; --i) {
            Report report{};
            if (!adapter.ReadReport(report.data(), kReportSize)) {
                break;
            }
            answer.push_back(report);
        }
        return answer;
    }
    bool Sound(std::uint8_t subcommand) {
        const std::vector<Report> answer = Exchange(subcommand);
        const std::size_t expected = subcommand == kReadFrame ? 5 : 1;
        if (answer.size() != expected) {
            return false;
        }
        for (std::size_t i = 0; i + 1 < expected; ++i) {
            if (answer[i][report_byte::kKind] != kKindDataIn) {
                return false;
            }
        }
        const Report& status = answer.back();
        return status[report_byte::kKind] == kKindStatus && status[report_byte::kCommand] == 0xE4 &&
               GetU16(status, report_byte::kStatusWord) == 0;
    }

    SimulatorConfig config;
    AdapterSimulator adapter;
};

TEST_F(SimulatorFaultTest, TransientFaultHitsItsLengthOfRequestsThenAnswersAreSoundAgain) {
    Start(SimulatorFault::ReadFails, FaultTarget::Frame, 2, 3);
    std::vector<bool> sound;
    for (int i = 0; i < 8; ++i) {
        sound.push_back(Sound(kReadFrame));
    }
    EXPECT_EQ(sound, (std::vector<bool>{true, true, false, false, false, true, true, true}));
    EXPECT_EQ(adapter.Statistics().faultsInjected, 3u);
    EXPECT_EQ(adapter.Statistics().framesServed, 5u);
}

TEST_F(SimulatorFaultTest, FaultHitsOnlyTheRequestItIsAimedAt) {
    struct Case {
        FaultTarget target;
        std::vector<bool> expected;  // start, layout read, frame read, stop, then again
    };
    const Case cases[] = {
        {FaultTarget::Start, {false, true, true, true, false, true, true, true}},
        {FaultTarget::Stop, {true, true, true, false, true, true, true, false}},
        {FaultTarget::Layout, {true, false, true, true, true, true, true, true}},
        {FaultTarget::Frame, {true, false, false, true, true, false, false, true}},
        {FaultTarget::Any, {false, false, false, false, false, false, false, false}},
    };
    for (const Case& c : cases) {
        Start(SimulatorFault::WrongStatus, c.target, 0);
        std::vector<bool> sound;
        for (int round = 0; round < 2; ++round) {
            for (std::uint8_t subcommand :
                 {kStartStreaming, kReadFrame, kReadFrame, kStopStreaming}) {
                sound.push_back(Sound(subcommand));
            }
        }
        EXPECT_EQ(sound, c.expected) << static_cast<int>(c.target);
    }
}

TEST_F(SimulatorFaultTest, LayoutFaultReturnsWithEveryOpen) {
    Start(SimulatorFault::Silent, FaultTarget::Layout, 0);
    EXPECT_FALSE(Sound(kReadFrame));
    EXPECT_TRUE(Sound(kReadFrame));
    ASSERT_TRUE(adapter.Open(kAdapterVendorId, kAdapterProductId));
    EXPECT_FALSE(Sound(kReadFrame));
    EXPECT_TRUE(Sound(kReadFrame));
}

TEST_F(SimulatorFaultTest, EveryFaultKindSpoilsTheAnswerItsOwnWay) {
    for (const SimulatorFaultKind& kind : SimulatorFaultKinds()) {
        SCOPED_TRACE(kind.name);
        Start(kind.fault, FaultTarget::Frame, 0);
        const std::vector<Report> answer = Exchange(kReadFrame);
        switch (kind.fault) {
            case SimulatorFault::None:
                EXPECT_EQ(answer.size(), 5u);
                break;
            case SimulatorFault::ReadFails:
            case SimulatorFault::Silent:
            case SimulatorFault::LateAnswer:
            case SimulatorFault::Mute:
                EXPECT_TRUE(answer.empty());
                break;
            case SimulatorFault::Disconnect:
                EXPECT_TRUE(answer.empty());
                EXPECT_FALSE(adapter.Open(kAdapterVendorId, kAdapterProductId));
                break;
            case SimulatorFault::WrongStatus:
                ASSERT_EQ(answer.size(), 5u);
                EXPECT_EQ(answer[4][report_byte::kCommand], kDebugCommand);
                break;
            case SimulatorFault::StatusWord:
                ASSERT_EQ(answer.size(), 5u);
                EXPECT_EQ(answer[4][report_byte::kCommand], 0xE4);
                EXPECT_EQ(GetU16(answer[4], report_byte::kStatusWord), kFaultStatusWord);
                break;
            case SimulatorFault::ShortData:
                ASSERT_EQ(answer.size(), 5u);
                EXPECT_EQ(answer[0][report_byte::kPayloadLength], 30);
                EXPECT_EQ(answer[3][report_byte::kPayloadLength], 10);
                EXPECT_EQ(answer[4][report_byte::kKind], kKindStatus);
                break;
            case SimulatorFault::WrongKind:
                ASSERT_EQ(answer.size(), 5u);
                for (const Report& report : answer) {
                    EXPECT_EQ(report[report_byte::kKind], kFaultReportKind);
                }
                break;
        }
        EXPECT_EQ(adapter.Statistics().faultsInjected,
                  kind.fault == SimulatorFault::None ? 0u : 1u);
    }
}

// Silent leaves one request unanswered; mute also the resynchronisation after it, until the
// next request, which the fault's length then decides about.
TEST_F(SimulatorFaultTest, MuteLeavesTheResynchronisationUnansweredUntilTheNextRequest) {
    Report resync{};
    resync[report_byte::kKind] = kKindResync;
    const auto resyncAnswered = [&] {
        Report report{};
        return adapter.WriteReport(resync.data(), kReportSize) &&
               adapter.ReadReport(report.data(), kReportSize) &&
               report[report_byte::kKind] == kKindResync;
    };
    for (SimulatorFault fault : {SimulatorFault::Silent, SimulatorFault::Mute}) {
        Start(fault, FaultTarget::Frame, 1, 1);
        EXPECT_TRUE(Sound(kReadFrame));
        EXPECT_FALSE(Sound(kReadFrame));
        EXPECT_EQ(resyncAnswered(), fault == SimulatorFault::Silent);
        EXPECT_EQ(resyncAnswered(), fault == SimulatorFault::Silent);
        EXPECT_TRUE(Sound(kStartStreaming));
        EXPECT_TRUE(resyncAnswered());
        EXPECT_TRUE(Sound(kReadFrame));
    }
}

TEST_F(SimulatorFaultTest, LateAnswerArrivesAfterTheTimeLimitAndTheNextRequestDropsIt) {
    Start(SimulatorFault::LateAnswer, FaultTarget::Stop, 0);
    const Report stop = Header(kStopStreaming);
    ASSERT_TRUE(adapter.WriteReport(stop.data(), kReportSize));
    Report report{};
    EXPECT_FALSE(adapter.ReadReport(report.data(), kReportSize)) << "in time";
    ASSERT_TRUE(adapter.ReadReport(report.data(), kReportSize)) << "late";
    EXPECT_EQ(report[report_byte::kKind], kKindStatus);

    Start(SimulatorFault::LateAnswer, FaultTarget::Frame, 1, 1);
    SimulatedChip twin(config.channels, -1, config.seed);
    DebugCmdProcess module;
    module.Attach(&adapter);
    std::uint8_t frame[kChipFrameSize] = {};
    module.SetTransferRequest(kDebugCommand, kReadFrame, 1, frame, 0, kChipFrameSize);
    ASSERT_TRUE(module.Execute());
    EXPECT_FALSE(module.Execute());
    twin.NextFrame();
    twin.NextFrame();  // the late one
    ASSERT_TRUE(module.Execute());
    const ChipFrame expected = twin.NextFrame();
    EXPECT_EQ(std::memcmp(frame, expected.data(), kChipFrameSize), 0)
        << "the late answer was read as the next one";
}

TEST_F(SimulatorFaultTest, TransientDisconnectRefusesItsLengthOfOpensThenComesBack) {
    Start(SimulatorFault::Disconnect, FaultTarget::Start, 1, 2);
    EXPECT_TRUE(Sound(kStartStreaming));
    EXPECT_FALSE(Sound(kStartStreaming));
    EXPECT_FALSE(adapter.SetTimeout(1));
    EXPECT_FALSE(adapter.Open(kAdapterVendorId, kAdapterProductId));
    EXPECT_FALSE(adapter.Open(kAdapterVendorId, kAdapterProductId));
    ASSERT_TRUE(adapter.Open(kAdapterVendorId, kAdapterProductId));
    ASSERT_TRUE(adapter.SetTimeout(1));
    EXPECT_TRUE(Sound(kStartStreaming)) << "the count starts over";
    EXPECT_FALSE(Sound(kStartStreaming));
}

}  // namespace
