#pragma once
// Sets a recording's figures against a summary CSV that palvex-capture wrote earlier, so that
// the effect of a tuning change is one command: per channel the old and new noise, touch
// delta and SNR, and whether the verdict changed.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "evaluation/KeyFigures.h"

// One channel of an earlier summary, its figures as written there (empty when it had none).
struct EarlierFigures {
    std::uint32_t channel = 0;  // 1-based, as the CSV numbers channels
    std::string noise, delta, snr, verdict;
};

// Reads a summary CSV (of this version or an earlier one, with the first seven columns only).
// False with error set ("name, line N: what is wrong") when it is not one.
bool ParseSummaryCsv(std::string_view text, const std::string& name,
                     std::vector<EarlierFigures>& channels, std::string& error);

// A table of every channel of either side; the last column reads "same", "changed", "new"
// (only in the recording) or "gone" (only in the earlier summary).
std::string FormatComparison(const std::vector<EarlierFigures>& earlier,
                             const std::vector<KeyFigures>& now);
