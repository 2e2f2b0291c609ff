#pragma once
// One chart of the chart page: one quantity of every channel of the store, one line per
// channel, the window of the newest samples or of any start, the cursor line and the
// horizontal level lines of one channel.
//
// The methods that read the store expect the caller to hold its lock.

#include "chart/PlotCtrl.h"
#include "chart/PlotCursor.h"
#include "chartpage/ChartPageRules.h"
#include "chartpage/PageChartLook.h"
#include "device/store/SampleQuantity.h"
#include "device/store/TouchSampleStore.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class CPlotLineSeries;

class QuantityChart {
  public:
    // Where the cursor stands when the page starts, in chart units.
    static constexpr double kInitialCursorValue = 2.5;
    // The most levels shown at once.
    static constexpr std::size_t kMaxLevels = 8;

    // Dresses the chart (already bound to its window) and adds the cursor, whose drags
    // are posted to page.
    void Init(SampleQuantity quantity, std::uint32_t pointCount, CWnd* page);

    // False, changing nothing, for a count the lines cannot hold. The level lines span the
    // new count at once, the channels' lines at their next showing.
    bool SetPointCount(std::uint32_t pointCount);
    std::uint32_t PointCount() const { return pointCount_; }

    // Replaces the lines by one empty line per channel of store, in the channel's colour,
    // and removes the level lines.
    void BindStore(const TouchSampleStore* store);
    // Shows the newest point-count samples of every channel (zeros before the first).
    void ShowLatest();
    // Shows point-count samples of every channel from sample start on.
    void ShowFrom(std::uint32_t start);
    // Shows or hides the line of a channel and fits the automatic ranges to the lines
    // shown; false when the chart has no line for it.
    bool ShowChannel(std::uint32_t channel, bool visible);

    void SetCursorValue(double x);

    // Horizontal lines across the window at the given values, in the colour of channel, in
    // place of the levels shown before. They stay while the window moves and channels are
    // shown or hidden, and the automatic Y range takes them in, so that a level far from
    // the lines is still seen. Values that are not finite are left out. False, showing no
    // levels, for a channel without a colour or more than kMaxLevels values.
    bool ShowLevels(std::uint32_t channel, std::span<const double> levels);
    void ClearLevels();
    // The level lines shown, in the order of the values given; Line() never returns one.
    std::span<CPlotLineSeries* const> LevelLines() const {
        return {levelLines_.data(), levelsShown_};
    }

    CPlotCtrl& Chart() { return chart_; }
    CPlotStandardAxis* XAxis() const { return axes_.x; }
    CPlotStandardAxis* YAxis() const { return axes_.y; }
    CPlotDragLineCursor* Cursor() const { return cursor_; }
    // The line of a channel, or null.
    CPlotLineSeries* Line(std::uint32_t channel) const {
        return channel < lines_.size() ? lines_[channel] : nullptr;
    }

  private:
    // Fills the Y buffer for one channel and hands it to the channel's line.
    template <class Fill>
    void ShowEachChannel(Fill&& fill);
    // Gives a level line the two points that span the window at level.
    void SpanWindow(CPlotLineSeries& line, double level) const;
    void HideLevelLines();
    // Fits the automatic ranges to the series shown and renders the chart.
    void FitAutoRanges();

    SampleQuantity quantity_ = SampleQuantity::Baseline;
    std::uint32_t pointCount_ = kDefaultPointCount;
    std::array<double, kPointCapacity> x_{};
    std::array<double, kPointCapacity> y_{};
    std::array<CPlotLineSeries*, kMaxTouchChannels> lines_{};  // by channel; owned by chart_
    // The chart removes its series only all at once, so the level lines are kept for reuse:
    // the first levelsShown_ are shown, the others hidden. Owned by chart_.
    std::vector<CPlotLineSeries*> levelLines_;
    std::size_t levelsShown_ = 0;
    const TouchSampleStore* store_ = nullptr;
    // Declared before chart_, so destroyed after it: the cursor never outlives its listener.
    std::unique_ptr<CPlotDragLineListener> listener_;
    CPlotCtrl chart_;
    PageChartAxes axes_{nullptr, nullptr};
    CPlotDragLineCursor* cursor_ = nullptr;  // owned by chart_
};
