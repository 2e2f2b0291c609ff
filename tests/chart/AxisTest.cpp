// Axis arithmetic: ticks, labels, mapping, zoom, pan, scroll steps and automatic ranges.
// These axes are not attached to a control, so no window is needed.

#include "chart/PlotGrid.h"
#include "chart/PlotLineSeries.h"
#include "chart/PlotStandardAxis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// A standard axis laid along `length` pixels, horizontal from x 0 or vertical from y
// `length` up to 0, with the given range and its ticks computed.
void Layout(CPlotStandardAxis& axis, bool horizontal, int length, double min, double max) {
    axis.SetHorizontal(horizontal);
    const RECT control = {0, 0, horizontal ? length : 100, horizontal ? 100 : length};
    const RECT plot = {0, 0, horizontal ? length : 100, horizontal ? 80 : length};
    axis.SetAxisSize(control, plot);
    axis.SetRange(min, max);
    axis.RefreshTicks();
}

std::vector<std::wstring> TickLabels(CPlotStandardAxis& axis) {
    std::vector<std::wstring> labels;
    double value = axis.FirstTickValue();
    double next = 0.0;
    labels.push_back(axis.TickLabelText(value));
    while (axis.NextTickValue(value, next) && labels.size() < 1000) {
        value = next;
        labels.push_back(axis.TickLabelText(value));
    }
    return labels;
}

struct TickCase {
    bool horizontal;
    int length;
    double min, max;
    double step;
    int decimals;
    double firstTick;
    std::vector<std::wstring> labels;  // empty: not checked
};

TEST(StandardAxis, ChoosesOneTwoFiveStepsDecimalsAndFirstTick) {
    const TickCase cases[] = {
        {true,
         300,
         0,
         10,
         1,
         0,
         0,
         {L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"10"}},
        {false,
         200,
         0,
         1,
         0.1,
         1,
         0,
         {L"0.0", L"0.1", L"0.2", L"0.3", L"0.4", L"0.5", L"0.6", L"0.7", L"0.8", L"0.9", L"1.0"}},
        {true, 60, 0, 7, 5, 0, 0, {L"0", L"5"}},
        {true, 300, 0, 95, 10, 0, 0, {}},
        {true, 60, 0.002, 0.009, 0.005, 3, 0.005, {L"0.005"}},
        {true, 300, -7, 43, 5, 0, -5, {}},
        {true, 300, 7, 57, 5, 0, 10, {}},
        {true, 300, 10, 60, 5, 0, 10, {}},
        // Accumulated steps pass just below zero, which prints as "-0.0".
        {true, 300, -0.3, 0.3, 0.1, 1, -0.2, {L"-0.2", L"-0.1", L"-0.0", L"0.1", L"0.2", L"0.3"}},
    };
    for (const TickCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " on " << c.length);
        CPlotStandardAxis axis;
        Layout(axis, c.horizontal, c.length, c.min, c.max);
        EXPECT_DOUBLE_EQ(axis.GetTickStep(), c.step);
        EXPECT_EQ(axis.GetDecimals(), c.decimals);
        EXPECT_NEAR(axis.GetFirstTick(), c.firstTick, 1e-12);
        if (!c.labels.empty()) {
            EXPECT_EQ(TickLabels(axis), c.labels);
        }
    }
}

TEST(StandardAxis, MapsValuesToPixelsBothWays) {
    CPlotStandardAxis horizontal;
    Layout(horizontal, true, 300, 0, 10);
    EXPECT_EQ(horizontal.ValueToScreen(0), 0);
    EXPECT_EQ(horizontal.ValueToScreen(2.5), 75);
    EXPECT_EQ(horizontal.ValueToScreen(-0.01), -1);  // floor, not truncation
    EXPECT_DOUBLE_EQ(horizontal.ScreenToValue(150), 5.0);
    EXPECT_TRUE(horizontal.IsValueOnAxis(10));
    EXPECT_FALSE(horizontal.IsValueOnAxis(10.1));

    CPlotStandardAxis vertical;
    Layout(vertical, false, 200, 0, 1);
    EXPECT_EQ(vertical.ValueToScreen(0), 200);
    EXPECT_EQ(vertical.ValueToScreen(1), 0);
    EXPECT_DOUBLE_EQ(vertical.ScreenToValue(50), 0.75);
}

