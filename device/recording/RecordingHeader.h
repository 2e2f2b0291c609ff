#pragma once
// The header line of a recording file as the file holds it, for every writer of one: the
// window's export, palvex-capture's recording and the benchmarks' recordings.

#include <cstdint>
#include <string>
#include <vector>

// The titles of the channels numbered channels (0-based), each followed by a comma, then CR
// LF, in the active ANSI code page.
std::string RecordingHeaderBytes(const std::vector<std::uint32_t>& channels);
