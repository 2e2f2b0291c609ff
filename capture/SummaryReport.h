#pragma once
// The summary of a recording, one row per channel: as an aligned table for people and as CSV
// for scripts, and the exit code that sums it up.

#include <string>
#include <vector>

#include "capture/KeyFigures.h"

// The verdict as the table shows it: "pass", "fail", "no touch", "no quiet", "no data".
const char* VerdictText(KeyVerdict verdict);

// A fixed-width table with a header line; channels are numbered from 1 as in Palvex.
std::string FormatSummaryTable(const std::vector<KeyFigures>& keys, double minSnr);
// The same columns as CSV: a header line, then one line per channel, "\n" line ends.
std::string FormatSummaryCsv(const std::vector<KeyFigures>& keys);

// True when every channel passed; a channel that failed or shows no touch makes it false, and
// so does a recording without channels.
bool AllKeysPass(const std::vector<KeyFigures>& keys);
