// The adapter simulator as a test device: its configuration, its checks of what it receives
// and the behaviour of its virtual chip.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "request/ReportFormat.h"
#include "tessik/AdapterSimulator.h"
#include "tessik/SimulatedChip.h"
#include "tessik/SimulatorConfig.h"

namespace {

std::map<std::string, std::string> environment;

const char* FakeLookup(const char* name) {
    const auto found = environment.find(name);
    return found == environment.end() ? nullptr : found->second.c_str();
}

std::optional<SimulatorConfig> Parse(std::map<std::string, std::string> values,
                                     std::string& error) {
    environment = std::move(values);
    return ParseSimulatorConfig(&FakeLookup, error);
}

TEST(SimulatorConfigTest, DefaultsWhenNothingIsSet) {
    std::string error;
    const auto config = Parse({}, error);
    ASSERT_TRUE(config);
    EXPECT_EQ(config->channels, 8);
    EXPECT_EQ(config->layoutLength, -1);
    EXPECT_EQ(config->reportDelayMicros, 1000u);
    EXPECT_EQ(config->fault, SimulatorFault::None);
}

TEST(SimulatorConfigTest, ReadsEveryVariable) {
    std::string error;
    const auto config = Parse({{"TESSIK_SIM_CHANNELS", "32"},
                               {"TESSIK_SIM_LAYOUT_LENGTH", "200"},
                               {"TESSIK_SIM_REPORT_DELAY_US", "0"},
                               {"TESSIK_SIM_SEED", "4000000000"},
                               {"TESSIK_SIM_FAULT", "wrong-status"},
                               {"TESSIK_SIM_FAULT_AFTER", "12"},
                               {"TESSIK_SIM_FAULT_LENGTH", "5"},
                               {"TESSIK_SIM_FAULT_REQUEST", "stop"}},
                              error);
    ASSERT_TRUE(config) << error;
    EXPECT_EQ(config->channels, 32);
    EXPECT_EQ(config->layoutLength, 200);
    EXPECT_EQ(config->reportDelayMicros, 0u);
    EXPECT_EQ(config->seed, 4000000000u);
    EXPECT_EQ(config->fault, SimulatorFault::WrongStatus);
    EXPECT_EQ(config->faultAfterFrames, 12u);
    EXPECT_EQ(config->faultLength, 5u);
    EXPECT_EQ(config->faultTarget, FaultTarget::Stop);
}

TEST(SimulatorConfigTest, EveryListedFaultAndTargetCanBeChosenByName) {
    for (const SimulatorFaultKind& kind : SimulatorFaultKinds()) {
        for (const FaultTargetKind& target : FaultTargetKinds()) {
            std::string error;
            const auto config =
                Parse({{"TESSIK_SIM_FAULT", kind.name}, {"TESSIK_SIM_FAULT_REQUEST", target.name}},
                      error);
            const bool commandTarget =
                target.target != FaultTarget::Frame && target.target != FaultTarget::Layout;
            if (kind.needsDataReports && commandTarget) {
                EXPECT_FALSE(config) << kind.name << " on " << target.name;
                EXPECT_NE(error.find("TESSIK_SIM_FAULT_REQUEST"), std::string::npos) << error;
                continue;
            }
            ASSERT_TRUE(config) << error;
            EXPECT_EQ(config->fault, kind.fault);
            EXPECT_EQ(config->faultTarget, target.target);
        }
    }
}

TEST(SimulatorConfigTest, RefusesMalformedValuesByName) {
    for (const auto& [name, value] :
         std::map<std::string, std::string>{{"TESSIK_SIM_CHANNELS", "33"},
                                            {"TESSIK_SIM_LAYOUT_LENGTH", "-1"},
                                            {"TESSIK_SIM_REPORT_DELAY_US", "1ms"},
                                            {"TESSIK_SIM_FAULT", "explode"},
                                            {"TESSIK_SIM_FAULT_LENGTH", "-2"},
                                            {"TESSIK_SIM_FAULT_REQUEST", "sideways"}}) {
        std::string error;
        EXPECT_FALSE(Parse({{name, value}}, error)) << name;
        EXPECT_NE(error.find(name), std::string::npos) << error;
    }
}

TEST(SimulatorConfigTest, ReadsAndChecksTheTouchScript) {
    std::string error;
    auto config =
        Parse({{"TESSIK_SIM_CHANNELS", "4"}, {"TESSIK_SIM_TOUCH", "1:10:5:80,4:0:1:-7:3"}}, error);
    ASSERT_TRUE(config) << error;
    ASSERT_EQ(config->touches.size(), 2u);
    EXPECT_EQ(config->touches[0].channel, 1);
    EXPECT_EQ(config->touches[0].start, 10u);
    EXPECT_EQ(config->touches[0].length, 5u);
    EXPECT_EQ(config->touches[0].delta, 80);
    EXPECT_EQ(config->touches[0].rise, 0u);
    EXPECT_EQ(config->touches[1].delta, -7);
    EXPECT_EQ(config->touches[1].rise, 3u);
    for (const char* bad :
         {"5:0:1:10", "0:0:1:10", "1:0:0:10", "1:0:1", "1:0:1:10,", "1:0:1:10:3:1",
          "1:0:1:10:", "1:0:1:10:-1", "1:a:1:10", "1:0:1:70000", ":0:1:10"}) {
        EXPECT_FALSE(Parse({{"TESSIK_SIM_CHANNELS", "4"}, {"TESSIK_SIM_TOUCH", bad}}, error))
            << bad;
        EXPECT_NE(error.find("TESSIK_SIM_TOUCH"), std::string::npos) << error;
    }
}

TEST(SimulatedChipTest, RampedTouchesAndAQuietJitter) {
    std::string error;
    EXPECT_EQ(Parse({{"TESSIK_SIM_JITTER", "0"}}, error)->jitter, 0);
    EXPECT_EQ(Parse({}, error)->jitter, kChipJitter);
    EXPECT_FALSE(Parse({{"TESSIK_SIM_JITTER", "-1"}}, error));
    EXPECT_NE(error.find("TESSIK_SIM_JITTER"), std::string::npos) << error;

    // Without jitter a touch of 8 frames rising over 3 climbs in steps of a quarter of 100.
    SimulatedChip chip(1, -1, 5, {{1, 2, 8, 100, 3}}, 0);
    const int expected[] = {0, 0, 25, 50, 75, 100, 100, 75, 50, 25, 0};
    for (int want : expected) {
        chip.NextFrame();
        const ChannelReading r = chip.Reading(0);
        EXPECT_EQ(r.baseline - r.filtered, want);
    }
}

TEST(SimulatedChipTest, ScriptedTouchesAreTheOnlyTouches) {
    // Channel 2 is touched in frames 5 to 7; every other difference is the jitter alone.
    SimulatedChip chip(3, -1, 9, {{2, 5, 3, 120}});
    for (int frame = 0; frame < 2000; ++frame) {
        chip.NextFrame();
        for (int channel = 0; channel < 3; ++channel) {
            const ChannelReading r = chip.Reading(channel);
            const int difference = r.baseline - r.filtered;
            const bool touched = channel == 1 && frame >= 5 && frame < 8;
            ASSERT_LE(std::abs(difference - (touched ? 120 : 0)), kChipJitter)
                << "frame " << frame << " channel " << channel;
        }
    }
}

class AdapterSimulatorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SimulatorConfig config;
        config.reportDelayMicros = 0;
        adapter.Configure(config);
        ASSERT_TRUE(adapter.Open(kAdapterVendorId, kAdapterProductId));
        ASSERT_TRUE(adapter.SetTimeout(1));
    }
    static Report Header(std::uint8_t subcommand, std::uint32_t length, bool commandPart) {
        Report header{};
        header[1] = kKindCommandHeader;
        header[2] = 0xF4;
        header[3] = subcommand;
        PutU32(header, 10, length);
        header[14] = commandPart ? 1 : 0;
        return header;
    }
    bool Send(const Report& report) { return adapter.WriteReport(report.data(), kReportSize); }
    bool Receive(Report& report) { return adapter.ReadReport(report.data(), kReportSize); }

    AdapterSimulator adapter;
};

