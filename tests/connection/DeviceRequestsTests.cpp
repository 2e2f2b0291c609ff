// The device requests against the adapter simulator, through the real request module: the
// store must end up holding exactly what the simulated chip measured.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "device/connection/DeviceRequests.h"
#include "request/DebugCmdProcess.h"
#include "tessik/AdapterSimulator.h"
#include "tessik/SimulatedChip.h"

namespace {

class DeviceRequestsTest : public ::testing::Test {
  protected:
    void Start(SimulatorConfig config) {
        config.reportDelayMicros = 0;
        this->config = config;
        adapter.Configure(config);
        ASSERT_TRUE(adapter.Open(kAdapterVendorId, kAdapterProductId));
        ASSERT_TRUE(adapter.SetTimeout(20));
        module.Attach(&adapter);
        requests.Use(&module);
    }
    std::uint32_t SampleCount(std::uint32_t position) const {
        return store.Channel(position).SampleCount();
    }

    SimulatorConfig config;
    AdapterSimulator adapter;
    DebugCmdProcess module;
    DeviceRequests requests;
    TouchSampleStore store;
};

TEST_F(DeviceRequestsTest, StoreHoldsWhatTheChipMeasured) {
    SimulatorConfig chosen;
    chosen.channels = 32;
    chosen.seed = 77;
    Start(chosen);
    SimulatedChip twin(32, -1, 77);

    ASSERT_TRUE(requests.StartStreaming());
    EXPECT_EQ(adapter.Statistics().streaming, 1u);
    ASSERT_TRUE(requests.ReadChannelLayout(store));
    twin.NextFrame();  // the layout frame's values are not stored
    ASSERT_TRUE(requests.StopStreaming());
    EXPECT_EQ(adapter.Statistics().streaming, 0u);
    ASSERT_EQ(requests.ChannelCount(), 32);
    ASSERT_EQ(store.ChannelCount(), 32u);

    ASSERT_TRUE(requests.StartStreaming());
    constexpr std::uint32_t kFrames = 400;
    for (std::uint32_t frame = 0; frame < kFrames; ++frame) {
        ASSERT_TRUE(requests.ReadFrame(store));
        twin.NextFrame();
        for (int c = 0; c < 32; ++c) {
            const ChannelReading reading = twin.Reading(c);
            const ChannelSamples& channel = store.Channel(static_cast<std::uint32_t>(c));
            const std::uint32_t at = kLeadingZeroSamples + frame;
            ASSERT_EQ(channel.Series(SampleQuantity::Baseline).At(at), reading.baseline);
            ASSERT_EQ(channel.Series(SampleQuantity::Filtered).At(at), reading.filtered);
            ASSERT_EQ(channel.Series(SampleQuantity::Difference).At(at),
                      reading.baseline - reading.filtered);
            ASSERT_EQ(channel.Series(SampleQuantity::Noise).At(at), reading.noise);
        }
    }
    ASSERT_TRUE(requests.StopStreaming());
    EXPECT_EQ(SampleCount(31), kLeadingZeroSamples + kFrames);
    EXPECT_EQ(adapter.Statistics().protocolErrors, 0u);
}

TEST_F(DeviceRequestsTest, LayoutFollowsTheChannelCountAndTheLengthByte) {
    struct Case {
        int channels, layoutLength, expected;
    };
    for (const Case& c : {Case{8, -1, 8}, Case{0, -1, 0}, Case{1, -1, 1}, Case{3, 5, 0},
                          Case{32, 200, 32}, Case{32, 255, 32}}) {
        TouchSampleStore fresh;
        SimulatorConfig chosen;
        chosen.channels = c.channels;
        chosen.layoutLength = c.layoutLength;
        Start(chosen);
        ASSERT_TRUE(requests.ReadChannelLayout(fresh));
        EXPECT_EQ(requests.ChannelCount(), c.expected) << c.channels << " / " << c.layoutLength;
        EXPECT_EQ(fresh.ChannelCount(), static_cast<std::uint32_t>(c.expected));
        EXPECT_TRUE(requests.ReadFrame(fresh));  // also with no channel at all
    }
}

TEST_F(DeviceRequestsTest, FailedFrameReadsLeaveTheStoreAlone) {
    for (SimulatorFault fault : {SimulatorFault::ReadFails, SimulatorFault::WrongStatus,
                                 SimulatorFault::Silent, SimulatorFault::Disconnect}) {
        TouchSampleStore fresh;
        SimulatorConfig chosen;
        chosen.fault = fault;
        chosen.faultAfterFrames = 3;  // the layout read and two frames go through
        Start(chosen);
        ASSERT_TRUE(requests.ReadChannelLayout(fresh));
        ASSERT_TRUE(requests.ReadFrame(fresh));
        ASSERT_TRUE(requests.ReadFrame(fresh));
        EXPECT_FALSE(requests.ReadFrame(fresh)) << static_cast<int>(fault);
        for (std::uint32_t c = 0; c < fresh.ChannelCount(); ++c) {
            EXPECT_EQ(fresh.Channel(c).SampleCount(), kLeadingZeroSamples + 2);
        }
    }
    EXPECT_FALSE(adapter.Open(kAdapterVendorId, kAdapterProductId));  // stays unplugged
}

TEST_F(DeviceRequestsTest, AFrameOfShortDataReportsIsAFailedReadThatLeavesTheStoreAlone) {
    SimulatorConfig chosen;
    chosen.channels = 32;
    chosen.fault = SimulatorFault::ShortData;
    chosen.faultAfterFrames = 2;
    chosen.faultLength = 1;
    Start(chosen);
    SimulatedChip twin(32, -1, chosen.seed);
    ASSERT_TRUE(requests.ReadChannelLayout(store));
    twin.NextFrame();
    ASSERT_TRUE(requests.ReadFrame(store));
    twin.NextFrame();
    // Each report brings 30 of its 60 bytes: decoded, the chip's bytes 0-29, 60-89, ... would
    // stand packed together, with zeros after them.
    EXPECT_FALSE(requests.ReadFrame(store));
    twin.NextFrame();
    for (std::uint32_t c = 0; c < 32; ++c) {
        EXPECT_EQ(SampleCount(c), kLeadingZeroSamples + 1) << c;
    }
    // Whole answers again: the next frame is the chip's own.
    ASSERT_TRUE(requests.ReadFrame(store));
    twin.NextFrame();
    EXPECT_EQ(store.Channel(31).Series(SampleQuantity::Noise).Last(), twin.Reading(31).noise);
    EXPECT_EQ(store.Channel(31).Series(SampleQuantity::Baseline).Last(), twin.Reading(31).baseline);
}

TEST(DeviceRequestsWithoutModuleTest, EveryRequestFails) {
    DeviceRequests requests;
    TouchSampleStore store;
    EXPECT_FALSE(requests.StartStreaming());
    EXPECT_FALSE(requests.ReadChannelLayout(store));
    EXPECT_FALSE(requests.ReadFrame(store));
    EXPECT_FALSE(requests.StopStreaming());
    EXPECT_EQ(store.ChannelCount(), 0u);
}

TEST_F(DeviceRequestsTest, RequestsFromTwoThreadsNeverInterleave) {
    SimulatorConfig chosen;
    chosen.channels = 8;
    Start(chosen);
    ASSERT_TRUE(requests.ReadChannelLayout(store));

    // The adapter thread reads frames while another thread sends start and stop requests.
    std::atomic<int> failedReads{0};
    std::thread worker([&] {
        for (int i = 0; i < 2000; ++i) {
            failedReads += requests.ReadFrame(store) ? 0 : 1;
        }
    });
    int failedCommands = 0;
    for (int i = 0; i < 500; ++i) {
        failedCommands += requests.StartStreaming() ? 0 : 1;
        failedCommands += requests.StopStreaming() ? 0 : 1;
    }
    worker.join();

    EXPECT_EQ(failedReads, 0);
    EXPECT_EQ(failedCommands, 0);
    const SimulatorStatistics record = adapter.Statistics();
    EXPECT_EQ(record.protocolErrors, 0u);
    EXPECT_EQ(record.resyncs, 0u);
    EXPECT_EQ(store.Channel(0).SampleCount(), kLeadingZeroSamples + 2000);
}

}  // namespace
