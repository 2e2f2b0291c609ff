#include "tests/e2e/FaultPlan.h"

#include <vector>

#include "tessik/SimulatorConfig.h"

namespace {

constexpr int kChannelCounts[] = {1, 4, 8, 16, 32};
constexpr std::uint32_t kLatestFrameFault = 250;  // frame reads: a second or two of receiving
constexpr std::uint32_t kLatestCommandFault = 3;  // start and stop: a few sessions
constexpr std::uint32_t kLongestTransientFault = 5;

std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());  // the names are plain ASCII
}

// Faults that make a request wait out the transfer limit. Aimed at the start, stop and layout
// requests, which the program makes on its window's thread, they keep the window from
// answering for that long by design, which the soak would report as a hang.
bool TimesOut(const std::string& fault) {
    return fault == "silent" || fault == "late-answer" || fault == "mute";
}

}  // namespace

Environment AdapterSettings::Variables() const {
    return {{L"TESSIK_SIM_CHANNELS", std::to_wstring(channels)},
            {L"TESSIK_SIM_SEED", std::to_wstring(seed)},
            {L"TESSIK_SIM_FAULT", Widen(fault)},
            {L"TESSIK_SIM_FAULT_REQUEST", Widen(request)},
            {L"TESSIK_SIM_FAULT_AFTER", std::to_wstring(after)},
            {L"TESSIK_SIM_FAULT_LENGTH", std::to_wstring(length)}};
}

std::string AdapterSettings::Describe() const {
    return std::to_string(channels) + " channels, fault " + fault + " on " + request + " after " +
           std::to_string(after) + " for " +
           (length == 0 ? std::string("good") : std::to_string(length));
}

std::uint32_t FaultPlan::Below(std::uint32_t bound) {
    return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(random_);
}

AdapterSettings FaultPlan::Next() {
    AdapterSettings settings;
    settings.channels = kChannelCounts[Below(std::size(kChannelCounts))];
    settings.seed = Below(1000000) + 1;
    if (Below(3) == 0) {
        return settings;  // a sound adapter now and then
    }
    const auto kinds = SimulatorFaultKinds();
    const SimulatorFaultKind* kind;
    do {
        kind = &kinds[Below(static_cast<std::uint32_t>(kinds.size()))];
    } while (kind->fault == SimulatorFault::None);
    settings.fault = kind->name;

    std::vector<const FaultTargetKind*> targets;
    for (const FaultTargetKind& target : FaultTargetKinds()) {
        const bool readsFrames =
            target.target == FaultTarget::Frame || target.target == FaultTarget::Layout;
        if (readsFrames || (!kind->needsDataReports && !TimesOut(settings.fault))) {
            targets.push_back(&target);
        }
    }
    const FaultTargetKind& target = *targets[Below(static_cast<std::uint32_t>(targets.size()))];
    // A timing-out layout read would hold the window too (see TimesOut).
    const bool layout = target.target == FaultTarget::Layout && !TimesOut(settings.fault);
    settings.request = layout || target.target != FaultTarget::Layout ? target.name : "frame";
    if (settings.request == "frame") {
        // The first frame read is the layout read at open (see TimesOut).
        settings.after = (TimesOut(settings.fault) ? 1 : 0) + Below(kLatestFrameFault);
    } else {
        settings.after = layout ? 0 : Below(kLatestCommandFault);
    }
    // Mostly transient. A disconnect is for good, which ends the program's life in the soak:
    // a plugged-back adapter keeps its settings and so would unplug itself again and again.
    settings.length =
        settings.fault == "disconnect" || Below(4) == 0 ? 0 : 1 + Below(kLongestTransientFault);
    return settings;
}
