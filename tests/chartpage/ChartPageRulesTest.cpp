// The page's arithmetic on its own: refresh periods, the sample under the cursor and the
// scroll steps.

#include "chartpage/ChartPageRules.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(ChartPageRules, RefreshPeriodGrowsWithTheChannelCountAndStopsAbove32) {
    EXPECT_EQ(RefreshPeriodFor(1), 100u);
    EXPECT_EQ(RefreshPeriodFor(4), 100u);
    EXPECT_EQ(RefreshPeriodFor(5), 200u);
    EXPECT_EQ(RefreshPeriodFor(16), 200u);
    EXPECT_EQ(RefreshPeriodFor(17), 300u);
    EXPECT_EQ(RefreshPeriodFor(32), 300u);
    EXPECT_FALSE(RefreshPeriodFor(33).has_value());
}

TEST(ChartPageRules, CursorIndexCountsFromTheWindowStartAndRoundsOnTheThirdDecimal) {
    EXPECT_EQ(CursorSampleIndex(2.5, 100, 400), 450);
    EXPECT_EQ(CursorSampleIndex(0.0, 100, 400), 400);
    // 2.4375 of 5.0 is 0.4875: the third decimal 7 rounds up to the next point.
    EXPECT_EQ(CursorSampleIndex(2.4375, 100, 400), 449);
    // 2.375 is 0.475: a 5 does not.
    EXPECT_EQ(CursorSampleIndex(2.375, 100, 400), 447);
    // A window that starts before the first sample (fewer samples than points).
    EXPECT_EQ(CursorSampleIndex(5.0, 200, -100), 0);
    EXPECT_EQ(CursorSampleIndex(0.5, 200, -100), -90);
    EXPECT_FALSE(CursorSampleIndex(std::numeric_limits<double>::quiet_NaN(), 100, 0));
    EXPECT_FALSE(CursorSampleIndex(std::numeric_limits<double>::infinity(), 100, 0));
}

TEST(ChartPageRules, ScrollStepsStayWithinTheRange) {
    const ScrollBarState atStart{300, 100, 0};
    EXPECT_EQ(ScrollTarget(SB_LINELEFT, atStart, 0), 0u);
    EXPECT_EQ(ScrollTarget(SB_LINERIGHT, atStart, 0), 1u);
    const ScrollBarState inside{300, 100, 120};
    EXPECT_EQ(ScrollTarget(SB_LINELEFT, inside, 0), 119u);
    EXPECT_EQ(ScrollTarget(SB_LINERIGHT, inside, 0), 121u);
    // At the right end one more line keeps the last full window.
    const ScrollBarState atEnd{300, 100, 201};
    EXPECT_EQ(ScrollTarget(SB_LINERIGHT, atEnd, 0), 200u);
    // A thumb released past the last full window goes one step left; others stay.
    EXPECT_EQ(ScrollTarget(SB_THUMBPOSITION, inside, 201), 200u);
    EXPECT_EQ(ScrollTarget(SB_THUMBPOSITION, inside, 50), 50u);
    // A page wider than the range (nothing recorded) cannot wrap below zero.
    const ScrollBarState empty{0, 100, 0};
    EXPECT_EQ(ScrollTarget(SB_LINERIGHT, empty, 0), 0u);
    EXPECT_EQ(ScrollTarget(SB_THUMBPOSITION, empty, 0), 0u);
    for (int code : {SB_PAGELEFT, SB_PAGERIGHT, SB_THUMBTRACK, SB_ENDSCROLL, SB_LEFT, SB_RIGHT}) {
        EXPECT_FALSE(ScrollTarget(code, inside, 50).has_value()) << code;
    }
}

TEST(ChartPageRules, ManualRangeNeedsBothEndsAndAMinimumBelowTheMaximum) {
    const Checked<ManualRange> accepted = CheckManualRange(L"50", L"-20");
    ASSERT_TRUE(accepted.value);
    EXPECT_EQ(accepted.value->min, -20);
    EXPECT_EQ(accepted.value->max, 50);
    EXPECT_EQ(CheckManualRange(L"10", L"10").refusal, L"最大值小于最小值!!!");
    EXPECT_EQ(CheckManualRange(L"5", L"10").refusal, L"最大值小于最小值!!!");
    EXPECT_EQ(CheckManualRange(L"", L"10").refusal, L"最大值最小值不能为空!!!");
    EXPECT_EQ(CheckManualRange(L"10", L"").refusal, L"最大值最小值不能为空!!!");
    // Text is read as far as it is a number, as the C library does.
    const Checked<ManualRange> prefix = CheckManualRange(L" 12abc", L"x");
    ASSERT_TRUE(prefix.value);
    EXPECT_EQ(prefix.value->min, 0);
    EXPECT_EQ(prefix.value->max, 12);
}

}  // namespace
