#include "capture/ConsoleInterrupt.h"

#include <windows.h>

#include <atomic>

namespace {

std::atomic<bool> requested{false};
// Set once the program has finished its files; a closing console waits for it.
HANDLE finished = nullptr;

// Windows ends the process about five seconds after a closing console's event arrived; a
// little less leaves the program its last writes.
constexpr DWORD kCloseGraceMs = 4500;

BOOL WINAPI OnConsoleEvent(DWORD event) {
    requested = true;
    // For a closing console (or a logoff or shutdown) the process ends when this returns: it
    // waits until the capture has written and replaced its files.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        ::WaitForSingleObject(finished, kCloseGraceMs);
    }
    return TRUE;
}

}  // namespace

ConsoleInterrupt::ConsoleInterrupt() {
    finished = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // A program started in a process group of its own inherits the order to ignore Ctrl+C.
    ::SetConsoleCtrlHandler(nullptr, FALSE);
    ::SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

ConsoleInterrupt::~ConsoleInterrupt() {
    ::SetEvent(finished);
    ::SetConsoleCtrlHandler(&OnConsoleEvent, FALSE);
}

bool ConsoleInterrupt::Requested() {
    return requested;
}
