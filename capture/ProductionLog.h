#pragma once
// The production log: one CSV line per channel and run, appended by every test station to one
// file, often on a shared folder. A run's lines are formed here and written in one go by the
// caller, so that they reach the file whole.
//
// A log lives for years and outlasts the program's versions: new columns go after the last,
// and a log begun by an earlier version keeps getting the columns its header names, so its
// lines stay aligned with their titles.

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "evaluation/KeyFigures.h"
#include "evaluation/UtcTime.h"

// The header lines, with their CR LF, that the log's versions begin with: the newest first,
// which a new or empty log gets. Each holds the time, the label and summary columns.
const std::vector<std::string>& ProductionLogHeaders();

// One line per channel, each ending in CR LF, with the columns of ProductionLogHeaders()[edition].
// The label must not hold commas, quotes or line breaks (the command line refuses them).
std::string FormatLogRecords(const std::vector<KeyFigures>& keys, const std::string& label,
                             const std::string& utcTime, std::size_t edition = 0);
