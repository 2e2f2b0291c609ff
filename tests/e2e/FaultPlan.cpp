#include "tests/e2e/FaultPlan.h"

namespace {

// Every fault kind of the simulator; the disconnect ends a program's life in the soak, so
// it comes more rarely.
constexpr const wchar_t* kRepeatableFaults[] = {L"read-fails", L"silent", L"wrong-status",
                                                L"short-data"};
constexpr int kChannelCounts[] = {1, 4, 8, 16, 32};
constexpr std::uint32_t kLatestFaultStart = 250;  // frames: a second or two of receiving

}  // namespace

Environment AdapterSettings::Variables() const {
    return {{L"TESSIK_SIM_CHANNELS", std::to_wstring(channels)},
            {L"TESSIK_SIM_SEED", std::to_wstring(seed)},
            {L"TESSIK_SIM_FAULT", fault},
            {L"TESSIK_SIM_FAULT_AFTER", std::to_wstring(faultAfter)}};
}

AdapterSettings FaultPlan::Next() {
    auto below = [this](std::uint32_t bound) {
        return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(random_);
    };
    AdapterSettings settings;
    settings.channels = kChannelCounts[below(std::size(kChannelCounts))];
    settings.seed = below(1000000) + 1;
    const std::uint32_t draw = below(20);
    if (draw < 11) {
        settings.fault = kRepeatableFaults[draw % std::size(kRepeatableFaults)];
    } else if (draw == 11) {
        settings.fault = L"disconnect";
    }
    // Some faults hit the layout read at open, most come while receiving.
    settings.faultAfter = below(4) == 0 ? below(2) : below(kLatestFaultStart);
    return settings;
}
