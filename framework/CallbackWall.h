#pragma once
// Windows calls the program through its window and dialog procedures. An exception leaving one
// would unwind through the system's own frames, which neither Windows nor the C++ runtime
// allow for, so every such entry point runs its work behind this wall: an exception is stopped
// there, reported through the debugger output with the message number and its what() text,
// and the message gets the fallback's result instead. The program goes on.

#include <windows.h>

#include <exception>

// Writes one line about the stopped exception to the debugger output. Never throws and never
// allocates, so that it also reports std::bad_alloc.
void ReportStoppedException(UINT message, const char* what) noexcept;

// Runs work; true when it ended normally, false when it threw (and was reported).
template <class Work>
bool RunStoppingExceptions(UINT message, Work&& work) noexcept {
    try {
        work();
        return true;
    } catch (const std::exception& error) {
        ReportStoppedException(message, error.what());
    } catch (...) {
        ReportStoppedException(message, nullptr);
    }
    return false;
}

// The result of body, or of fallback when body threw; a value-initialised one when both threw.
template <class Body, class Fallback>
auto CallBehindWall(UINT message, Body&& body, Fallback&& fallback) noexcept -> decltype(body()) {
    decltype(body()) result{};
    if (!RunStoppingExceptions(message, [&] { result = body(); })) {
        RunStoppingExceptions(message, [&] { result = fallback(); });
    }
    return result;
}
