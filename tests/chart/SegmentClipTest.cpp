// Cutting segments to the square of drawable pixel offsets.

#include "chart/PlotSegmentClip.h"

#include <gtest/gtest.h>

namespace {

TEST(SegmentClip, KeepsWhatIsInsideAndCutsWhereTheSegmentLeaves) {
    PlotOffset a{-5, 2};
    PlotOffset b{7, -9};
    ASSERT_TRUE(ClipSegmentToSquare(a, b, 10));
    EXPECT_TRUE((a == PlotOffset{-5, 2}));
    EXPECT_TRUE((b == PlotOffset{7, -9}));

    // From inside out through the right side: the inside end stays, the other is cut.
    a = {0, 0};
    b = {20, 10};
    ASSERT_TRUE(ClipSegmentToSquare(a, b, 10));
    EXPECT_TRUE((a == PlotOffset{0, 0}));
    EXPECT_DOUBLE_EQ(b.x, 10);
    EXPECT_DOUBLE_EQ(b.y, 5);

    // Through the square with both ends outside, in through the bottom, out at the top.
    a = {-3, -30};
    b = {3, 30};
    ASSERT_TRUE(ClipSegmentToSquare(a, b, 10));
    EXPECT_DOUBLE_EQ(a.x, -1);
    EXPECT_DOUBLE_EQ(a.y, -10);
    EXPECT_DOUBLE_EQ(b.x, 1);
    EXPECT_DOUBLE_EQ(b.y, 10);
}

TEST(SegmentClip, RefusesSegmentsThatMissTheSquare) {
    const PlotOffset cases[][2] = {
        {{11, -20}, {11, 20}},  // parallel to a side, beyond it
        {{-20, 15}, {20, 15}},  // above
        {{8, 30}, {30, 8}},     // past the corner
        {{20, 20}, {20, 20}},   // a point outside
    };
    for (const auto& c : cases) {
        PlotOffset a = c[0];
        PlotOffset b = c[1];
        EXPECT_FALSE(ClipSegmentToSquare(a, b, 10)) << c[0].x << "," << c[0].y;
        EXPECT_TRUE(a == c[0]);
        EXPECT_TRUE(b == c[1]);
    }
}

TEST(SegmentClip, FarEndsKeepTheDirectionOfTheSegment) {
    // A line of slope 1/3 through the origin whose ends lie 1e12 away.
    PlotOffset a{-3e12, -1e12};
    PlotOffset b{3e12, 1e12};
    const double limit = 1 << 26;
    ASSERT_TRUE(ClipSegmentToSquare(a, b, limit));
    EXPECT_DOUBLE_EQ(a.x, -limit);
    EXPECT_NEAR(a.y, -limit / 3, 1e-3);
    EXPECT_DOUBLE_EQ(b.x, limit);
    EXPECT_NEAR(b.y, limit / 3, 1e-3);
}

}  // namespace
