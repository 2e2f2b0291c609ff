#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>

#include "device/FrameDecoding.h"
#include "tests/store/TestFrame.h"

namespace {

constexpr std::uint32_t kFrames = 3000;
constexpr std::uint32_t kWindow = 50;

// Frame k (1-based) carries k as every baseline, so a sample's frame is known from it alone.
std::uint16_t FilteredOf(std::uint32_t baseline, std::uint32_t channel) {
    return static_cast<std::uint16_t>((baseline * 7 + channel) & 0xFFFF);
}

Frame FrameNumber(std::uint32_t k) {
    Frame frame = MakeFrame(194);
    for (std::uint32_t c = 0; c < kMaxTouchChannels; ++c) {
        PutGroup(frame, c, static_cast<std::uint16_t>(k), FilteredOf(k, c),
                 static_cast<std::uint16_t>(c));
    }
    return frame;
}

// One pass of a page over the store: the window of every series plus the newest values.
// Returns false at the first inconsistency, which the caller reports.
bool ReadPassIsConsistent(const TouchSampleStore& store, std::uint32_t& newestBaseline) {
    auto guard = store.Lock();
    for (std::uint32_t p = 0; p < store.ChannelCount(); ++p) {
        const ChannelSamples& channel = store.Channel(p);
        std::array<std::array<double, kWindow>, kSampleQuantityCount> window{};
        for (SampleQuantity q : kAllSampleQuantities) {
            if (channel.Series(q).Size() != channel.SampleCount() ||
                channel.SampleCount() < kLeadingZeroSamples) {
                return false;
            }
            channel.Series(q).CopyTail(window[QuantityIndex(q)].data(), kWindow);
            if (window[QuantityIndex(q)][kWindow - 1] != channel.Series(q).Last()) {
                return false;
            }
        }
        for (std::uint32_t i = 0; i < kWindow; ++i) {
            const auto b = static_cast<std::uint32_t>(window[0][i]);
            const std::int32_t filtered = FilteredOf(b, p);
            const std::int32_t expected[] = {static_cast<std::int32_t>(b), filtered,
                                             static_cast<std::int32_t>(b) - filtered,
                                             static_cast<std::int32_t>(p)};
            for (std::size_t q = 0; q < kSampleQuantityCount; ++q) {
                if (b == 0 ? window[q][i] != 0 : window[q][i] != expected[q]) {
                    return false;
                }
            }
            // Frames arrive in order: after the leading zeros each sample is the next frame.
            if (i > 0 && window[0][i - 1] != 0 && b != window[0][i - 1] + 1) {
                return false;
            }
        }
        newestBaseline =
            static_cast<std::uint32_t>(channel.Series(SampleQuantity::Baseline).Last());
    }
    return true;
}

TEST(StoreConcurrency, PagesReadConsistentSeriesWhileFramesAreDecoded) {
    TouchSampleStore store;
    std::uint8_t count = 0;
    ASSERT_TRUE(DecodeChannelLayout(MakeFrame(194).data(), store, count));

    std::atomic<bool> decoding{true};
    std::thread worker([&] {
        for (std::uint32_t k = 1; k <= kFrames; ++k) {
            DecodeSamples(FrameNumber(k).data(), count, store);
        }
        decoding = false;
    });

    std::uint32_t passes = 0;
    std::uint32_t newest = 0;
    bool consistent = true;
    while (consistent && decoding) {
        consistent = ReadPassIsConsistent(store, newest);
        if (++passes % 64 == 0) {
            store.ClearSamples();  // the clear button, pressed while frames keep coming
        }
    }
    worker.join();

    EXPECT_TRUE(consistent) << "inconsistent store seen on pass " << passes;
    // The reader may have cleared after the worker's last frame; one more frame must still
    // land after whatever is stored.
    DecodeSamples(FrameNumber(kFrames + 1).data(), count, store);
    ASSERT_TRUE(ReadPassIsConsistent(store, newest));
    EXPECT_EQ(newest, kFrames + 1);
}

}  // namespace
