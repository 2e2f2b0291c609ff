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

std::string FormatUtcTime(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const auto seconds = floor<std::chrono::seconds>(time);
    const auto day = floor<days>(seconds);
    const year_month_day date(day);
    const hh_mm_ss clock(seconds - day);
    char text[32];
    std::snprintf(text, sizeof(text), "%04d-%02u-%02uT%02d:%02d:%02dZ", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), int(clock.hours().count()),
                  int(clock.minutes().count()), int(clock.seconds().count()));
    return text;
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
