#include "capture/SummaryReport.h"

#include <cmath>
#include <cstdio>

namespace {

std::string Fixed(double value, int decimals) {
    if (std::isinf(value)) {
        return "inf";
    }
    char text[64];
    std::snprintf(text, sizeof(text), "%.*f", decimals, value);
    return text;
}

// The columns that only mean something for a channel with both quiet and touched samples.
bool HasDelta(const KeyFigures& key) {
    return key.verdict == KeyVerdict::Pass || key.verdict == KeyVerdict::Fail;
}

struct Cells {
    std::string channel, samples, baseline, noise, delta, snr, verdict;
};

Cells CellsOf(const KeyFigures& key) {
    Cells cells;
    cells.channel = std::to_string(key.channel + 1);
    cells.samples = std::to_string(key.samples);
    bool hasData = key.verdict != KeyVerdict::NoData;
    bool hasQuiet = hasData && key.verdict != KeyVerdict::NoQuiet;
    cells.baseline = hasData ? Fixed(key.baselineMean, 1) : "";
    cells.noise = hasQuiet ? std::to_string(key.noise) : "";
    cells.delta = HasDelta(key) ? Fixed(key.touchDelta, 1) : "";
    cells.snr = HasDelta(key) ? Fixed(key.snr, 2) : "";
    cells.verdict = VerdictText(key.verdict);
    return cells;
}

}  // namespace

const char* VerdictText(KeyVerdict verdict) {
    switch (verdict) {
        case KeyVerdict::Pass:
            return "pass";
        case KeyVerdict::Fail:
            return "fail";
        case KeyVerdict::NoTouch:
            return "no touch";
        case KeyVerdict::NoQuiet:
            return "no quiet";
        case KeyVerdict::NoData:
            break;
    }
    return "no data";
}

std::string FormatSummaryTable(const std::vector<KeyFigures>& keys, double minSnr) {
    char line[160];
    std::string table;
    std::snprintf(line, sizeof(line), "%-7s %9s %10s %6s %10s %8s  %s\n", "channel", "samples",
                  "baseline", "noise", "delta", "snr",
                  ("result (min snr " + Fixed(minSnr, 1) + ")").c_str());
    table += line;
    for (const KeyFigures& key : keys) {
        Cells c = CellsOf(key);
        std::snprintf(line, sizeof(line), "%-7s %9s %10s %6s %10s %8s  %s\n", c.channel.c_str(),
                      c.samples.c_str(), c.baseline.c_str(), c.noise.c_str(), c.delta.c_str(),
                      c.snr.c_str(), c.verdict.c_str());
        table += line;
    }
    return table;
}

std::string FormatSummaryCsv(const std::vector<KeyFigures>& keys) {
    std::string csv = "channel,samples,baseline_mean,noise_pp,touch_delta,snr,result\n";
    for (const KeyFigures& key : keys) {
        Cells c = CellsOf(key);
        csv += c.channel + "," + c.samples + "," + c.baseline + "," + c.noise + "," + c.delta +
               "," + c.snr + "," + c.verdict + "\n";
    }
    return csv;
}

bool AllKeysPass(const std::vector<KeyFigures>& keys) {
    if (keys.empty()) {
        return false;
    }
    for (const KeyFigures& key : keys) {
        if (key.verdict != KeyVerdict::Pass) {
            return false;
        }
    }
    return true;
}
