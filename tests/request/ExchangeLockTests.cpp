// Two threads running exchanges against one adapter: the exchange lock keeps every request and
// its answers together. The simulated adapter drops unread answers when a new request arrives,
// so an interleaved exchange would fail.

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>

#include "request/DebugCmdProcess.h"
#include "tessik/AdapterSimulator.h"

namespace {

TEST(ExchangeLockTest, SerialisesExchangesOfTwoThreads) {
    SimulatorConfig config;
    config.reportDelayMicros = 20;  // long enough for the threads to meet inside an exchange
    AdapterSimulator adapter(config);
    ASSERT_TRUE(adapter.Open(kAdapterVendorId, kAdapterProductId));

    // Each thread describes its own requests; both share the adapter and the module's lock.
    DebugCmdProcess frames;
    DebugCmdProcess commands;
    frames.Attach(&adapter);
    commands.Attach(&adapter);

    constexpr int kRounds = 150;
    std::atomic<int> failures{0};
    std::thread reader([&] {
        std::array<std::uint8_t, 200> frame{};
        for (int i = 0; i < kRounds; ++i) {
            frames.SetTransferRequest(0xF4, 0x25, 1, frame.data(), 0, 200);
            if (!frames.Execute() || frame[0] != 0x55) {
                ++failures;
            }
        }
    });
    std::thread commander([&] {
        for (int i = 0; i < kRounds; ++i) {
            std::uint16_t status = 0xFFFF;
            commands.SetCommandRequest(0xF4, i % 2 == 0 ? 0x24 : 0x26, &status, nullptr, 0);
            if (!commands.Execute() || status != 0) {
                ++failures;
            }
        }
    });
    reader.join();
    commander.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(adapter.Statistics().framesServed, static_cast<std::uint32_t>(kRounds));
    EXPECT_EQ(adapter.Statistics().protocolErrors, 0u);
}

}  // namespace
