#include "app/EvaluationRows.h"

constinit const std::array<EvaluationColumn, 12> kEvaluationColumns = {{
    {&SummaryCells::channel, 48},
    {&SummaryCells::samples, 80},
    {&SummaryCells::noise, 76},
    {&SummaryCells::noiseRms, 76},
    {&SummaryCells::touches, 64},
    {&SummaryCells::delta, 76},
    {&SummaryCells::weakestDelta, 76},
    {&SummaryCells::snr, 56},
    {&SummaryCells::verdict, 56},
    {&SummaryCells::finger, 64},
    {&SummaryCells::noiseThreshold, 64},
    {&SummaryCells::hysteresis, 44},
}};

std::string EvaluationTitle(const EvaluationColumn& column) {
    return kSummaryColumns[SummaryColumnIndex(column.cell)].heading.chinese;
}

std::size_t VerdictColumn() {
    std::size_t index = 0;
    while (kEvaluationColumns[index].cell != &SummaryCells::verdict) {
        ++index;
    }
    return index;
}

std::vector<std::string> EvaluationCells(const KeyFigures& key) {
    SummaryCells cells = CellsOf(key);
    cells.verdict = VerdictName(key.verdict).chinese;
    std::vector<std::string> texts;
    for (const EvaluationColumn& column : kEvaluationColumns) {
        const std::string& text = cells.*column.cell;
        texts.push_back(text.empty() ? "-" : text);
    }
    return texts;
}

std::vector<double> DifferenceLevels(const KeyFigures& key) {
    if (!HasQuiet(key)) {
        return {};
    }
    std::vector<double> levels = {static_cast<double>(key.runs.quiet.lowest),
                                  static_cast<double>(key.runs.quiet.highest)};
    if (HasTouchDelta(key)) {
        levels.push_back(FingerLevel(key));
    }
    return levels;
}

std::string EvaluatedFramesText(std::uint64_t frames) {
    return "已评估 " + std::to_string(frames) + " 帧";
}
