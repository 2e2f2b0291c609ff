#pragma once
// Polling with a deadline: the driver has no window of its own to be told things, so it looks
// again every few milliseconds until a condition holds or the time is up.

#include <chrono>
#include <thread>

using namespace std::chrono_literals;

template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout,
               std::chrono::milliseconds interval = 20ms) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(interval);
    }
}
