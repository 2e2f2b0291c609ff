#pragma once
// The summary of a recording, one row per channel: as an aligned table for people and as CSV
// for scripts, and the exit code that sums it up.

#include <string>
#include <vector>

#include "evaluation/KeyFigures.h"
#include "evaluation/ReportLanguage.h"
#include "evaluation/SummaryColumns.h"

// The name of the noise the SNR divides by, as the table and the report show it.
ReportText NoiseStatisticName(NoiseStatistic noise);

// A table with a heading line, its columns aligned for a console (where a Chinese character
// takes two places) and the verdict last; channels are numbered from 1 as in Palvex. Figures
// without meaning for a channel (a delta without a touch) show as "-".
std::string FormatSummaryTable(const std::vector<KeyFigures>& keys, const JudgeSettings& settings,
                               ReportLanguage language);
// The same figures as CSV: the column names, then one line per channel, "\n" line ends;
// figures without meaning for a channel are empty.
std::string FormatSummaryCsv(const std::vector<KeyFigures>& keys);

// True when every channel passed; a channel that failed or shows no touch makes it false, and
// so does a recording without channels.
bool AllKeysPass(const std::vector<KeyFigures>& keys);
