#pragma once
// How long the window takes to answer while something runs, and keys typed into its controls.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "tests/e2e/PalvexWindow.h"
#include "tests/e2e/Waiting.h"

using Clock = std::chrono::steady_clock;

// The longest wait for the window to answer WM_NULL, asked again and again until done().
template <class Done>
std::chrono::milliseconds LongestAnswerUntil(const PalvexWindow& window, Done done,
                                             std::chrono::milliseconds timeout) {
    std::chrono::milliseconds longest{0};
    const auto deadline = Clock::now() + timeout;
    while (!done() && Clock::now() < deadline) {
        const auto asked = Clock::now();
        window.Answers(5s);
        longest = std::max(
            longest, std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - asked));
        std::this_thread::sleep_for(10ms);
    }
    return longest;
}

inline void TypeEnter(HWND control) {
    ::PostMessageW(control, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageW(control, WM_CHAR, L'\r', 1);
    ::PostMessageW(control, WM_KEYUP, VK_RETURN, 0xC0000001);
}