TEST(StandardAxis, DegenerateRangesDrawTheirOneValueSafely) {
    CPlotStandardAxis equal;
    Layout(equal, true, 301, 4, 4);
    EXPECT_EQ(equal.GetTickStep(), 0.0);
    EXPECT_EQ(equal.ValueToScreen(-1e9), 150);  // everything maps to the middle
    EXPECT_EQ(equal.ScreenToValue(17), 4.0);
    double next = 0;
    EXPECT_FALSE(equal.NextTickValue(4, next));
    equal.Zoom(1, 2);  // ignored while the ends are equal
    EXPECT_EQ(equal.GetMin(), 4.0);

    // Shorter than one tick spacing: the previous step stays.
    CPlotStandardAxis shortAxis;
    Layout(shortAxis, true, 300, 0, 10);
    Layout(shortAxis, true, 20, 0, 1000);
    EXPECT_EQ(shortAxis.GetTickStep(), 1.0);

    // A reversed manual range and a step far below the precision of the values still end.
    CPlotStandardAxis reversed;
    Layout(reversed, true, 300, 10, 0);
    EXPECT_LT(TickLabels(reversed).size(), 1000u);
    CPlotStandardAxis precise;
    Layout(precise, true, 300, 1e17, 1e17 + 100);
    EXPECT_LT(TickLabels(precise).size(), 1000u);
    CPlotStandardAxis huge;
    Layout(huge, true, 300, 0, 1e300);
    EXPECT_LT(TickLabels(huge).size(), 1000u);
    EXPECT_EQ(huge.ValueToScreen(1e300), 300);
}

TEST(StandardAxis, AShortAxisKeepsItsStepButDrawsABoundedNumberOfTicks) {
    CPlotStandardAxis axis;
    Layout(axis, true, 10, 0, 1e8);  // shorter than one spacing: the step stays 1
    ASSERT_EQ(axis.GetTickStep(), 1.0);
    HDC dc = ::CreateCompatibleDC(nullptr);
    EXPECT_GT(axis.LargestTickLabelSize(dc).cx, 0);
    axis.Draw(dc);
    EXPECT_GT(axis.GetGrid().Ticks().size(), 0u);
    EXPECT_LE(axis.GetGrid().Ticks().size(), 10000u);
    ::DeleteDC(dc);
}

TEST(StandardAxis, ZoomKeepsTheMinimumSpanAndPanFollowsThePixels) {
    CPlotStandardAxis axis;
    Layout(axis, true, 300, 0, 10);
    axis.Zoom(1, 1.0005);
    EXPECT_DOUBLE_EQ(axis.GetMin(), 1.0);
    EXPECT_DOUBLE_EQ(axis.GetMax(), 1.001);
    axis.ResetZoom();
    EXPECT_EQ(axis.GetMin(), 0.0);
    EXPECT_EQ(axis.GetMax(), 10.0);

    axis.Pan(0, 30);  // dragged 30 pixels to the right: the range moves one unit left
    EXPECT_DOUBLE_EQ(axis.GetMin(), -1.0);
    EXPECT_DOUBLE_EQ(axis.GetMax(), 9.0);

    CPlotStandardAxis vertical;
    Layout(vertical, false, 200, 0, 10);
    vertical.Pan(100, 80);  // dragged 20 pixels up: the range moves one unit down
    EXPECT_DOUBLE_EQ(vertical.GetMin(), -1.0);
    EXPECT_DOUBLE_EQ(vertical.GetMax(), 9.0);
}

// A series for automatic ranges: Y values from `low` to `high`, X from 0 to 100.
std::unique_ptr<CPlotLineSeries> SeriesFrom(double low, double high, CPlotAxis& horizontal,
                                            CPlotAxis& vertical) {
    auto series = std::make_unique<CPlotLineSeries>(nullptr);
    series->SetHorizontalAxis(&horizontal);
    series->SetVerticalAxis(&vertical);
    const double x[] = {0, 50, 100};
    const double y[] = {low, (low + high) / 2, high};
    series->SetPoints(x, y, 3);
    return series;
}

