#pragma once
// The enabling of the acquisition buttons in the program's three states: Closed, Opened
// (idle) and Receiving.

#include <ostream>

#include "tests/e2e/PalvexWindow.h"

struct ButtonStates {
    bool open, resume, stop, close, clear, exportData;
    bool operator==(const ButtonStates&) const = default;
};

inline constexpr ButtonStates kClosed{true, false, false, false, true, true};
inline constexpr ButtonStates kOpened{false, true, true, true, true, true};
inline constexpr ButtonStates kReceiving{false, false, true, false, false, false};

ButtonStates ReadButtonStates(const PalvexWindow& window);
// The state a set of button states stands for, or "other".
const char* StateName(const ButtonStates& states);
std::ostream& operator<<(std::ostream& out, const ButtonStates& states);
