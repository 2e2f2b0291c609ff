// libFuzzer target: arbitrary measurement frames decoded into the store. The decoding must
// stay inside the 200 bytes of each frame (the frames are exactly sized heap blocks, watched by
// AddressSanitizer) and must keep the store's invariants whatever the frames say.
//
// Input: byte 0 chooses the channel count given to the later frames (even: the layout's own,
// odd: byte 0 / 2, which may exceed what the store holds); then 200 bytes per frame, the first
// one read as the layout frame, a short last frame padded with zeros.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "device/store/FrameDecoding.h"
#include "device/store/TouchSampleStore.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::unique_ptr<std::uint8_t[]> NextFrame(const std::uint8_t*& data, std::size_t& size) {
    auto frame = std::make_unique<std::uint8_t[]>(kMeasurementFrameSize);
    const std::size_t taken = size < kMeasurementFrameSize ? size : kMeasurementFrameSize;
    std::memcpy(frame.get(), data, taken);
    data += taken;
    size -= taken;
    return frame;
}

std::uint16_t Word(const std::uint8_t* frame, std::size_t at) {
    return static_cast<std::uint16_t>((frame[at] << 8) | frame[at + 1]);
}

// Every channel's four series have one length: grown for the first decoded channels, the
// leading zeros for the others; and the decoded channels' newest samples are the frame's words.
void CheckNewest(const TouchSampleStore& store, const std::uint8_t* frame, std::uint32_t decoded,
                 std::uint32_t grownLength) {
    for (std::uint32_t c = 0; c < store.ChannelCount(); ++c) {
        const ChannelSamples& channel = store.Channel(c);
        const std::uint32_t expected = c < decoded ? grownLength : kLeadingZeroSamples;
        for (SampleQuantity quantity : {SampleQuantity::Baseline, SampleQuantity::Filtered,
                                        SampleQuantity::Difference, SampleQuantity::Noise}) {
            Check(channel.Series(quantity).Size() == expected);
        }
        if (c >= decoded) {
            continue;
        }
        const std::size_t group = 3 + 6 * c;
        const std::int32_t baseline = channel.Series(SampleQuantity::Baseline).Last();
        const std::int32_t filtered = channel.Series(SampleQuantity::Filtered).Last();
        Check(baseline == Word(frame, group) && filtered == Word(frame, group + 2));
        Check(channel.Series(SampleQuantity::Noise).Last() == Word(frame, group + 4));
        Check(channel.Series(SampleQuantity::Difference).Last() == baseline - filtered);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::uint8_t choice = *data++;
    --size;
    TouchSampleStore store;
    const auto layout = NextFrame(data, size);
    std::uint8_t channelCount = 0xEE;
    const bool header = layout[0] == 0x55 && layout[1] == 0xAA;
    const bool known = DecodeChannelLayout(layout.get(), store, channelCount);
    Check(known == header);
    if (!known) {
        Check(channelCount == 0xEE && store.ChannelCount() == 0);
        return 0;
    }
    Check(channelCount <= kMaxTouchChannels && store.ChannelCount() == channelCount);
    for (std::uint32_t c = 0; c < store.ChannelCount(); ++c) {
        Check(store.Channel(c).channel == c);
    }
    CheckNewest(store, layout.get(), 0, kLeadingZeroSamples);

    const std::uint8_t given = (choice & 1) != 0 ? choice / 2 : channelCount;
    const std::uint32_t decoded = given < store.ChannelCount() ? given : store.ChannelCount();
    std::uint32_t length = kLeadingZeroSamples;
    while (size > 0) {
        const auto frame = NextFrame(data, size);
        DecodeSamples(frame.get(), given, store);
        CheckNewest(store, frame.get(), decoded, ++length);
    }
    return 0;
}
