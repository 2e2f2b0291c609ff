#include <gtest/gtest.h>

#include "device/store/FrameDecoding.h"
#include "tests/store/TestFrame.h"

namespace {

// Decodes a first frame with the given length byte on a fresh store.
struct Layout {
    TouchSampleStore store;
    std::uint8_t count = 0xEE;
    bool ok = false;

    explicit Layout(const Frame& frame) { ok = DecodeChannelLayout(frame.data(), store, count); }
};

std::uint32_t ChannelsFor(std::uint8_t length) {
    Layout layout(MakeFrame(length));
    EXPECT_TRUE(layout.ok);
    EXPECT_EQ(layout.store.ChannelCount(), layout.count);
    return layout.count;
}

TEST(ChannelLayout, CountFollowsTheLengthByte) {
    EXPECT_EQ(ChannelsFor(194), 32u);
    EXPECT_EQ(ChannelsFor(8), 1u);
    for (std::uint8_t length = 20; length <= 25; ++length) {
        EXPECT_EQ(ChannelsFor(length), 3u) << "L = " << int{length};
    }
    for (std::uint8_t length : {0, 1, 2, 7}) {
        EXPECT_EQ(ChannelsFor(length), 0u) << "L = " << int{length};
    }
}

TEST(ChannelLayout, LengthBeyondThe32GroupsIsCutTo32) {
    EXPECT_EQ(ChannelsFor(200), 32u);
    EXPECT_EQ(ChannelsFor(255), 32u);
}

TEST(ChannelLayout, ChannelsAreNumberedByPositionAndHoldOnlyLeadingZeros) {
    Frame frame = MakeFrame(26);
    PutGroup(frame, 0, 0x1234, 0x0042, 0x0007);  // values of the first frame are not stored
    Layout layout(frame);
    ASSERT_EQ(layout.store.ChannelCount(), 4u);
    for (std::uint32_t p = 0; p < 4; ++p) {
        const ChannelSamples& channel = layout.store.Channel(p);
        EXPECT_EQ(channel.channel, p);
        for (SampleQuantity q : kAllSampleQuantities) {
            ASSERT_EQ(channel.Series(q).Size(), kLeadingZeroSamples);
            EXPECT_EQ(channel.Series(q).Last(), 0);
        }
    }
}

TEST(ChannelLayout, WrongHeaderFailsAndChangesNothing) {
    for (const Frame& frame :
         {MakeFrame(26, 0x55, 0xAB), MakeFrame(26, 0x54, 0xAA), MakeFrame(26, 0xAA, 0x55)}) {
        Layout layout(frame);
        EXPECT_FALSE(layout.ok);
        EXPECT_EQ(layout.count, 0xEE);
        EXPECT_EQ(layout.store.ChannelCount(), 0u);
    }
    TouchSampleStore store;
    std::uint8_t count = 3;
    EXPECT_FALSE(DecodeChannelLayout(nullptr, store, count));
    EXPECT_EQ(count, 3);
}

class SampleDecoding : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(DecodeChannelLayout(MakeFrame(20).data(), store_, count_));
        ASSERT_EQ(count_, 3);
    }

    std::int32_t Newest(std::uint32_t position, SampleQuantity q) const {
        return store_.Channel(position).Series(q).Last();
    }

    TouchSampleStore store_;
    std::uint8_t count_ = 0;
};

TEST_F(SampleDecoding, WordsAreReadMostSignificantByteFirst) {
    Frame frame = MakeFrame(20);
    PutGroup(frame, 0, 0x1234, 0x0102, 0xA0B0);
    PutGroup(frame, 2, 0x00FF, 0xFF00, 0x8001);
    DecodeSamples(frame.data(), count_, store_);
    EXPECT_EQ(Newest(0, SampleQuantity::Baseline), 0x1234);
    EXPECT_EQ(Newest(0, SampleQuantity::Filtered), 0x0102);
    EXPECT_EQ(Newest(0, SampleQuantity::Difference), 0x1234 - 0x0102);
    EXPECT_EQ(Newest(0, SampleQuantity::Noise), 0xA0B0);  // unsigned, not sign-extended
    EXPECT_EQ(Newest(1, SampleQuantity::Baseline), 0);
    EXPECT_EQ(Newest(2, SampleQuantity::Baseline), 0x00FF);
    EXPECT_EQ(Newest(2, SampleQuantity::Filtered), 0xFF00);
    EXPECT_EQ(Newest(2, SampleQuantity::Noise), 0x8001);
    for (std::uint32_t p = 0; p < 3; ++p) {
        EXPECT_EQ(store_.Channel(p).SampleCount(), kLeadingZeroSamples + 1);
    }
}

TEST_F(SampleDecoding, DifferenceSpansTheFullSignedRange) {
    Frame frame = MakeFrame(20);
    PutGroup(frame, 0, 0x0001, 0xFFFF, 0);
    PutGroup(frame, 1, 0xFFFF, 0x0000, 0);
    DecodeSamples(frame.data(), count_, store_);
    EXPECT_EQ(Newest(0, SampleQuantity::Difference), -65534);
    EXPECT_EQ(Newest(1, SampleQuantity::Difference), 65535);
}

