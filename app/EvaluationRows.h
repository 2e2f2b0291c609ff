#pragma once
// What the "按键评估" page's table shows of a channel's figures: its columns, their titles and
// the cells, as palvex-capture prints them, and the levels drawn on the "差值" chart for the
// selected row. Standard C++ only.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "evaluation/KeyFigures.h"
#include "evaluation/SummaryColumns.h"

struct EvaluationColumn {
    std::string SummaryCells::*cell;
    int width;  // in pixels, at least: room for the widest figure
};

// channel, frames, noise peak-to-peak and RMS, touches, touch delta, weakest touch, SNR,
// verdict, and the suggested finger threshold, noise threshold and hysteresis.
extern const std::array<EvaluationColumn, 12> kEvaluationColumns;

// The texts are UTF-8.
// The column's title: its heading in the printed summary, in Chinese.
std::string EvaluationTitle(const EvaluationColumn& column);
// The cells of one row, in column order: the verdict in Chinese, "-" for a figure without
// meaning for the channel (a delta without a touch).
std::vector<std::string> EvaluationCells(const KeyFigures& key);
// The position of the verdict's column.
std::size_t VerdictColumn();

// The horizontal lines for the channel on the "差值" chart: the quiet band's lowest and highest
// difference, and with a touch the finger threshold above the quiet level. None without quiet.
std::vector<double> DifferenceLevels(const KeyFigures& key);

// "已评估 N 帧", the line above the table.
std::string EvaluatedFramesText(std::uint64_t frames);
