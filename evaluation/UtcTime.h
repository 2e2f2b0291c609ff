#pragma once
// The time a report or a log line is made, as both write it.

#include <chrono>
#include <string>

// "2024-05-01T08:30:00Z": the time in ISO 8601, UTC, to the second.
std::string FormatUtcTime(std::chrono::system_clock::time_point time);
