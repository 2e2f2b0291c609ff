#include "capture/SummaryReport.h"

#include <cstdio>

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof(text), "%.*f", decimals, value);
    return text;
}

SummaryCells CellsOf(const KeyFigures& key) {
    SummaryCells cells;
    cells.channel = std::to_string(key.channel + 1);
    cells.samples = std::to_string(key.samples);
    const bool hasData = key.verdict != KeyVerdict::NoData;
    const bool hasQuiet = hasData && key.verdict != KeyVerdict::NoQuiet;
    cells.baseline = hasData ? Fixed(key.baselineMean, 1) : "";
    cells.noise = hasQuiet ? std::to_string(key.noise) : "";
    cells.noiseRms = hasQuiet ? Fixed(key.noiseRms, 2) : "";
    cells.quietFrames = hasData ? std::to_string(key.runs.quiet.frames) : "";
    cells.touches = hasData ? std::to_string(key.runs.touches.size()) : "";
    if (HasTouchDelta(key)) {
        cells.delta = Fixed(key.touchDelta, 1);
        cells.snr = Fixed(key.snr, 2);
        cells.finger = std::to_string(key.thresholds.finger);
        cells.noiseThreshold = std::to_string(key.thresholds.noise);
        cells.hysteresis = std::to_string(key.thresholds.hysteresis);
    }
    cells.verdict = VerdictText(key.verdict);
    return cells;
}

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

std::string FormatSummaryTable(const std::vector<KeyFigures>& keys, const JudgeSettings& settings) {
    const char* const format = "%-7s %9s %9s %5s %6s %9s %7s %9s %7s %6s %6s %5s  %s\n";
    const bool rms = settings.noise == NoiseStatistic::Rms;
    char line[256];
    std::snprintf(line, sizeof(line), format, "channel", "samples", "baseline", "noise", "rms",
                  "quiet", "touches", "delta", rms ? "snr/rms" : "snr/pp", "finger", "noise",
                  "hyst", ("result (min snr " + Fixed(settings.minSnr, 1) + ")").c_str());
    std::string table = line;
    for (const KeyFigures& key : keys) {
        const SummaryCells c = CellsOf(key);
        std::snprintf(line, sizeof(line), format, c.channel.c_str(), c.samples.c_str(),
                      c.baseline.c_str(), c.noise.c_str(), c.noiseRms.c_str(),
                      c.quietFrames.c_str(), c.touches.c_str(), c.delta.c_str(), c.snr.c_str(),
                      c.finger.c_str(), c.noiseThreshold.c_str(), c.hysteresis.c_str(),
                      c.verdict.c_str());
        table += line;
    }
    return table;
}

std::string FormatSummaryCsv(const std::vector<KeyFigures>& keys) {
    std::string csv = std::string(kSummaryCsvHeader) + "\n";
    for (const KeyFigures& key : keys) {
        const SummaryCells c = CellsOf(key);
        for (const std::string* cell : {&c.channel, &c.samples, &c.baseline, &c.noise, &c.delta,
                                        &c.snr, &c.verdict, &c.noiseRms, &c.quietFrames, &c.touches,
                                        &c.finger, &c.noiseThreshold, &c.hysteresis}) {
            csv += *cell;
            csv += cell == &c.hysteresis ? "\n" : ",";
        }
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
