#include "tests/e2e/AcquisitionStates.h"

#include "res/resource.h"

ButtonStates ReadButtonStates(const PalvexWindow& window) {
    return {window.Enabled(IDC_OPEN_DEVICE),    window.Enabled(IDC_CONTINUE_RECEIVING),
            window.Enabled(IDC_STOP_RECEIVING), window.Enabled(IDC_CLOSE_DEVICE),
            window.Enabled(IDC_CLEAR_DATA),     window.Enabled(IDC_EXPORT_DATA)};
}

const char* StateName(const ButtonStates& states) {
    return states == kClosed      ? "Closed"
           : states == kOpened    ? "Opened"
           : states == kReceiving ? "Receiving"
                                  : "other";
}

std::ostream& operator<<(std::ostream& out, const ButtonStates& states) {
    const auto mark = [](bool enabled) { return enabled ? '+' : '-'; };
    return out << StateName(states) << " (open" << mark(states.open) << " receive"
               << mark(states.resume) << " stop" << mark(states.stop) << " close"
               << mark(states.close) << " clear" << mark(states.clear) << " export"
               << mark(states.exportData) << ")";
}
