// The per-key figures on recordings shaped like real keys, written here frame by frame: the
// shapes that a rule of single samples judges wrongly, with the figures a person reading the
// curve would give.

#include "evaluation/KeyFigures.h"
#include "evaluation/SummaryReport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A jitter of -3 to 3 (peak-to-peak 6) whose every 7 frames average 0.
constexpr int kJitter[] = {0, 2, -1, 3, -3, 1, -2};

// A stretch of a curve: frames going in a straight line from one level to another.
struct Stretch {
    int frames;
    double from;
    double to;
};
Stretch Level(int frames, double level) {
    return {frames, level, level};
}

// The differences of the stretches one after the other, with the jitter added when asked.
std::vector<int> Curve(const std::vector<Stretch>& stretches, bool jitter = true) {
    std::vector<int> differences;
    for (const Stretch& s : stretches) {
        for (int k = 0; k < s.frames; ++k) {
            const double level =
                s.frames == 1 ? s.to : s.from + (s.to - s.from) * k / (s.frames - 1);
            const int wobble = jitter ? kJitter[differences.size() % 7] : 0;
            differences.push_back(static_cast<int>(std::lround(level)) + wobble);
        }
    }
    return differences;
}

KeyFigures Judge(const std::vector<int>& differences, const JudgeSettings& settings = {}) {
    KeySamples key(0);
    for (int d : differences) {
        EXPECT_TRUE(key.Add(1000, d));
    }
    return key.Judge(settings);
}

