#include "capture/ProductionLog.h"

#include <cstdio>

#include "capture/SummaryReport.h"

namespace {
const std::string kHeaderLine = "time,label," + SummaryHeader() + "\r\n";
}  // namespace

const char* const kProductionLogHeader = kHeaderLine.c_str();

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
                             const std::string& utcTime) {
    std::string records;
    for (const KeyFigures& key : keys) {
        const SummaryCells cells = CellsOf(key);
        records += utcTime + "," + label;
        for (const SummaryColumn& column : kSummaryColumns) {
            records += "," + cells.*column.cell;
        }
        records += "\r\n";
    }
    return records;
}