TEST(StandardAxis, AutomaticRangeFollowsTheLinkedSeries) {
    CPlotStandardAxis horizontal;
    CPlotStandardAxis vertical;
    Layout(horizontal, true, 300, 0, 0);
    Layout(vertical, false, 200, 0, 0);
    vertical.SetAutoRange(true);
    auto shown = SeriesFrom(3, 8, horizontal, vertical);
    vertical.LinkSeries(shown.get());
    vertical.LinkSeries(shown.get());  // no duplicates
    vertical.RefreshAutoRange();
    EXPECT_EQ(vertical.GetMin(), 3.0);
    EXPECT_EQ(vertical.GetMax(), 8.0);

    // A hidden series after a visible one changes nothing; before it, it leaves 0 in.
    auto hidden = SeriesFrom(20, 30, horizontal, vertical);
    hidden->SetVisible(false);
    vertical.LinkSeries(hidden.get());
    vertical.RefreshAutoRange();
    EXPECT_EQ(vertical.GetMin(), 3.0);
    EXPECT_EQ(vertical.GetMax(), 8.0);

    CPlotStandardAxis other;
    Layout(other, false, 200, 0, 0);
    other.SetAutoRange(true);
    other.LinkSeries(hidden.get());
    other.LinkSeries(shown.get());
    other.RefreshAutoRange();
    EXPECT_EQ(other.GetMin(), 0.0);
    EXPECT_EQ(other.GetMax(), 8.0);

    // A destroyed series unlinks itself.
    shown.reset();
    vertical.RefreshAutoRange();
    EXPECT_EQ(vertical.GetMin(), 0.0);
    EXPECT_EQ(vertical.GetMax(), 0.0);
}

TEST(StandardAxis, ScrollStepsAreTenthsOfTheShownRange) {
    CPlotStandardAxis horizontal;
    CPlotStandardAxis vertical;
    Layout(horizontal, true, 300, 0, 100);
    Layout(vertical, false, 200, 0, 10);
    auto series = SeriesFrom(0, 10, horizontal, vertical);
    horizontal.LinkSeries(series.get());

    int count = 0;
    int position = 0;
    horizontal.ScrollStepInfo(count, position);
    EXPECT_EQ(count, 10);
    EXPECT_EQ(position, 0);

    horizontal.Zoom(20, 40);
    horizontal.ScrollStepInfo(count, position);
    EXPECT_EQ(count, 50);
    EXPECT_EQ(position, 10);

    horizontal.ScrollByStep(10, 12, false);
    EXPECT_DOUBLE_EQ(horizontal.GetMin(), 24.0);
    EXPECT_DOUBLE_EQ(horizontal.GetMax(), 44.0);
    horizontal.ScrollByStep(12, 10, true);
    EXPECT_DOUBLE_EQ(horizontal.GetMin(), 28.0);
    EXPECT_DOUBLE_EQ(horizontal.GetMax(), 48.0);

    // Nothing to scroll over: one step.
    CPlotStandardAxis empty;
    Layout(empty, true, 300, 0, 10);
    empty.ScrollStepInfo(count, position);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(position, 1);

    // Points at infinity or NaN leave nothing to count.
    for (double odd : {HUGE_VAL, std::nan("")}) {
        CPlotStandardAxis values;
        Layout(values, false, 200, 0, 10);
        auto oddSeries = SeriesFrom(odd, 5, horizontal, values);
        values.LinkSeries(oddSeries.get());
        values.ScrollStepInfo(count, position);
        EXPECT_EQ(count, 1) << odd;
        EXPECT_EQ(position, 1) << odd;
    }

    // A deep zoom into a wide extent stays within int range.
    horizontal.SetRange(0, 1e300);
    horizontal.Zoom(0, 1e-300);
    horizontal.ScrollStepInfo(count, position);
    EXPECT_GT(count, 1);
}

}  // namespace
