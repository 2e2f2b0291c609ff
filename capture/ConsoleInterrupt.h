#pragma once
// Ctrl+C, Ctrl+Break and the console window closing, turned into a request that the capture
// loop sees between two frames: the capture then ends as after a lost link, its frames written
// and its target replaced, instead of the process ending with the recording in a temporary
// file.

class ConsoleInterrupt {
  public:
    // Catches the console's events from here on.
    ConsoleInterrupt();
    // Lets a console that is closing end the process, and stops catching.
    ~ConsoleInterrupt();
    ConsoleInterrupt(const ConsoleInterrupt&) = delete;
    ConsoleInterrupt& operator=(const ConsoleInterrupt&) = delete;

    // Whether one of the events arrived.
    static bool Requested();
};