TEST_F(SampleDecoding, LaterFramesUseTheFirstFramesCountWhateverTheirHeader) {
    Frame frame = MakeFrame(194, 0x00, 0x00);  // header and length of this frame are ignored
    for (std::uint32_t c = 0; c < 32; ++c) {
        PutGroup(frame, c, static_cast<std::uint16_t>(c + 1), 0, 0);
    }
    DecodeSamples(frame.data(), count_, store_);
    ASSERT_EQ(store_.ChannelCount(), 3u);
    EXPECT_EQ(Newest(2, SampleQuantity::Baseline), 3);

    frame[2] = 0;  // a length of 0 does not stop the decoding either
    DecodeSamples(frame.data(), count_, store_);
    EXPECT_EQ(store_.Channel(0).SampleCount(), kLeadingZeroSamples + 2);
}

TEST_F(SampleDecoding, CountAboveWhatTheStoreHoldsIsSkipped) {
    Frame frame = MakeFrame(20);
    PutGroup(frame, 2, 9, 0, 0);
    DecodeSamples(frame.data(), 255, store_);  // past 32 groups and past the store's 3
    EXPECT_EQ(Newest(2, SampleQuantity::Baseline), 9);
    EXPECT_EQ(store_.ChannelCount(), 3u);

    store_.RemoveAllChannels();
    DecodeSamples(frame.data(), count_, store_);
    EXPECT_EQ(store_.ChannelCount(), 0u);
    DecodeSamples(nullptr, count_, store_);
}

TEST_F(SampleDecoding, ClearSamplesKeepsChannelsAndRestartsWithZeros) {
    Frame frame = MakeFrame(20);
    PutGroup(frame, 1, 500, 100, 3);
    for (int i = 0; i < 5; ++i) {
        DecodeSamples(frame.data(), count_, store_);
    }
    store_.ClearSamples();
    ASSERT_EQ(store_.ChannelCount(), 3u);
    for (std::uint32_t p = 0; p < 3; ++p) {
        const ChannelSamples& channel = store_.Channel(p);
        EXPECT_EQ(channel.channel, p);
        EXPECT_EQ(channel.SampleCount(), kLeadingZeroSamples);
        for (SampleQuantity q : kAllSampleQuantities) {
            const SampleSeries& series = channel.Series(q);
            ASSERT_EQ(series.Size(), kLeadingZeroSamples);
            for (std::uint32_t i = 0; i < series.Size(); ++i) {
                ASSERT_EQ(series.At(i), 0);
            }
        }
    }
}

TEST_F(SampleDecoding, FramesAreCountedUntilTheNextClear) {
    const Frame frame = MakeFrame(20);
    for (int i = 0; i < 7; ++i) {
        DecodeSamples(frame.data(), count_, store_);
    }
    EXPECT_EQ(store_.FrameCount(), 7u);
    EXPECT_EQ(store_.Channel(0).SampleCount(), kLeadingZeroSamples + store_.FrameCount());
    store_.ClearSamples();
    EXPECT_EQ(store_.FrameCount(), 0u);

    // A chip without channels still delivers frames.
    TouchSampleStore empty;
    std::uint8_t none = 0;
    ASSERT_TRUE(DecodeChannelLayout(MakeFrame(7).data(), empty, none));
    DecodeSamples(frame.data(), none, empty);
    EXPECT_EQ(empty.FrameCount(), 1u);
}

TEST_F(SampleDecoding, HandOverMovesChannelsSamplesAndFrameCount) {
    Frame frame = MakeFrame(20);
    PutGroup(frame, 2, 700, 650, 4);
    for (int i = 0; i < 3; ++i) {
        DecodeSamples(frame.data(), count_, store_);
    }
    TouchSampleStore kept;
    kept.AppendChannel(ChannelSamples(9));  // what it held before is dropped
    const SampleSeries* moved = &store_.Channel(2).Series(SampleQuantity::Difference);
    store_.HandOverTo(kept);

    EXPECT_EQ(store_.ChannelCount(), 0u);
    EXPECT_EQ(store_.FrameCount(), 0u);
    ASSERT_EQ(kept.ChannelCount(), 3u);
    EXPECT_EQ(kept.FrameCount(), 3u);
    EXPECT_EQ(&kept.Channel(2).Series(SampleQuantity::Difference), moved) << "copied, not moved";
    EXPECT_EQ(kept.Channel(2).Series(SampleQuantity::Difference).Last(), 50);
    EXPECT_EQ(kept.Channel(2).SampleCount(), kLeadingZeroSamples + 3);

    // The emptied store takes a new layout as after a close.
    std::uint8_t count = 0;
    ASSERT_TRUE(DecodeChannelLayout(MakeFrame(8).data(), store_, count));
    EXPECT_EQ(store_.ChannelCount(), 1u);
    EXPECT_EQ(kept.ChannelCount(), 3u);
}

TEST(TouchSampleStore, RefusesMoreThan32Channels) {
    TouchSampleStore store;
    for (std::uint32_t c = 0; c < kMaxTouchChannels; ++c) {
        EXPECT_TRUE(store.AppendChannel(ChannelSamples(c)));
    }
    EXPECT_FALSE(store.AppendChannel(ChannelSamples(32)));
    EXPECT_EQ(store.ChannelCount(), kMaxTouchChannels);
}

}  // namespace
