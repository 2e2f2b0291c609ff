#include "evaluation/HtmlReport.h"

#include <algorithm>
#include <initializer_list>

#include "evaluation/SummaryReport.h"

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

std::string FrameLabel(std::uint64_t frame, ReportLanguage language) {
    return language == ReportLanguage::Chinese ? "第 " + std::to_string(frame) + " 帧"
                                               : "frame " + std::to_string(frame);
}

std::string Chart(const std::vector<std::int32_t>& d, const KeyFigures& key,
                  ReportLanguage language) {
    const auto [low, high] = std::minmax_element(d.begin(), d.end());
    const LevelFigures& quiet = key.runs.quiet;
    const double fingerLevel = FingerLevel(key);
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
    for (const TouchRun& touch : key.runs.touches) {
        const double x0 = std::max(scale.X(touch.frames.begin), shadedTo);
        const double x1 = scale.X(touch.frames.end);
        if (x1 > x0) {
            svg += Rect(x0, kTop, x1, bottom, report_colour::kTouch);
            shadedTo = std::max(x1, x0 + 1.0);
        }
    }
    if (HasQuiet(key)) {
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
    svg += Label(kLeft, bottom + 15, "start", FrameLabel(0, language));
    svg += Label(right, bottom + 15, "end", FrameLabel(d.size(), language));
    return svg + "</svg>";
}

// Joins the parts with the language's comma.
std::string Listed(std::initializer_list<std::string> parts, ReportLanguage language) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : language == ReportLanguage::Chinese ? "，" : ", ") + part;
    }
    return text;
}

std::string FiguresBeside(const KeyFigures& key, const ReportHeading& heading) {
    const ReportLanguage l = heading.language;
    const bool zh = l == ReportLanguage::Chinese;
    const SummaryCells c = CellsOf(key);
    const std::string colour = VerdictColour(key.verdict);
    std::string html = "<div class=\"figs\" style=\"color:" + colour + ";border-color:" + colour +
                       "\"><b>" + (zh ? "通道 " : "channel ") + c.channel + (zh ? "：" : ": ") +
                       VerdictName(key.verdict).In(l) + "</b><br>";
    if (HasQuiet(key)) {
        html += Listed({(zh ? "噪声 峰峰值 " : "noise ") + c.noise + (zh ? "" : " pp"),
                        (zh ? "均方根 " : "") + c.noiseRms + (zh ? "" : " rms")},
                       l) +
                "<br>";
    }
    if (HasTouchDelta(key)) {
        const std::string statistic = NoiseStatisticName(heading.settings.noise).In(l);
        html += (zh ? "触摸变化量 " : "delta ") + c.delta + "<br>" + (zh ? "信噪比 " : "SNR ") +
                c.snr + (zh ? "（" + statistic + "）" : " (" + statistic + ")") + "<br>" +
                (zh ? "最弱触摸：" : "weakest touch: ") +
                Listed({(zh ? "变化量 " : "delta ") + c.weakestDelta,
                        (zh ? "信噪比 " : "SNR ") + c.weakestSnr},
                       l) +
                "<br>" +
                Listed({(zh ? "手指阈值 " : "finger ") + c.finger,
                        (zh ? "噪声阈值 " : "noise ") + c.noiseThreshold,
                        (zh ? "迟滞 " : "hysteresis ") + c.hysteresis},
                       l) +
                "<br>";
    }
    const std::size_t touches = key.runs.touches.size();
    html += zh ? Listed({"静止帧 " + c.quietFrames, "触摸 " + c.touches + " 次"}, l)
               : Listed({c.quietFrames + " quiet frames",
                         c.touches + (touches == 1 ? " touch" : " touches")},
                        l);
    return html + "</div>";
}

// The summary's columns with the verdict last, in its colour.
std::string SummaryTable(const std::vector<KeyFigures>& figures, ReportLanguage language) {
    const std::size_t verdictColumn = SummaryColumnIndex(&SummaryCells::verdict);
    std::string html = "<table><tr>";
    for (std::size_t i = 0; i < kSummaryColumns.size(); ++i) {
        if (i != verdictColumn) {
            html += "<th>" + std::string(kSummaryColumns[i].heading.In(language)) + "</th>";
        }
    }
    html +=
        "<th>" + std::string(kSummaryColumns[verdictColumn].heading.In(language)) + "</th></tr>";
    for (const KeyFigures& key : figures) {
        const SummaryCells cells = CellsOf(key);
        html += "<tr>";
        for (std::size_t i = 0; i < kSummaryColumns.size(); ++i) {
            if (i != verdictColumn) {
                html += "<td>" + cells.*kSummaryColumns[i].cell + "</td>";
            }
        }
        html += "<td style=\"background:" + std::string(VerdictColour(key.verdict)) +
                ";color:#ffffff\">" + VerdictName(key.verdict).In(language) + "</td></tr>";
    }
    return html + "</table>";
}

