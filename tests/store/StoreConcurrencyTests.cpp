#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <charconv>
#include <string>
#include <string_view>
#include <thread>

#include "device/store/FrameDecoding.h"
#include "device/recording/RecordingStoreLines.h"
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

// A store into which frames 1 .. kFrames are decoded on a thread of its own while a test reads
// it; with clearEvery, the samples are also cleared after every clearEvery frames. The thread
// is joined on destruction, so a failing test cannot leave it running.
class DecodingStore {
  public:
    explicit DecodingStore(std::uint32_t clearEvery = 0) {
        EXPECT_TRUE(DecodeChannelLayout(MakeFrame(194).data(), store_, count_));
        worker_ = std::thread([this, clearEvery] {
            for (std::uint32_t k = 1; k <= kFrames; ++k) {
                DecodeSamples(FrameNumber(k).data(), count_, store_);
                if (clearEvery != 0 && k % clearEvery == 0) {
                    store_.ClearSamples();
                }
            }
            decoding_ = false;
        });
    }
    ~DecodingStore() { Join(); }
    DecodingStore(const DecodingStore&) = delete;
    DecodingStore& operator=(const DecodingStore&) = delete;

    void Join() {
        if (worker_.joinable()) {
            worker_.join();
        }
    }
    bool Decoding() const { return decoding_; }
    TouchSampleStore& Store() { return store_; }
    std::uint8_t Count() const { return count_; }

  private:
    TouchSampleStore store_;
    std::uint8_t count_ = 0;
    std::atomic<bool> decoding_{true};
    std::thread worker_;
};

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
    DecodingStore decoding;
    TouchSampleStore& store = decoding.Store();

    std::uint32_t passes = 0;
    std::uint32_t newest = 0;
    bool consistent = true;
    while (consistent && decoding.Decoding()) {
        consistent = ReadPassIsConsistent(store, newest);
        if (++passes % 64 == 0) {
            store.ClearSamples();  // the clear button, pressed while frames keep coming
        }
    }
    decoding.Join();

    EXPECT_TRUE(consistent) << "inconsistent store seen on pass " << passes;
    // The reader may have cleared after the worker's last frame; one more frame must still
    // land after whatever is stored.
    DecodeSamples(FrameNumber(kFrames + 1).data(), decoding.Count(), store);
    ASSERT_TRUE(ReadPassIsConsistent(store, newest));
    EXPECT_EQ(newest, kFrames + 1);
}

// A line of the export: the row number, then every channel's four values, all of them or
// none (a row cleared a moment ago), each consistent with the frame its baseline names.
bool ExportLineIsConsistent(std::string_view line, std::uint32_t row) {
    std::array<std::string_view, 1 + kMaxTouchChannels * kSampleQuantityCount> fields;
    for (std::string_view& field : fields) {
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) {
            return false;
        }
        field = line.substr(0, comma);
        line.remove_prefix(comma + 1);
    }
    if (line != "\r\n" || fields[0] != std::to_string(row)) {
        return false;
    }
    const bool empty = fields[1].empty();
    for (std::uint32_t c = 0; c < kMaxTouchChannels; ++c) {
        std::int32_t values[kSampleQuantityCount] = {};
        for (std::size_t q = 0; q < kSampleQuantityCount; ++q) {
            const std::string_view field = fields[1 + c * kSampleQuantityCount + q];
            if (field.empty() != empty) {
                return false;
            }
            const char* end = field.data() + field.size();
            if (!empty && std::from_chars(field.data(), end, values[q]).ec != std::errc()) {
                return false;
            }
        }
        const std::int32_t filtered = FilteredOf(static_cast<std::uint32_t>(values[0]), c);
        if (!empty && values[0] != 0 &&
            (values[1] != filtered || values[2] != values[0] - filtered ||
             values[3] != static_cast<std::int32_t>(c))) {
            return false;
        }
    }
    return true;
}

TEST(StoreConcurrency, ExportsWholeConsistentLinesWhileFramesAreDecodedAndCleared) {
    DecodingStore decoding(1000);
    const TouchSampleStore& store = decoding.Store();

    std::uint32_t exports = 0;
    std::uint32_t badRow = 0;
    while (badRow == 0 && (decoding.Decoding() || exports == 0)) {
        std::string text;
        RecordingLineWriter writer([&text](std::string_view piece) {
            text += piece;
            return true;
        });
        const bool written = WriteStoreLines(store, kFrames, writer) && writer.Flush();
        ASSERT_TRUE(written);
        std::string_view lines = text;
        for (std::uint32_t row = 1; row <= kFrames && badRow == 0; ++row) {
            const std::size_t end = lines.find('\n');
            if (end == std::string_view::npos ||
                !ExportLineIsConsistent(lines.substr(0, end + 1), row)) {
                badRow = row;
            }
            lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
        }
        ++exports;
    }
    EXPECT_EQ(badRow, 0u) << "inconsistent line in export " << exports;
}

}  // namespace