TEST_F(AdapterSimulatorTest, AnswersTheFrameReadWithFourPiecesAndStatus) {
    ASSERT_TRUE(Send(Header(0x25, 200, false)));
    Report answer;
    for (int piece : {60, 60, 60, 20}) {
        ASSERT_TRUE(Receive(answer));
        EXPECT_EQ(answer[1], kKindDataIn);
        EXPECT_EQ(answer[3], piece);
    }
    ASSERT_TRUE(Receive(answer));
    EXPECT_EQ(answer[1], kKindStatus);
    EXPECT_EQ(answer[2], 0xE4);
    EXPECT_FALSE(Receive(answer));  // nothing more: the read runs into the time limit
}

TEST_F(AdapterSimulatorTest, IgnoresAndCountsMalformedReports) {
    Report startWithData = Header(0x24, 0, true);
    startWithData[15] = 1;
    Report frameWithCommandPart = Header(0x25, 200, true);
    Report frameTooLong = Header(0x25, 201, false);
    Report unknown = Header(0x27, 0, true);
    Report badId = Header(0x24, 0, true);
    badId[0] = 1;
    Report dataOut{};
    dataOut[1] = kKindDataOut;
    for (const Report& report :
         {startWithData, frameWithCommandPart, frameTooLong, unknown, badId, dataOut}) {
        ASSERT_TRUE(Send(report));
        Report answer;
        EXPECT_FALSE(Receive(answer));
    }
    EXPECT_EQ(adapter.Statistics().protocolErrors, 6u);
}

