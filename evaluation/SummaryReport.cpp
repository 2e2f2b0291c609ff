#include "evaluation/SummaryReport.h"

#include <algorithm>

namespace {

// The places text takes in a console: a character from the CJK radicals on (Chinese, and
// the full-width punctuation among them) takes two, any other one.
std::size_t DisplayWidth(const std::string& text) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        // Three bytes from E2 BA 80 (U+2E80) up are wide; four-byte characters are too.
        const bool wide =
            length == 4 ||
            (length == 3 && (lead > 0xE2 || (i + 1 < text.size() &&
                                             static_cast<unsigned char>(text[i + 1]) >= 0xBA)));
        width += wide ? 2 : 1;
        i += length;
    }
    return width;
}

std::string Padding(const std::string& text, std::size_t width) {
    return std::string(width - std::min(width, DisplayWidth(text)), ' ');
}

}  // namespace

ReportText NoiseStatisticName(NoiseStatistic noise) {
    return noise == NoiseStatistic::Rms ? ReportText{"rms", "均方根"} : ReportText{"pp", "峰峰值"};
}

std::string FormatSummaryTable(const std::vector<KeyFigures>& keys, const JudgeSettings& settings,
                               ReportLanguage language) {
    const std::size_t verdictColumn = SummaryColumnIndex(&SummaryCells::verdict);
    std::vector<std::vector<std::string>> rows(1);
    for (const SummaryColumn& column : kSummaryColumns) {
        rows[0].push_back(column.heading.In(language));
    }
    const ReportText passMark = {" (min snr ", "（信噪比下限 "};
    const ReportText noiseOf = {", noise ", "，噪声取"};
    const ReportText close = {")", "）"};
    rows[0][verdictColumn] += passMark.In(language) + Fixed(settings.minSnr, 1) +
                              noiseOf.In(language) +
                              NoiseStatisticName(settings.noise).In(language) + close.In(language);
    for (const KeyFigures& key : keys) {
        const SummaryCells cells = CellsOf(key);
        rows.emplace_back();
        for (const SummaryColumn& column : kSummaryColumns) {
            const std::string& cell = cells.*column.cell;
            rows.back().push_back(cell.empty() ? "-" : cell);
        }
        rows.back()[verdictColumn] = VerdictName(key.verdict).In(language);
    }
    std::vector<std::size_t> widths(kSummaryColumns.size());
    for (const std::vector<std::string>& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], DisplayWidth(row[i]));
        }
    }
    // The channel first and left-aligned, so that a line begins with its channel; the figures
    // right-aligned; the verdict last, where the eye ends.
    std::string table;
    for (const std::vector<std::string>& row : rows) {
        table += row[0] + Padding(row[0], widths[0]);
        for (std::size_t i = 1; i < row.size(); ++i) {
            if (i != verdictColumn) {
                table += " " + Padding(row[i], widths[i]) + row[i];
            }
        }
        table += "  " + row[verdictColumn] + "\n";
    }
    return table;
}

std::string FormatSummaryCsv(const std::vector<KeyFigures>& keys) {
    std::string csv = SummaryHeader() + "\n";
    for (const KeyFigures& key : keys) {
        const SummaryCells cells = CellsOf(key);
        for (const SummaryColumn& column : kSummaryColumns) {
            csv += (&column == &kSummaryColumns.front() ? "" : ",") + cells.*column.cell;
        }
        csv += "\n";
    }
    return csv;
}

bool AllKeysPass(const std::vector<KeyFigures>& keys) {
    if (keys.empty()) {
        return false;
    }
    for (const KeyFigures& key : keys) {
        if (key.verdict != KeyVerdict::Pass) {
            return false;
        }
    }
    return true;
}
