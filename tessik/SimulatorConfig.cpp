#include "tessik/SimulatorConfig.h"

#include <charconv>
#include <cstring>

namespace {

bool ReadNumber(const char* (*lookup)(const char*), const char* name, long long low, long long high,
                long long& value, std::string& error) {
    const char* text = lookup(name);
    if (text == nullptr || *text == '\0') {
        return true;
    }
    const char* end = text + std::strlen(text);
    long long parsed = 0;
    const auto [stop, status] = std::from_chars(text, end, parsed);
    if (status != std::errc{} || stop != end || parsed < low || parsed > high) {
        error = std::string(name) + "=" + text + ": expected a whole number from " +
                std::to_string(low) + " to " + std::to_string(high);
        return false;
    }
    value = parsed;
    return true;
}

constexpr SimulatorFaultKind kFaultKinds[] = {
    {"none", SimulatorFault::None, false},
    {"read-fails", SimulatorFault::ReadFails, false},
    {"silent", SimulatorFault::Silent, false},
    {"wrong-status", SimulatorFault::WrongStatus, false},
    {"short-data", SimulatorFault::ShortData, true},
    {"disconnect", SimulatorFault::Disconnect, false},
    {"late-answer", SimulatorFault::LateAnswer, false},
    {"status-word", SimulatorFault::StatusWord, false},
    {"wrong-kind", SimulatorFault::WrongKind, false},
    {"mute", SimulatorFault::Mute, false},
};

constexpr FaultTargetKind kTargetKinds[] = {
    {"frame", FaultTarget::Frame}, {"layout", FaultTarget::Layout}, {"start", FaultTarget::Start},
    {"stop", FaultTarget::Stop},   {"any", FaultTarget::Any},
};

// Looks the variable's value up among the names of a table; leaves value alone when unset.
template <class Entry, class Value>
bool ReadChoice(const char* (*lookup)(const char*), const char* name,
                std::span<const Entry> choices, Value Entry::*field, Value& value,
                std::string& error) {
    const char* text = lookup(name);
    if (text == nullptr || *text == '\0') {
        return true;
    }
    std::string expected;
    for (const Entry& choice : choices) {
        if (std::strcmp(text, choice.name) == 0) {
            value = choice.*field;
            return true;
        }
        expected += (expected.empty() ? "" : ", ") + std::string(choice.name);
    }
    error = std::string(name) + "=" + text + ": expected one of " + expected;
    return false;
}

// TESSIK_SIM_TOUCH=channel:start:length:delta[:rise],... with every channel one the chip has.
bool ReadTouches(const char* (*lookup)(const char*), int channels,
                 std::vector<ScriptedTouch>& touches, std::string& error) {
    const char* text = lookup("TESSIK_SIM_TOUCH");
    if (text == nullptr || *text == '\0') {
        return true;
    }
    const std::string all = text;
    std::size_t begin = 0;
    while (begin <= all.size()) {
        std::size_t end = all.find(',', begin);
        if (end == std::string::npos) {
            end = all.size();
        }
        const std::string item = all.substr(begin, end - begin);
        long long fields[5] = {};
        const long long low[5] = {1, 0, 1, -65535, 0};
        const long long high[5] = {channels, 0xFFFFFFFFll, 0xFFFFFFFFll, 65535, 0xFFFFFFFFll};
        const char* at = item.data();
        const char* stop = item.data() + item.size();
        bool good = true;
        bool last = false;
        for (int f = 0; f < 5 && good && !last; ++f) {
            const auto [next, status] = std::from_chars(at, stop, fields[f]);
            last = next == stop;
            good = status == std::errc{} && fields[f] >= low[f] && fields[f] <= high[f] &&
                   (last ? f >= 3 : f < 4 && *next == ':');
            at = next + 1;
        }
        if (!good) {
            error = "TESSIK_SIM_TOUCH=" + all + ": \"" + item +
                    "\" is not channel:start:length:delta[:rise] with a channel from 1 to " +
                    std::to_string(channels) +
                    ", a length of at least 1 and a delta from -65535 "
                    "to 65535";
            return false;
        }
        touches.push_back({static_cast<int>(fields[0]), static_cast<std::uint32_t>(fields[1]),
                           static_cast<std::uint32_t>(fields[2]), static_cast<int>(fields[3]),
                           static_cast<std::uint32_t>(fields[4])});
        begin = end + 1;
    }
    return true;
}

bool AppliesTo(SimulatorFault fault, FaultTarget target) {
    const bool commandsTargeted = target != FaultTarget::Frame && target != FaultTarget::Layout;
    for (const SimulatorFaultKind& kind : kFaultKinds) {
        if (kind.fault == fault) {
            return !(kind.needsDataReports && commandsTargeted);
        }
    }
    return false;
}

}  // namespace

std::span<const SimulatorFaultKind> SimulatorFaultKinds() {
    return kFaultKinds;
}

std::span<const FaultTargetKind> FaultTargetKinds() {
    return kTargetKinds;
}

std::optional<SimulatorConfig> ParseSimulatorConfig(const char* (*lookup)(const char* name),
                                                    std::string& error) {
    SimulatorConfig config;
    long long channels = config.channels;
    long long layoutLength = config.layoutLength;
    long long delay = config.reportDelayMicros;
    long long seed = config.seed;
    long long faultAfter = config.faultAfterFrames;
    long long faultLength = config.faultLength;
    long long jitter = config.jitter;
    if (!ReadNumber(lookup, "TESSIK_SIM_CHANNELS", 0, 32, channels, error) ||
        !ReadNumber(lookup, "TESSIK_SIM_LAYOUT_LENGTH", 0, 255, layoutLength, error) ||
        !ReadNumber(lookup, "TESSIK_SIM_REPORT_DELAY_US", 0, 1000000, delay, error) ||
        !ReadNumber(lookup, "TESSIK_SIM_SEED", 0, 0xFFFFFFFFll, seed, error) ||
        !ReadNumber(lookup, "TESSIK_SIM_FAULT_AFTER", 0, 0xFFFFFFFFll, faultAfter, error) ||
        !ReadNumber(lookup, "TESSIK_SIM_FAULT_LENGTH", 0, 0xFFFFFFFFll, faultLength, error) ||
        !ReadNumber(lookup, "TESSIK_SIM_JITTER", 0, 1000, jitter, error) ||
        !ReadChoice(lookup, "TESSIK_SIM_FAULT", SimulatorFaultKinds(), &SimulatorFaultKind::fault,
                    config.fault, error) ||
        !ReadChoice(lookup, "TESSIK_SIM_FAULT_REQUEST", FaultTargetKinds(),
                    &FaultTargetKind::target, config.faultTarget, error) ||
        !ReadTouches(lookup, static_cast<int>(channels), config.touches, error)) {
        return std::nullopt;
    }
    if (!AppliesTo(config.fault, config.faultTarget)) {
        error = std::string("TESSIK_SIM_FAULT=") + lookup("TESSIK_SIM_FAULT") +
                ": only frame reads carry data reports, so TESSIK_SIM_FAULT_REQUEST must be "
                "frame or layout";
        return std::nullopt;
    }
    config.channels = static_cast<int>(channels);
    config.layoutLength = static_cast<int>(layoutLength);
    config.reportDelayMicros = static_cast<std::uint32_t>(delay);
    config.seed = static_cast<std::uint32_t>(seed);
    config.faultAfterFrames = static_cast<std::uint32_t>(faultAfter);
    config.faultLength = static_cast<std::uint32_t>(faultLength);
    config.jitter = static_cast<int>(jitter);
    return config;
}
