#include "evaluation/SummaryColumns.h"

#include <cstdio>

// Constant-initialized, so that the other files may read it while they are initialized.
constinit const std::array<SummaryColumn, 15> kSummaryColumns = {{
    {"channel", &SummaryCells::channel, {"channel", "通道"}},
    {"samples", &SummaryCells::samples, {"samples", "帧数"}},
    {"baseline_mean", &SummaryCells::baseline, {"baseline", "基线均值"}},
    {"noise_pp", &SummaryCells::noise, {"noise", "噪声峰峰值"}},
    {"touch_delta", &SummaryCells::delta, {"delta", "触摸变化量"}},
    {"snr", &SummaryCells::snr, {"snr", "信噪比"}},
    {"result", &SummaryCells::verdict, {"result", "结论"}},
    {"noise_rms", &SummaryCells::noiseRms, {"rms", "噪声均方根"}},
    {"quiet_frames", &SummaryCells::quietFrames, {"quiet", "静止帧数"}},
    {"touches", &SummaryCells::touches, {"touches", "触摸次数"}},
    {"finger_threshold", &SummaryCells::finger, {"finger", "手指阈值"}},
    {"noise_threshold", &SummaryCells::noiseThreshold, {"noise thr", "噪声阈值"}},
    {"hysteresis", &SummaryCells::hysteresis, {"hyst", "迟滞"}},
    {"weakest_delta", &SummaryCells::weakestDelta, {"weakest", "最弱变化量"}},
    {"weakest_snr", &SummaryCells::weakestSnr, {"weakest snr", "最弱信噪比"}},
}};

std::string SummaryHeader(std::size_t count) {
    std::string header;
    for (std::size_t i = 0; i < count && i < kSummaryColumns.size(); ++i) {
        header += (i == 0 ? "" : ",") + std::string(kSummaryColumns[i].name);
    }
    return header;
}

std::size_t SummaryColumnIndex(std::string SummaryCells::*cell) {
    std::size_t index = 0;
    while (index < kSummaryColumns.size() && kSummaryColumns[index].cell != cell) {
        ++index;
    }
    return index;
}

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof(text), "%.*f", decimals, value);
    return text;
}

ReportText VerdictName(KeyVerdict verdict) {
    switch (verdict) {
        case KeyVerdict::Pass:
            return {"pass", "合格"};
        case KeyVerdict::Fail:
            return {"fail", "不合格"};
        case KeyVerdict::NoTouch:
            return {"no touch", "未触摸"};
        case KeyVerdict::NoQuiet:
            return {"no quiet", "无静止"};
        case KeyVerdict::NoData:
            break;
    }
    return {"no data", "无数据"};
}

const char* VerdictText(KeyVerdict verdict) {
    return VerdictName(verdict).english;
}

SummaryCells CellsOf(const KeyFigures& key) {
    SummaryCells cells;
    cells.channel = std::to_string(key.channel + 1);
    cells.samples = std::to_string(key.samples);
    const bool hasData = key.verdict != KeyVerdict::NoData;
    const bool hasQuiet = HasQuiet(key);
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
        cells.weakestDelta = Fixed(key.weakestDelta, 1);
        cells.weakestSnr = Fixed(key.weakestSnr, 2);
    }
    cells.verdict = VerdictText(key.verdict);
    return cells;
}
