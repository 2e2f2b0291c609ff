#pragma once
// The summary of a recording, one row per channel: as an aligned table for people and as CSV
// for scripts, and the exit code that sums it up.

#include <string>
#include <vector>

#include "capture/KeyFigures.h"

// The verdict as the table shows it: "pass", "fail", "no touch", "no quiet", "no data".
const char* VerdictText(KeyVerdict verdict);

// The value with that many decimals, as the summary writes every figure.
std::string Fixed(double value, int decimals);

// One channel's figures as the summary writes them; a figure without meaning for the channel
// (a delta without a touch, a noise without quiet frames) is empty.
struct SummaryCells {
    std::string channel, samples, baseline, noise, delta, snr, verdict;
    std::string noiseRms, quietFrames, touches, finger, noiseThreshold, hysteresis;
};
SummaryCells CellsOf(const KeyFigures& key);

// The summary CSV's header: the first seven columns are those of earlier versions.
inline constexpr const char* kSummaryCsvHeader =
    "channel,samples,baseline_mean,noise_pp,touch_delta,snr,result,noise_rms,quiet_frames,"
    "touches,finger_threshold,noise_threshold,hysteresis";

// A fixed-width table with a header line; channels are numbered from 1 as in Palvex. Figures
// without meaning for a channel (a delta without a touch) stay empty.
std::string FormatSummaryTable(const std::vector<KeyFigures>& keys, const JudgeSettings& settings);
// The same figures as CSV: a header line, then one line per channel, "\n" line ends.
std::string FormatSummaryCsv(const std::vector<KeyFigures>& keys);

// True when every channel passed; a channel that failed or shows no touch makes it false, and
// so does a recording without channels.
bool AllKeysPass(const std::vector<KeyFigures>& keys);
