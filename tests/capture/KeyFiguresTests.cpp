// The per-key figures against values worked out by hand on small recordings.

#include "capture/KeyFigures.h"
#include "capture/SummaryReport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

KeySamples Recording(const std::vector<int>& differences, int baseline = 1000) {
    KeySamples key(0);
    for (int d : differences) {
        EXPECT_TRUE(key.Add(baseline, d));
    }
    return key;
}

TEST(KeyFigures, TouchedRecordingMatchesHandWorkedFigures) {
    // Sorted: -2 -1 0 0 0 1 1 2 | 50 52. Median (0 + 1) / 2 = 0.5; deviations from it sorted
    // 0.5 x5, 1.5 x2, 2.5, 49.5, 51.5, so MAD = (0.5 + 1.5) / 2 = 1; threshold 0.5 + 14.826.
    KeySamples key = Recording({0, 1, -1, 0, 50, 2, -2, 0, 52, 1});
    EXPECT_DOUBLE_EQ(key.Median(), 0.5);
    EXPECT_DOUBLE_EQ(key.MedianAbsoluteDeviation(), 1.0);
    EXPECT_DOUBLE_EQ(key.DefaultThreshold(), 0.5 + 14.826);

    KeyFigures f = key.Judge({});
    EXPECT_EQ(f.samples, 10u);
    EXPECT_DOUBLE_EQ(f.baselineMean, 1000.0);
    EXPECT_EQ(f.quietSamples, 8u);
    EXPECT_EQ(f.touchedSamples, 2u);
    EXPECT_EQ(f.noise, 4);
    EXPECT_DOUBLE_EQ(f.touchDelta, 51.0 - 0.125);
    EXPECT_DOUBLE_EQ(f.snr, 50.875 / 4);
    EXPECT_EQ(f.verdict, KeyVerdict::Pass);

    JudgeSettings strict;
    strict.minSnr = 13.0;
    EXPECT_EQ(key.Judge(strict).verdict, KeyVerdict::Fail);
}

TEST(KeyFigures, OddCountMedianAndDeviation) {
    // Median 3; deviations 2 1 0 1 97 sorted 0 1 1 2 97: MAD 1.
    KeySamples key = Recording({1, 2, 3, 4, 100});
    EXPECT_DOUBLE_EQ(key.Median(), 3.0);
    EXPECT_DOUBLE_EQ(key.MedianAbsoluteDeviation(), 1.0);
}

TEST(KeyFigures, QuietRecordingShowsItsNoiseButNoTouch) {
    KeySamples key = Recording({3, -3, 0, 1, -1, 2, -2, 0});
    KeyFigures f = key.Judge({});
    EXPECT_EQ(f.verdict, KeyVerdict::NoTouch);
    EXPECT_EQ(f.noise, 6);
    EXPECT_EQ(f.touchedSamples, 0u);
    EXPECT_STREQ(VerdictText(f.verdict), "no touch");
}

TEST(KeyFigures, ZeroNoiseUnderATouchIsAnInfiniteRatioThatPasses) {
    // MAD 0: the threshold is the median plus the minimum margin of one count.
    KeySamples key = Recording({5, 5, 5, 5, 5, 5, 40, 40});
    EXPECT_DOUBLE_EQ(key.DefaultThreshold(), 6.0);
    KeyFigures f = key.Judge({});
    EXPECT_EQ(f.noise, 0);
    EXPECT_TRUE(std::isinf(f.snr));
    EXPECT_EQ(f.verdict, KeyVerdict::Pass);
    EXPECT_NE(FormatSummaryTable({f}, 5.0).find("inf"), std::string::npos);
}

TEST(KeyFigures, GivenThresholdDecidesWhatIsTouched) {
    KeySamples key = Recording({0, 1, 2, 3, 10, 11});
    JudgeSettings settings;
    settings.threshold = 3.0;  // at or above is touched
    KeyFigures f = key.Judge(settings);
    EXPECT_EQ(f.touchedSamples, 3u);
    EXPECT_EQ(f.noise, 2);
    EXPECT_DOUBLE_EQ(f.touchDelta, 8.0 - 1.0);

    settings.threshold = -100.0;
    EXPECT_EQ(key.Judge(settings).verdict, KeyVerdict::NoQuiet);
}

TEST(KeyFigures, EmptyChannelAndImpossibleDifferences) {
    KeySamples key(3);
    EXPECT_FALSE(key.Add(0, 65536));
    EXPECT_FALSE(key.Add(0, -65536));
    EXPECT_TRUE(key.Add(0, -65535));
    EXPECT_TRUE(key.Add(0, 65535));
    EXPECT_EQ(key.Count(), 2u);
    EXPECT_EQ(KeySamples(3).Judge({}).verdict, KeyVerdict::NoData);
    EXPECT_EQ(KeySamples(3).Judge({}).channel, 3u);
}

TEST(SummaryReport, ExitVerdictNeedsEveryChannelToPass) {
    KeyFigures pass;
    pass.verdict = KeyVerdict::Pass;
    KeyFigures noTouch;
    noTouch.verdict = KeyVerdict::NoTouch;
    EXPECT_TRUE(AllKeysPass({pass, pass}));
    EXPECT_FALSE(AllKeysPass({pass, noTouch}));
    EXPECT_FALSE(AllKeysPass({}));
}

TEST(SummaryReport, CsvLeavesFiguresWithoutMeaningEmpty) {
    KeySamples touched = Recording({0, 1, -1, 0, 50, 2, -2, 0, 52, 1});
    KeySamples quiet = Recording({1, 2});
    std::vector<KeyFigures> keys = {touched.Judge({}), quiet.Judge({})};
    keys[1].channel = 1;
    EXPECT_EQ(FormatSummaryCsv(keys),
              "channel,samples,baseline_mean,noise_pp,touch_delta,snr,result\n"
              "1,10,1000.0,4,50.9,12.72,pass\n"
              "2,2,1000.0,1,,,no touch\n");
}

}  // namespace