// Touches of one level, each of length frames with quiet between, at the levels given in turn.
std::vector<Stretch> Touches(std::vector<double> levels, int length = 300) {
    std::vector<Stretch> stretches = {Level(300, 0)};
    for (double level : levels) {
        stretches.push_back(Level(length, level));
        stretches.push_back(Level(300, 0));
    }
    return stretches;
}
std::vector<Stretch> Then(std::vector<Stretch> first, const std::vector<Stretch>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// Shapes that simpler rules judge wrongly, each with its true figures: the noise is the
// resting jitter's (6 peak-to-peak), the delta the median touch's (of an even number the
// lower middle one), the weakest delta the smallest touch's.
TEST(KeyFigures, KeysShapedLikeRealOnesGetTheirTrueFigures) {
    struct Case {
        const char* what;
        std::vector<int> differences;
        std::int32_t noise;
        double delta;
        std::size_t touches;
        KeyVerdict verdict;
        double weakest = 0.0;  // 0: the same as the delta
    };
    const Case cases[] = {
        {"delta 31 over noise 6: its jitter 28..34 stays touched",
         Curve({Level(700, 0), Level(210, 31), Level(700, 0)}), 6, 31.0, 1, KeyVerdict::Pass},
        {"delta 22: a weak key fails instead of showing no touch",
         Curve({Level(700, 0), Level(210, 22), Level(700, 0)}), 6, 22.0, 1, KeyVerdict::Fail},
        {"touched for most of the recording",
         Curve({Level(210, 0), Level(1400, 40), Level(210, 0)}), 6, 40.0, 1, KeyVerdict::Pass},
        {"ramps of 20 frames up and down, three touches",
         Curve({Level(350, 0),
                {20, 0, 60},
                Level(140, 60),
                {20, 60, 0},
                Level(350, 0),
                {20, 0, 60},
                Level(140, 60),
                {20, 60, 0},
                Level(350, 0),
                {20, 0, 60},
                Level(140, 60),
                {20, 60, 0},
                Level(350, 0)}),
         6, 60.0, 3, KeyVerdict::Pass},
        {"twice the noise, the weakest touch that must be found",
         Curve({Level(700, 0), Level(70, 12), Level(700, 0)}), 6, 12.0, 1, KeyVerdict::Fail},
        {"touches of 200, 400 and 600 with rises and falls, as the simulator's own",
         Curve({Level(700, 0),
                {12, 0, 200},
                Level(42, 200),
                {16, 200, 0},
                Level(700, 0),
                {12, 0, 400},
                Level(42, 400),
                {16, 400, 0},
                Level(700, 0),
                {12, 0, 600},
                Level(42, 600),
                {16, 600, 0},
                Level(700, 0)}),
         6, 400.0, 3, KeyVerdict::Pass, 200.0},
        {"a quiet level of 100, not 0", Curve({Level(700, 100), Level(70, 160), Level(700, 100)}),
         6, 60.0, 1, KeyVerdict::Pass},
        {"a fourth touch of 200 cut by the end after 3 frames",
         Curve(Then(Touches({200, 200, 200}), {Level(3, 200)})), 6, 200.0, 3, KeyVerdict::Pass},
        {"a brush of 3 frames between touches of 120",
         Curve(Then(Touches({120, 120}), Then({Level(3, 120), Level(300, 0)}, Touches({120})))), 6,
         120.0, 3, KeyVerdict::Pass},
        {"firm touches of 240 and light ones of 60 by turns",
         Curve(Touches({240, 60, 240, 60, 240})), 6, 240.0, 5, KeyVerdict::Pass, 60.0},
        {"two light and two firm: the lower middle one is the median",
         Curve(Touches({60, 240, 60, 240})), 6, 60.0, 4, KeyVerdict::Pass},
        {"starting 4 frames into a touch of 150", Curve(Then({Level(4, 150)}, Touches({150, 150}))),
         6, 150.0, 2, KeyVerdict::Pass},
        {"300 in every frame: a finger resting all along", Curve({Level(2100, 300)}), 0, 0.0, 0,
         KeyVerdict::NoQuiet},
        {"-300 in every frame: a baseline that never settled", Curve({Level(2100, -300)}), 0, 0.0,
         0, KeyVerdict::NoQuiet},
        {"a single level 11 above zero rests: nearer than twice its noise",
         Curve({Level(2100, 11)}), 6, 0.0, 0, KeyVerdict::NoTouch},
    };
    for (const Case& c : cases) {
        const KeyFigures f = Judge(c.differences);
        EXPECT_EQ(f.noise, c.noise) << c.what;
        EXPECT_NEAR(f.touchDelta, c.delta, 0.02 * c.delta) << c.what;
        EXPECT_EQ(f.runs.touches.size(), c.touches) << c.what;
        EXPECT_EQ(f.verdict, c.verdict) << c.what;
        if (c.touches > 0) {
            const double weakest = c.weakest > 0.0 ? c.weakest : c.delta;
            EXPECT_NEAR(f.snr, f.touchDelta / c.noise, 1e-9) << c.what;
            EXPECT_NEAR(f.weakestDelta, weakest, 0.02 * weakest) << c.what;
            EXPECT_NEAR(f.weakestSnr, f.weakestDelta / c.noise, 1e-9) << c.what;
        }
    }
}

TEST(KeyFigures, QuietKeysShowTheirNoiseAndNoTouch) {
    // 0 most of the time and 1 otherwise, in stretches as long as a touch: the noise is 1.
    std::vector<int> zeroOrOne;
    for (int i = 0; i < 2000; ++i) {
        zeroOrOne.push_back(i % 50 < 8 ? 1 : 0);
    }
    const KeyFigures steps = Judge(zeroOrOne);
    EXPECT_EQ(steps.verdict, KeyVerdict::NoTouch);
    EXPECT_EQ(steps.noise, 1);
    EXPECT_EQ(steps.runs.quiet.frames, 2000u);

    const KeyFigures jitter = Judge(Curve({Level(3000, 0)}));
    EXPECT_EQ(jitter.verdict, KeyVerdict::NoTouch);
    EXPECT_EQ(jitter.noise, 6);
    EXPECT_STREQ(VerdictText(jitter.verdict), "no touch");
}

TEST(KeyFigures, ZeroNoiseIsBelowOneCountAndNeverInfinite) {
    const KeyFigures f = Judge(Curve({Level(100, 5), Level(20, 45), Level(100, 5)}, false));
    EXPECT_EQ(f.noise, 0);
    EXPECT_DOUBLE_EQ(f.touchDelta, 40.0);
    EXPECT_DOUBLE_EQ(f.snr, 40.0);
    EXPECT_EQ(f.verdict, KeyVerdict::Pass);
    EXPECT_EQ(FormatSummaryTable({f}, {}, ReportLanguage::English).find("inf"), std::string::npos);
}

TEST(KeyFigures, ATouchMustLastTheMinimumFrames) {
    // Spikes of 4 frames are not touches by default; with a minimum of 4 they are.
    const std::vector<int> spikes =
        Curve({Level(700, 0), Level(4, 80), Level(700, 0), Level(4, 80), Level(700, 0)});
    EXPECT_EQ(Judge(spikes).verdict, KeyVerdict::NoTouch);
    JudgeSettings shortTouches;
    shortTouches.minTouchFrames = 4;
    const KeyFigures f = Judge(spikes, shortTouches);
    EXPECT_EQ(f.runs.touches.size(), 2u);
    EXPECT_EQ(f.runs.touches[0].frames, (FrameSpan{700, 704}));
}

TEST(KeyFigures, GivenThresholdStartsTheRunAndHysteresisHoldsIt) {
    // Quiet noise 6 (clearance 3); the touch jitters 47..53 around 50. Its frames at 47 and 48
    // lie below a threshold of 49, but the run holds until the difference falls to 46.
    JudgeSettings settings;
    settings.threshold = 49.0;
    const KeyFigures f = Judge(Curve({Level(700, 0), Level(210, 50), Level(700, 0)}), settings);
    ASSERT_EQ(f.runs.touches.size(), 1u);
    EXPECT_EQ(f.runs.touches[0].frames, (FrameSpan{700, 910}));
    EXPECT_DOUBLE_EQ(f.runs.exitLevel, 46.0);
    EXPECT_NEAR(f.touchDelta, 50.0, 1e-9);

    settings.threshold = 200.0;
    EXPECT_EQ(Judge(Curve({Level(700, 0), Level(210, 50)}), settings).verdict, KeyVerdict::NoTouch);
    settings.threshold = -100.0;
    EXPECT_EQ(Judge(Curve({Level(70, 0)}), settings).verdict, KeyVerdict::NoQuiet);
}

TEST(KeyFigures, RmsNoiseAndSuggestedThresholds) {
    // The jitter's squares sum to 28 over 7 frames: rms 2.
    const std::vector<int> key = Curve({Level(700, 0), Level(210, 50), Level(700, 0)});
    JudgeSettings rms;
    rms.noise = NoiseStatistic::Rms;
    const KeyFigures f = Judge(key, rms);
    EXPECT_NEAR(f.noiseRms, 2.0, 1e-9);
    EXPECT_NEAR(f.snr, 25.0, 1e-9);
    EXPECT_EQ(f.noise, 6);
    EXPECT_EQ(f.thresholds.finger, 40);
    EXPECT_EQ(f.thresholds.noise, 20);
    EXPECT_EQ(f.thresholds.hysteresis, 5);
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

TEST(SummaryReport, CsvKeepsItsColumnsAndLeavesFiguresWithoutMeaningEmpty) {
    std::vector<KeyFigures> keys = {Judge(Curve(Touches({50, 150, 50}))),
                                    Judge(Curve({Level(7, 0)})), Judge(Curve({Level(700, 300)}))};
    keys[1].channel = 1;
    keys[2].channel = 2;
    EXPECT_EQ(FormatSummaryCsv(keys),
              "channel,samples,baseline_mean,noise_pp,touch_delta,snr,result,noise_rms,"
              "quiet_frames,touches,finger_threshold,noise_threshold,hysteresis,weakest_delta,"
              "weakest_snr\n"
              "1,2100,1000.0,6,50.0,8.33,pass,2.00," +
                  std::to_string(keys[0].runs.quiet.frames) +
                  ",3,40,20,5,50.0,8.33\n"
                  "2,7,1000.0,6,,,no touch,2.00,7,0,,,,,\n"
                  "3,700,1000.0,,,,no quiet,,0,0,,,,,\n");
}

TEST(SummaryReport, TableAlignsItsColumnsInEitherLanguageWithTheVerdictLast) {
    const std::vector<KeyFigures> keys = {Judge(Curve(Touches({50, 150, 50})))};
    EXPECT_EQ(FormatSummaryTable(keys, {}, ReportLanguage::English),
              "channel samples baseline noise delta  snr  rms quiet touches finger noise thr hyst "
              "weakest weakest snr  result (min snr 5.0, noise pp)\n"
              "1          2100   1000.0     6  50.0 8.33 2.00  1193       3     40        20    "
              "5    50.0        8.33  pass\n");
    // A Chinese character takes two places in a console.
    EXPECT_EQ(FormatSummaryTable(keys, {}, ReportLanguage::Chinese),
              "通道 帧数 基线均值 噪声峰峰值 触摸变化量 信噪比 噪声均方根 静止帧数 触摸次数 "
              "手指阈值 噪声阈值 迟滞 最弱变化量 最弱信噪比  结论（信噪比下限 5.0，噪声取峰峰值）\n"
              "1    2100   1000.0          6       50.0   8.33       2.00     1193        3 "
              "      40       20    5       50.0       8.33  合格\n");
}

}  // namespace
