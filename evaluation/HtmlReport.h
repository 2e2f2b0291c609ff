#pragma once
// A report to hand on: one self-contained HTML page (no script, no network, nothing beside it)
// with a summary table and, per channel, the difference over the whole recording as inline SVG
// with its quiet band, its touches shaded and the suggested finger threshold, and the figures
// beside it in the verdict's colour. Each pixel column of a chart holds the lowest and highest
// difference of its frames, so a recording of any length draws in the same few points.

#include <string>
#include <vector>

#include "evaluation/KeyFigures.h"
#include "evaluation/ReportLanguage.h"

struct ReportHeading {
    std::string source;   // the file judged, or a description of the live capture
    std::string created;  // when, in ISO 8601 UTC
    JudgeSettings settings;
    ReportLanguage language = ReportLanguage::English;
    std::string program = "palvex-capture";  // the program that made the report, in its title
};

// The colours of the page, as CSS colours, so that a test can look for them in a picture.
namespace report_colour {
inline constexpr const char* kCurve = "#1f4e9e";
inline constexpr const char* kQuietBand = "#cfe3f7";
inline constexpr const char* kTouch = "#ffd98a";
inline constexpr const char* kFinger = "#7b2cbf";
inline constexpr const char* kPass = "#1a7f37";
inline constexpr const char* kFail = "#c62828";
inline constexpr const char* kOther = "#8a6d00";  // no touch, no quiet, no data
}  // namespace report_colour

// The colour a verdict is shown in: its cell in the summary, and the figures beside a chart.
const char* VerdictColour(KeyVerdict verdict);

// The width of a chart's plot in pixels: a chart has at most this many columns of points.
inline constexpr int kReportPlotWidth = 720;

// figures holds the judged channels of recording, in position order.
std::string FormatHtmlReport(const RecordingChannels& recording,
                             const std::vector<KeyFigures>& figures, const ReportHeading& heading);
