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

TEST(ChartPageRules, ScrollStepsNeverWrapBelowTheStart) {
    const ScrollBarState atStart{300, 100, 0};
    EXPECT_EQ(ScrollTarget(SB_LINELEFT, atStart, 0), 0u);
    // A page wider than the range (nothing recorded yet) cannot wrap below zero.
    const ScrollBarState empty{0, 100, 0};
    EXPECT_EQ(ScrollTarget(SB_LINERIGHT, empty, 0), 0u);
    EXPECT_EQ(ScrollTarget(SB_THUMBPOSITION, empty, 0), 0u);
}

}  // namespace