TEST_F(AdapterSimulatorTest, ResynchronisationDropsPendingAnswersAndIsAcknowledged) {
    ASSERT_TRUE(Send(Header(0x25, 200, false)));
    Report resync{};
    resync[1] = kKindResync;
    ASSERT_TRUE(Send(resync));
    Report answer;
    ASSERT_TRUE(Receive(answer));
    EXPECT_EQ(answer[1], kKindResync);
    EXPECT_FALSE(Receive(answer));
    EXPECT_EQ(adapter.Statistics().resyncs, 1u);
}

TEST_F(AdapterSimulatorTest, OpensOnlyTheAdapterAndRefusesWrongReportSizes) {
    EXPECT_FALSE(adapter.Open(0x1234, kAdapterProductId));
    EXPECT_EQ(adapter.Statistics().lastVendorId, 0x1234);
    EXPECT_TRUE(adapter.Open(kAdapterVendorId, kAdapterProductId));
    Report report = Header(0x24, 0, true);
    EXPECT_FALSE(adapter.WriteReport(report.data(), 63));
    EXPECT_FALSE(adapter.ReadReport(report.data(), 65));
    SimulatorStatistics statistics;
    EXPECT_TRUE(adapter.Control(kSimulatorQueryStatistics, &statistics, sizeof statistics));
    EXPECT_EQ(statistics.opens, 3u);  // SetUp opened it first
    EXPECT_FALSE(adapter.Control(kSimulatorQueryStatistics, &statistics, 4));
}

TEST(SimulatedChipTest, BaselinesDriftSlowlyAndTouchesRaiseTheDifference) {
    SimulatedChip chip(8, -1, 5);
    ChipFrame first = chip.NextFrame();
    EXPECT_EQ(first[0], 0x55);
    EXPECT_EQ(first[1], 0xAA);
    EXPECT_EQ(first[2], 2 + 6 * 8);
    std::uint16_t startBaseline[8];
    for (int c = 0; c < 8; ++c) {
        startBaseline[c] = chip.Reading(c).baseline;
    }
    int largestDifference = 0;
    int touchedChannels = 0;
    bool touched[8] = {};
    for (int frame = 0; frame < 3000; ++frame) {
        chip.NextFrame();
        for (int c = 0; c < 8; ++c) {
            const ChannelReading reading = chip.Reading(c);
            const int difference = reading.baseline - reading.filtered;
            largestDifference = std::max(largestDifference, difference);
            EXPECT_LT(reading.noise, 16);
            EXPECT_GT(difference, -10);  // filtered only dips below the baseline
            if (difference > 150 && !touched[c]) {
                touched[c] = true;
                ++touchedChannels;
            }
        }
    }
    EXPECT_GE(touchedChannels, 4);
    EXPECT_LE(largestDifference, 700);
    for (int c = 0; c < 8; ++c) {
        EXPECT_LE(std::abs(chip.Reading(c).baseline - startBaseline[c]), 100) << c;
    }
}

TEST(SimulatedChipTest, SameSeedGivesTheSameFramesAndLengthCanBeMalformed) {
    SimulatedChip one(32, 255, 9);
    SimulatedChip two(32, 255, 9);
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(one.NextFrame(), two.NextFrame());
    }
    EXPECT_EQ(one.NextFrame()[2], 255);
    EXPECT_EQ(SimulatedChip(40, -1, 1).Channels(), 32);
}

}  // namespace
