#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "device/store/SampleSeries.h"

using ::testing::Each;
using ::testing::ElementsAreArray;

namespace {

// A series holding 1, 2, ..., size, so every value names its index + 1.
SampleSeries Numbered(std::uint32_t size) {
    SampleSeries series;
    for (std::uint32_t i = 1; i <= size; ++i) {
        series.Append(static_cast<std::int32_t>(i));
    }
    return series;
}

std::vector<double> Range(double first, double last) {
    std::vector<double> values;
    for (double v = first; v <= last; ++v) {
        values.push_back(v);
    }
    return values;
}

constexpr double kUntouched = -7.5;

TEST(SampleSeries, ReadsOutsideTheSamplesGiveZero) {
    SampleSeries series;
    EXPECT_EQ(series.Last(), 0);
    series.Append(-65535);
    EXPECT_EQ(series.At(0), -65535);
    EXPECT_EQ(series.At(1), 0);
    series.Clear();
    EXPECT_EQ(series.Last(), 0);
}

TEST(SampleSeries, CopyTailPadsWithLeadingZerosWhenShort) {
    const SampleSeries series = Numbered(100);
    std::vector<double> out(150, kUntouched);
    series.CopyTail(out.data(), 150);
    EXPECT_THAT(std::vector<double>(out.begin(), out.begin() + 50), Each(0.0));
    EXPECT_THAT(std::vector<double>(out.begin() + 50, out.end()), ElementsAreArray(Range(1, 100)));
}

TEST(SampleSeries, CopyTailTakesTheNewestOldestFirst) {
    const SampleSeries series = Numbered(100);
    std::vector<double> out(31, kUntouched);
    series.CopyTail(out.data(), 30);
    EXPECT_THAT(std::vector<double>(out.begin(), out.begin() + 30),
                ElementsAreArray(Range(71, 100)));  // indices 70 to 99
    EXPECT_EQ(out[30], kUntouched);
    series.CopyTail(nullptr, 0);  // nothing to write: must not touch out
}

TEST(SampleSeries, CopyRangeStopsAtTheEndAndLeavesTheRest) {
    const SampleSeries series = Numbered(100);
    std::vector<double> out(20, kUntouched);
    EXPECT_EQ(series.CopyRange(out.data(), 90, 20), 10u);
    EXPECT_THAT(std::vector<double>(out.begin(), out.begin() + 10),
                ElementsAreArray(Range(91, 100)));
    EXPECT_THAT(std::vector<double>(out.begin() + 10, out.end()), Each(kUntouched));

    EXPECT_EQ(series.CopyRange(out.data(), 0, 20), 20u);
    EXPECT_THAT(out, ElementsAreArray(Range(1, 20)));
}

TEST(SampleSeries, CopyRangeFromOrPastTheEndWritesNothing) {
    const SampleSeries series = Numbered(100);
    std::vector<double> out(4, kUntouched);
    EXPECT_EQ(series.CopyRange(out.data(), 100, 4), 0u);
    EXPECT_EQ(series.CopyRange(out.data(), 0xFFFFFFF0u, 0x20), 0u);
    EXPECT_THAT(out, Each(kUntouched));
    // start + count overflows 32 bits: still only the samples up to the end.
    EXPECT_EQ(series.CopyRange(out.data(), 98, 0xFFFFFFFFu), 2u);
    EXPECT_THAT(out, ElementsAreArray({99.0, 100.0, kUntouched, kUntouched}));
}

// Series that start at the beginning of a block or part-way into it, as the store staggers them.
class BlockedSeries : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(BlockedSeries, SamplesAcrossBlocksReadAsOneSequence) {
    constexpr std::uint32_t kSize = 3 * SampleSeries::kBlockSamples + 17;
    SampleSeries series(GetParam());
    for (std::uint32_t i = 1; i <= kSize; ++i) {
        series.Append(static_cast<std::int32_t>(i));
    }
    ASSERT_EQ(series.Size(), kSize);
    for (std::uint32_t i = 0; i < kSize; i += 97) {
        ASSERT_EQ(series.At(i), static_cast<std::int32_t>(i + 1)) << i;
    }
    EXPECT_EQ(series.At(SampleSeries::kBlockSamples), int(SampleSeries::kBlockSamples) + 1);
    EXPECT_EQ(series.Last(), int(kSize));
    EXPECT_EQ(series.At(kSize), 0);

    // A window that spans two block boundaries wherever the blocks begin.
    const std::uint32_t start = SampleSeries::kBlockSamples - 5;
    const std::uint32_t count = SampleSeries::kBlockSamples + 10;
    std::vector<double> out(count, kUntouched);
    EXPECT_EQ(series.CopyRange(out.data(), start, count), count);
    EXPECT_THAT(out, ElementsAreArray(Range(start + 1, start + count)));

    series.CopyTail(out.data(), count);
    EXPECT_THAT(out, ElementsAreArray(Range(kSize - count + 1, kSize)));
}

INSTANTIATE_TEST_SUITE_P(FirstBlockOffsets, BlockedSeries,
                         ::testing::Values(0u, 1u, 4000u, SampleSeries::kBlockSamples - 1));

TEST(SampleSeries, ClearGivesTheBlocksBackAndStartsAfresh) {
    SampleSeries series(100);
    for (std::uint32_t i = 0; i < SampleSeries::kBlockSamples; ++i) {
        series.Append(1);
    }
    series.Clear();
    EXPECT_EQ(series.Size(), 0u);
    EXPECT_EQ(series.At(0), 0);
    series.Append(42);
    EXPECT_EQ(series.Size(), 1u);
    EXPECT_EQ(series.Last(), 42);
    EXPECT_EQ(series.At(1), 0);
}

}  // namespace
