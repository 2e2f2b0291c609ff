#include "chartpage/QuantityChart.h"

#include "chart/PlotLineSeries.h"
#include "chart/PlotRefreshBatch.h"
#include "chart/PlotStandardAxis.h"
#include "chartpage/ChannelColours.h"

#include <algorithm>
#include <cmath>

void QuantityChart::Init(SampleQuantity quantity, std::uint32_t pointCount, CWnd* page) {
    quantity_ = quantity;
    pointCount_ = pointCount;
    listener_ = std::make_unique<CPlotDragLineListener>(page);
    y_.fill(0.0);
    for (std::uint32_t i = 0; i < kPointCapacity; ++i) {
        x_[i] = i * kPointSpacing;
    }
    axes_ = DressAsPageChart(chart_);
    {
        CPlotRefreshBatch batch(chart_);
        chart_.RemoveAllSeries();
    }
    lines_.fill(nullptr);
    levelLines_.clear();
    levelsShown_ = 0;
    cursor_ = AddPageCursor(chart_);
    cursor_->AddListener(listener_.get());
    listener_->value = kInitialCursorValue;
    chart_.Refresh();
}

bool QuantityChart::SetPointCount(std::uint32_t pointCount) {
    if (pointCount >= kPointCapacity) {
        return false;
    }
    pointCount_ = pointCount;
    std::fill_n(y_.begin(), pointCount_, 0.0);
    CPlotRefreshBatch batch(chart_);
    for (CPlotLineSeries* line : LevelLines()) {
        SpanWindow(*line, line->GetPoint(0).Y);
    }
    return true;
}

void QuantityChart::BindStore(const TouchSampleStore* store) {
    store_ = store;
    CPlotRefreshBatch batch(chart_);
    chart_.RemoveAllSeries();
    lines_.fill(nullptr);
    levelLines_.clear();
    levelsShown_ = 0;
    if (store_ != nullptr) {
        for (std::uint32_t p = 0; p < store_->ChannelCount(); ++p) {
            const std::uint32_t channel = store_->Channel(p).channel;
            if (channel >= lines_.size()) {
                continue;  // no colour and no box for it
            }
            CPlotLineSeries* line = chart_.CreateLineSeries(false, false);
            if (line == nullptr) {
                continue;
            }
            line->ClearPoints();
            line->SetOrdering(CPlotPointBuffer::kNoOrdering);
            line->SetName(L"name");
            line->SetColor(ChannelColours[channel]);
            lines_[channel] = line;
        }
    }
    // The new lines have no points yet, so the X range is degenerate and the line lands in
    // the middle of the axis.
    SetCursorValue(50.0);
}

template <class Fill>
void QuantityChart::ShowEachChannel(Fill&& fill) {
    if (store_ == nullptr) {
        return;
    }
    CPlotRefreshBatch batch(chart_);
    for (std::uint32_t p = 0; p < store_->ChannelCount(); ++p) {
        const ChannelSamples& samples = store_->Channel(p);
        CPlotLineSeries* line = Line(samples.channel);
        if (line == nullptr) {
            continue;
        }
        fill(samples.Series(quantity_));
        line->SetPoints(x_.data(), y_.data(), pointCount_);
    }
}

void QuantityChart::ShowLatest() {
    // CopyTail writes every one of the point-count values, leading zeros included.
    ShowEachChannel(
        [this](const SampleSeries& series) { series.CopyTail(y_.data(), pointCount_); });
}

void QuantityChart::ShowFrom(std::uint32_t start) {
    ShowEachChannel([this, start](const SampleSeries& series) {
        // Past the newest sample the line drops to zero rather than repeat another channel.
        std::fill_n(y_.begin(), pointCount_, 0.0);
        series.CopyRange(y_.data(), start, pointCount_);
    });
}

bool QuantityChart::ShowChannel(std::uint32_t channel, bool visible) {
    CPlotLineSeries* line = Line(channel);
    if (line == nullptr) {
        return false;
    }
    // The automatic ranges follow the visible lines at once, not only at the next tick, so
    // that hiding an outlying channel shows the others in detail while stopped too.
    CPlotRefreshBatch batch(chart_);
    line->SetVisible(visible);
    line->RefreshAutoAxes(true);
    return true;
}

void QuantityChart::SetCursorValue(double x) {
    if (cursor_ == nullptr) {
        return;
    }
    cursor_->MoveToValue(x);
    chart_.Refresh();
}

bool QuantityChart::ShowLevels(std::uint32_t channel, std::span<const double> levels) {
    CPlotRefreshBatch batch(chart_);
    HideLevelLines();
    const bool shown = channel < ChannelColours.size() && levels.size() <= kMaxLevels;
    for (std::size_t i = 0; shown && i < levels.size(); ++i) {
        if (!std::isfinite(levels[i])) {
            continue;  // it would leave the automatic range without ends
        }
        if (levelsShown_ == levelLines_.size()) {
            CPlotLineSeries* line = chart_.CreateLineSeries(false, false);
            if (line == nullptr) {
                break;
            }
            // Left unnamed, so that a legend would not list it.
            line->SetOrdering(CPlotPointBuffer::kNoOrdering);
            levelLines_.push_back(line);
        }
        CPlotLineSeries* line = levelLines_[levelsShown_++];
        line->SetColor(ChannelColours[channel]);
        line->SetVisible(true);
        SpanWindow(*line, levels[i]);
    }
    FitAutoRanges();
    return shown;
}

void QuantityChart::ClearLevels() {
    if (levelsShown_ == 0) {
        return;  // the evaluation clears every second while no row is selected
    }
    CPlotRefreshBatch batch(chart_);
    HideLevelLines();
    FitAutoRanges();
}

void QuantityChart::SpanWindow(CPlotLineSeries& line, double level) const {
    const double x[] = {x_[0], x_[std::max(pointCount_, 1u) - 1]};
    const double y[] = {level, level};
    line.SetPoints(x, y, 2);
}

void QuantityChart::HideLevelLines() {
    for (CPlotLineSeries* line : LevelLines()) {
        line->SetVisible(false);
    }
    levelsShown_ = 0;
}

void QuantityChart::FitAutoRanges() {
    for (CPlotStandardAxis* axis : {axes_.x, axes_.y}) {
        if (axis != nullptr) {
            axis->RefreshAutoRange();
        }
    }
    chart_.Refresh();
}
