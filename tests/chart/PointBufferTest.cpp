// Point storage of series: ordering, search, visible range, extent and capacity.

#include "chart/PlotLineSeries.h"
#include "chart/PlotPointBuffer.h"
#include "chart/PlotStandardAxis.h"

#include <gtest/gtest.h>

#include <cmath>

#include <vector>

namespace {

std::vector<double> Xs(const CPlotPointBuffer& buffer) {
    std::vector<double> xs;
    for (unsigned i = 0; i < buffer.GetCount(); ++i) {
        xs.push_back(buffer.At(i).X);
    }
    return xs;
}

CPlotPointBuffer ZeroToNine() {
    std::vector<SPlotXYPoint> points;
    for (int i = 0; i < 10; ++i) {
        points.push_back({static_cast<double>(i), 100.0 - i});
    }
    CPlotPointBuffer buffer;
    buffer.SetPoints(points.data(), 10);
    return buffer;
}

TEST(PointBuffer, KeepsTheOrderingItIsGiven) {
    const SPlotXYPoint points[] = {{3, 30}, {1, 10}, {2, 5}};
    CPlotPointBuffer byX;
    byX.SetPoints(points, 3);
    EXPECT_EQ(Xs(byX), (std::vector<double>{1, 2, 3}));

    CPlotPointBuffer unordered;
    unordered.SetOrdering(CPlotPointBuffer::kNoOrdering);
    unordered.SetPoints(points, 3);
    EXPECT_EQ(Xs(unordered), (std::vector<double>{3, 1, 2}));

    unordered.SetOrdering(CPlotPointBuffer::kOrderByY);
    EXPECT_EQ(Xs(unordered), (std::vector<double>{2, 1, 3}));
    EXPECT_EQ(unordered.MinY(), 5.0);
    EXPECT_EQ(unordered.MaxY(), 30.0);
    EXPECT_EQ(unordered.MinX(), 1.0);
    EXPECT_EQ(unordered.MaxX(), 3.0);

    // NaN keys sort first instead of breaking the sort.
    const SPlotXYPoint withNan[] = {{2, 0}, {std::nan(""), 0}, {1, 0}};
    CPlotPointBuffer nan;
    nan.SetPoints(withNan, 3);
    EXPECT_TRUE(std::isnan(nan.At(0).X));
    EXPECT_EQ(nan.At(1).X, 1.0);
}

TEST(PointBuffer, SearchAndVisibleRange) {
    const CPlotPointBuffer buffer = ZeroToNine();
    EXPECT_EQ(buffer.Search(0, 9, 3.5), 3u);
    EXPECT_EQ(buffer.Search(3, 9, 6.5), 7u);
    EXPECT_EQ(buffer.Search(0, 9, -5), 0u);
    EXPECT_EQ(buffer.Search(0, 9, 50), 9u);

    unsigned first = 0;
    unsigned last = 0;
    ASSERT_TRUE(buffer.GetVisibleRange(3.5, 6.5, first, last));
    EXPECT_EQ(first, 3u);
    EXPECT_EQ(last, 7u);

    CPlotPointBuffer empty;
    EXPECT_FALSE(empty.GetVisibleRange(0, 1, first, last));
}

TEST(PointBuffer, ReusesItsArrayAndClearGoesBackToTheInitialCapacity) {
    CPlotPointBuffer buffer;
    EXPECT_EQ(buffer.GetCapacity(), 1000u);
    std::vector<SPlotXYPoint> many(5000);
    buffer.SetPoints(many.data(), 5000);
    EXPECT_EQ(buffer.GetCapacity(), 5000u);
    buffer.SetPoints(many.data(), 10);
    EXPECT_EQ(buffer.GetCapacity(), 5000u);
    EXPECT_EQ(buffer.GetCount(), 10u);
    buffer.Clear();
    EXPECT_EQ(buffer.GetCapacity(), 1000u);
    EXPECT_EQ(buffer.GetCount(), 0u);
}

TEST(Series, EmptyOrHiddenSeriesReportNoExtent) {
    CPlotLineSeries series(nullptr);
    double min = -1;
    double max = -1;
    series.SetPoints(nullptr, nullptr, 0);
    EXPECT_FALSE(series.GetXExtent(min, max));
    EXPECT_FALSE(series.GetYExtent(min, max));
    EXPECT_EQ(min, -1.0);

    const double x[] = {1, 2};
    const double y[] = {5, 7};
    series.SetPoints(x, y, 2);
    ASSERT_TRUE(series.GetYExtent(min, max));
    EXPECT_EQ(min, 5.0);
    EXPECT_EQ(max, 7.0);
    series.SetVisible(false);
    EXPECT_FALSE(series.GetYExtent(min, max));

    CPlotLineSeries next(nullptr);
    EXPECT_EQ(next.GetId(), series.GetId() + 1);
}

TEST(Series, VisibleExtentCoversTheOtherCoordinateOfThePointsInTheAxisRange) {
    CPlotStandardAxis horizontal;
    CPlotStandardAxis vertical;
    horizontal.SetRange(3.5, 6.5);
    vertical.SetRange(0, 100);
    CPlotLineSeries series(nullptr);
    series.SetHorizontalAxis(&horizontal);
    series.SetVerticalAxis(&vertical);
    std::vector<double> x;
    std::vector<double> y;
    for (int i = 0; i < 10; ++i) {
        x.push_back(i);
        y.push_back(i % 2 == 0 ? 10.0 * i : -i);
    }
    series.SetPoints(x.data(), y.data(), 10);

    // Ordered by X, the points 3..6 are visible (the range's end, point 7, is not counted).
    double min = 0;
    double max = 0;
    ASSERT_TRUE(series.GetVisibleYExtent(min, max));
    EXPECT_EQ(min, -5.0);
    EXPECT_EQ(max, 60.0);
    EXPECT_FALSE(series.GetVisibleXExtent(min, max));

    // Ordered by Y, the vertical range picks the points and X is measured.
    vertical.SetRange(15, 45);
    series.SetOrdering(CPlotPointBuffer::kOrderByY);
    ASSERT_TRUE(series.GetVisibleXExtent(min, max));
    EXPECT_EQ(min, 2.0);
    EXPECT_EQ(max, 4.0);
    EXPECT_FALSE(series.GetVisibleYExtent(min, max));
    series.SetVisible(false);
    EXPECT_FALSE(series.GetVisibleXExtent(min, max));
}

}  // namespace
