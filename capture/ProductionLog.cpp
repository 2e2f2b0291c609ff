#include "capture/ProductionLog.h"

#include <array>
#include <cstdio>

#include "evaluation/SummaryColumns.h"

namespace {

using Cell = std::string SummaryCells::*;

// The log's columns after the time and the label, newest edition first. The first edition
// put the verdict last; the weakest touch's figures came after it.
constexpr std::array kFirstEdition = {
    &SummaryCells::channel, &SummaryCells::samples,        &SummaryCells::baseline,
    &SummaryCells::noise,   &SummaryCells::noiseRms,       &SummaryCells::quietFrames,
    &SummaryCells::touches, &SummaryCells::delta,          &SummaryCells::snr,
    &SummaryCells::finger,  &SummaryCells::noiseThreshold, &SummaryCells::hysteresis,
    &SummaryCells::verdict,
};

const std::vector<std::vector<Cell>>& Editions() {
    static const std::vector<std::vector<Cell>> editions = [] {
        std::vector<Cell> first(kFirstEdition.begin(), kFirstEdition.end());
        std::vector<Cell> second = first;
        second.push_back(&SummaryCells::weakestDelta);
        second.push_back(&SummaryCells::weakestSnr);
        return std::vector<std::vector<Cell>>{second, first};
    }();
    return editions;
}

}  // namespace

const std::vector<std::string>& ProductionLogHeaders() {
    static const std::vector<std::string> headers = [] {
        std::vector<std::string> lines;
        for (const std::vector<Cell>& edition : Editions()) {
            std::string line = "time,label";
            for (const Cell cell : edition) {
                line += "," + std::string(kSummaryColumns[SummaryColumnIndex(cell)].name);
            }
            lines.push_back(line + "\r\n");
        }
        return lines;
    }();
    return headers;
}

std::string FormatLogRecords(const std::vector<KeyFigures>& keys, const std::string& label,
                             const std::string& utcTime, std::size_t edition) {
    std::string records;
    for (const KeyFigures& key : keys) {
        const SummaryCells cells = CellsOf(key);
        records += utcTime + "," + label;
        for (const Cell cell : Editions().at(edition)) {
            records += "," + cells.*cell;
        }
        records += "\r\n";
    }
    return records;
}