std::string Swatch(const char* colour, const std::string& text) {
    return "<span class=\"sw\" style=\"background:" + std::string(colour) + "\"></span>" + text +
           " ";
}

// The sentences above the table: where the figures come from and the rules they follow.
std::string Introduction(const ReportHeading& heading) {
    const JudgeSettings& s = heading.settings;
    const std::string source = Escape(heading.source);
    const std::string created = Escape(heading.created);
    const std::string statistic = NoiseStatisticName(s.noise).In(heading.language);
    const std::string frames = std::to_string(s.minTouchFrames);
    if (heading.language == ReportLanguage::Chinese) {
        return source + "，" + created + "。合格标准：信噪比（噪声取" + statistic + "）不低于 " +
               Number(s.minSnr) + "；一次触摸至少有 " + frames +
               " 帧明显高出静止带。触摸变化量和信噪比取中位触摸的数值，最弱触摸的数值另列。"
               "建议阈值为高于静止电平的计数：手指阈值、噪声阈值和迟滞分别为触摸变化量的 "
               "80 %、40 % 和 10 %。";
    }
    return source + ", " + created + ". Pass mark: SNR " + Number(s.minSnr) + " with the noise " +
           (s.noise == NoiseStatistic::Rms ? "rms" : "peak-to-peak") + "; a touch holds at least " +
           frames +
           " frames clear of the quiet band. The delta and SNR are the median touch's, the "
           "weakest touch's are shown beside them. Thresholds in counts above the quiet level: "
           "finger 80 %, noise 40 %, hysteresis 10 % of the delta.";
}

}  // namespace

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

std::string FormatHtmlReport(const RecordingChannels& recording,
                             const std::vector<KeyFigures>& figures, const ReportHeading& heading) {
    const ReportLanguage l = heading.language;
    const bool zh = l == ReportLanguage::Chinese;
    const std::string title = heading.program + (zh ? "：按键参数" : ": key figures");
    std::string html =
        std::string("<!DOCTYPE html><html lang=\"") + (zh ? "zh-CN" : "en") +
        "\"><head><meta charset=\"utf-8\"><title>" + title + " - " + Escape(heading.source) +
        "</title><style>body{font-family:" +
        (zh ? "\"Microsoft YaHei\",\"WenQuanYi Micro Hei\",sans-serif" : "sans-serif") +
        ";font-size:13px;margin:12px;color:#222}"
        "table{border-collapse:collapse;margin-bottom:12px}td,th{border:1px solid #bbb;"
        "padding:2px 8px;text-align:right}.key{display:flex;align-items:center;margin:6px 0}"
        ".figs{border-left:4px solid;padding-left:8px;margin-left:8px;line-height:1.5}"
        ".sw{display:inline-block;width:14px;height:10px;margin:0 4px 0 10px}"
        "svg text{font-size:11px;fill:#444}</style></head><body>";
    html += "<h2>" + title + "</h2><p>" + Introduction(heading) + "</p>";
    html += SummaryTable(figures, l);
    html += "<p>" +
            Swatch(report_colour::kCurve, zh ? "差值（每个像素列中的最小值和最大值）"
                                             : "difference (lowest and highest per column)") +
            Swatch(report_colour::kQuietBand, zh ? "静止带" : "quiet band") +
            Swatch(report_colour::kTouch, zh ? "触摸" : "touches") +
            Swatch(report_colour::kFinger, zh ? "建议的手指阈值" : "suggested finger threshold") +
            "</p>";
    for (std::uint32_t position = 0; position < figures.size(); ++position) {
        const KeyFigures& key = figures[position];
        html += "<div class=\"key\">";
        if (position < recording.ChannelCount() && key.samples > 0) {
            html += Chart(recording.Read(position).differences, key, l);
        }
        html += FiguresBeside(key, heading) + "</div>";
    }
    return html + "</body></html>\n";
}
