#pragma once
// The columns of a recording's summary, in one table that every form of it walks: the summary
// CSV and the production log by their column names, the printed table and the HTML report by
// their headings, and the comparison that reads a summary CSV back.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "evaluation/KeyFigures.h"
#include "evaluation/ReportLanguage.h"

// The verdict as the CSV files write it: "pass", "fail", "no touch", "no quiet", "no data".
const char* VerdictText(KeyVerdict verdict);
// The verdict as people read it, in either language.
ReportText VerdictName(KeyVerdict verdict);

// The value with that many decimals, as the summary writes every figure.
std::string Fixed(double value, int decimals);

// One channel's figures as the summary writes them; a figure without meaning for the channel
// (a delta without a touch, a noise without quiet frames) is empty.
struct SummaryCells {
    std::string channel, samples, baseline, noise, delta, snr, verdict;
    std::string noiseRms, quietFrames, touches, finger, noiseThreshold, hysteresis;
    std::string weakestDelta, weakestSnr;
};
SummaryCells CellsOf(const KeyFigures& key);

struct SummaryColumn {
    const char* name;  // in the CSV files; programs read it, so it is never translated
    std::string SummaryCells::*cell;
    ReportText heading;  // in the printed table and the report
};

// In the order of the CSV files. The first seven are those of the earliest version, which
// the comparison still reads; new columns go after the last.
extern const std::array<SummaryColumn, 15> kSummaryColumns;
inline constexpr std::size_t kFirstSummaryColumns = 7;

// The column names joined by commas, from the first to the count-th.
std::string SummaryHeader(std::size_t count = kSummaryColumns.size());

// The position of the column that shows cell.
std::size_t SummaryColumnIndex(std::string SummaryCells::*cell);
