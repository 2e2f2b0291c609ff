#pragma once
// The production log: one CSV line per channel and run, appended by every test station to one
// file, often on a shared folder. A run's lines are formed here and written in one go by the
// caller, so that they reach the file whole.

#include <chrono>
#include <string>
#include <vector>

#include "capture/KeyFigures.h"

// The log's header line, with its CR LF: the time, the label and the summary's columns.
extern const char* const kProductionLogHeader;

// "2024-05-01T08:30:00Z": the time in ISO 8601, UTC, to the second.
std::string FormatUtcTime(std::chrono::system_clock::time_point time);

// One line per channel, each ending in CR LF: the time, the label and the summary's columns.
// The label must not hold commas, quotes or line breaks (the command line refuses them).
std::string FormatLogRecords(const std::vector<KeyFigures>& keys, const std::string& label,
                             const std::string& utcTime);
