#include "capture/HtmlReport.h"

#include <algorithm>

#include "capture/SummaryReport.h"

namespace {

constexpr int kPlotHeight = 150;
constexpr int kLeft = 56;  // room for the value labels
constexpr int kTop = 8;
constexpr int kBottom = 20;  // room for the frame labels

std::string Escape(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string Number(double value) {
    return Fixed(value, 1);
}

const char* VerdictColour(KeyVerdict verdict) {
    switch (verdict) {
        case KeyVerdict::Pass:
            return report_colour::kPass;
        case KeyVerdict::Fail:
            return report_colour::kFail;
        default:
            return report_colour::kOther;
    }
}

// Maps frames and differences of one channel to the pixels of its chart.
class ChartScale {
  public:
    ChartScale(std::uint64_t frames, double lowest, double highest) : frames_(frames) {
        const double pad = (highest - lowest) * 0.06 + 0.5;
        top_ = highest + pad;
        span_ = highest - lowest + 2 * pad;
    }
    double X(std::uint64_t frame) const {
        return kLeft + static_cast<double>(frame) * kReportPlotWidth / static_cast<double>(frames_);
    }
    double Y(double value) const { return kTop + (top_ - value) / span_ * kPlotHeight; }

  private:
    std::uint64_t frames_;
    double top_ = 0.0;
    double span_ = 1.0;
};

std::string Rect(double x0, double y0, double x1, double y1, const char* fill) {
    return "<rect x=\"" + Number(x0) + "\" y=\"" + Number(y0) + "\" width=\"" +
           Number(std::max(x1 - x0, 1.0)) + "\" height=\"" + Number(std::max(y1 - y0, 1.0)) +
           "\" fill=\"" + fill + "\"/>";
}

std::string Label(double x, double y, const char* anchor, const std::string& text) {
    return "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" text-anchor=\"" + anchor + "\">" +
           text + "</text>";
}

std::string Chart(const std::vector<std::int32_t>& d, const KeyFigures& key) {
    const auto [low, high] = std::minmax_element(d.begin(), d.end());
    const LevelFigures& quiet = key.runs.quiet;
    const double fingerLevel = quiet.mean + key.thresholds.finger;
    double lowest = *low;
    double highest = *high;
    if (HasTouchDelta(key)) {
        highest = std::max(highest, fingerLevel);
    }
    const ChartScale scale(d.size(), lowest, highest);
    const double bottom = kTop + kPlotHeight;
    const double right = kLeft + kReportPlotWidth;

    std::string svg = "<svg width=\"" + std::to_string(kLeft + kReportPlotWidth + 8) +
                      "\" height=\"" + std::to_string(kTop + kPlotHeight + kBottom) + "\">";
    svg += Rect(kLeft, kTop, right, bottom, "#ffffff");
    // Touches that share a pixel column are drawn as one.
    double shadedTo = -1.0;
    for (const FrameSpan& touch : key.runs.touches) {
        const double x0 = std::max(scale.X(touch.begin), shadedTo);
        const double x1 = scale.X(touch.end);
        if (x1 > x0) {
            svg += Rect(x0, kTop, x1, bottom, report_colour::kTouch);
            shadedTo = std::max(x1, x0 + 1.0);
        }
    }
    if (quiet.frames > 0) {
        svg += Rect(kLeft, scale.Y(quiet.highest), right, scale.Y(quiet.lowest),
                    report_colour::kQuietBand);
    }
    if (HasTouchDelta(key)) {
        const std::string y = Number(scale.Y(fingerLevel));
        svg += "<line x1=\"" + std::to_string(kLeft) + "\" y1=\"" + y + "\" x2=\"" + Number(right) +
               "\" y2=\"" + y + "\" stroke=\"" + report_colour::kFinger +
               "\" stroke-width=\"2\" stroke-dasharray=\"8 4\"/>";
    }
    // Each pixel column: its frames' lowest and highest difference, joined to the next column.
    const std::uint64_t columns = std::min<std::uint64_t>(d.size(), kReportPlotWidth);
    svg += "<polyline fill=\"none\" stroke=\"" + std::string(report_colour::kCurve) +
           "\" stroke-width=\"1.5\" points=\"";
    for (std::uint64_t column = 0, frame = 0; column < columns; ++column) {
        const std::uint64_t end = (column + 1) * d.size() / columns;
        const auto [lo, hi] = std::minmax_element(d.begin() + static_cast<std::ptrdiff_t>(frame),
                                                  d.begin() + static_cast<std::ptrdiff_t>(end));
        const std::string x = Number(kLeft + (column + 0.5) * kReportPlotWidth / columns);
        svg += x + "," + Number(scale.Y(*lo)) + " " + x + "," + Number(scale.Y(*hi)) + " ";
        frame = end;
    }
    svg += "\"/>";
    svg += "<rect x=\"" + std::to_string(kLeft) + "\" y=\"" + std::to_string(kTop) + "\" width=\"" +
           std::to_string(kReportPlotWidth) + "\" height=\"" + std::to_string(kPlotHeight) +
           "\" fill=\"none\" stroke=\"#888888\"/>";
    svg += Label(kLeft - 4, scale.Y(*high) + 4, "end", std::to_string(*high));
    svg += Label(kLeft - 4, scale.Y(lowest) + 4, "end", std::to_string(*low));
    svg += Label(kLeft, bottom + 15, "start", "frame 0");
    svg += Label(right, bottom + 15, "end", "frame " + std::to_string(d.size()));
    return svg + "</svg>";
}

std::string FiguresBeside(const KeyFigures& key, const JudgeSettings& settings) {
    const SummaryCells c = CellsOf(key);
    std::string html =
        "<div class=\"figs\" style=\"color:" + std::string(VerdictColour(key.verdict)) +
        ";border-color:" + VerdictColour(key.verdict) + "\"><b>channel " + c.channel + ": " +
        c.verdict + "</b><br>";
    if (!c.noise.empty()) {
        html += "noise " + c.noise + " pp, " + c.noiseRms + " rms<br>";
    }
    if (HasTouchDelta(key)) {
        html += "delta " + c.delta + "<br>SNR " + c.snr +
                (settings.noise == NoiseStatistic::Rms ? " (rms)" : " (pp)") + "<br>" + "finger " +
                c.finger + ", noise " + c.noiseThreshold + ", hysteresis " + c.hysteresis + "<br>";
    }
    html += c.quietFrames + " quiet frames, " + c.touches +
            (key.runs.touches.size() == 1 ? " touch</div>" : " touches</div>");
    return html;
}

std::string SummaryTable(const std::vector<KeyFigures>& figures) {
    std::string html =
        "<table><tr><th>channel</th><th>samples</th><th>noise pp</th><th>noise rms</th>"
        "<th>delta</th><th>SNR</th><th>finger</th><th>noise thr.</th><th>hysteresis</th>"
        "<th>result</th></tr>";
    for (const KeyFigures& key : figures) {
        const SummaryCells c = CellsOf(key);
        html += "<tr>";
        for (const std::string* cell : {&c.channel, &c.samples, &c.noise, &c.noiseRms, &c.delta,
                                        &c.snr, &c.finger, &c.noiseThreshold, &c.hysteresis}) {
            html += "<td>" + *cell + "</td>";
        }
        html += "<td style=\"background:" + std::string(VerdictColour(key.verdict)) +
                ";color:#ffffff\">" + c.verdict + "</td></tr>";
    }
    return html + "</table>";
}

std::string Swatch(const char* colour, const std::string& text) {
    return "<span class=\"sw\" style=\"background:" + std::string(colour) + "\"></span>" + text +
           " ";
}

}  // namespace

std::string FormatHtmlReport(const RecordingKeys& keys, const std::vector<KeyFigures>& figures,
                             const ReportHeading& heading) {
    const JudgeSettings& s = heading.settings;
    std::string html =
        "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>palvex-capture: " +
        Escape(heading.source) +
        "</title><style>body{font-family:sans-serif;font-size:13px;margin:12px;color:#222}"
        "table{border-collapse:collapse;margin-bottom:12px}td,th{border:1px solid #bbb;"
        "padding:2px 8px;text-align:right}.key{display:flex;align-items:center;margin:6px 0}"
        ".figs{border-left:4px solid;padding-left:8px;margin-left:8px;line-height:1.5}"
        ".sw{display:inline-block;width:14px;height:10px;margin:0 4px 0 10px}"
        "svg text{font-size:11px;fill:#444}</style></head><body>";
    html += "<h2>palvex-capture: key figures</h2><p>" + Escape(heading.source) + ", " +
            Escape(heading.created) + ". Pass mark: SNR " + Number(s.minSnr) + " with the noise " +
            (s.noise == NoiseStatistic::Rms ? "rms" : "peak-to-peak") +
            "; a touch holds at least " + std::to_string(s.minTouchFrames) +
            " frames clear of the quiet band. Thresholds in counts above the quiet level: "
            "finger 80 %, noise 40 %, hysteresis 10 % of the delta.</p>";
    html += SummaryTable(figures);
    html += "<p>" + Swatch(report_colour::kCurve, "difference (lowest and highest per column)") +
            Swatch(report_colour::kQuietBand, "quiet band") +
            Swatch(report_colour::kTouch, "touches") +
            Swatch(report_colour::kFinger, "suggested finger threshold") + "</p>";
    for (const KeyFigures& key : figures) {
        html += "<div class=\"key\">";
        if (key.channel < keys.ChannelCount() && key.samples > 0) {
            html += Chart(keys.Key(key.channel).Differences(), key);
        }
        html += FiguresBeside(key, s) + "</div>";
    }
    return html + "</body></html>\n";
}
