#pragma once
// One Palvex.exe started from its folder, as a user starts it, with the adapter simulator's
// settings in its environment; and the figures that tell whether it still answers and what
// it holds.

#include <windows.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>

// Variables for the program's environment, name -> value.
using Environment = std::map<std::wstring, std::wstring>;

struct ProcessFigures {
    std::size_t privateBytes = 0;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    bool gdiCounted = true;  // false under Wine, which keeps no such count
};

class PalvexProcess {
  public:
    PalvexProcess() = default;
    ~PalvexProcess();  // ends a program that is still running
    PalvexProcess(const PalvexProcess&) = delete;
    PalvexProcess& operator=(const PalvexProcess&) = delete;

    // Starts folder\Palvex.exe in that folder, with argument on its command line when there is
    // one. The driver's own environment is passed on without its TESSIK_SIM_* variables; the
    // given variables are added.
    bool Start(const std::wstring& folder, const Environment& variables,
               const std::wstring& argument = {});
    // The main window "Ostrel-TK" once the program shows it; null after the time-out.
    HWND WaitForMainWindow(std::chrono::milliseconds timeout) const;
    // Replaces the simulator's settings in the running program's environment. The simulated
    // adapter reads them anew at every open, so this is how the tests change the adapter
    // between two opens, as unplugging one adapter and plugging in another would.
    bool ChangeSimulatorSettings(const Environment& variables);

    HANDLE Handle() const { return process_; }
    DWORD Id() const { return id_; }
    bool Running() const;
    // Ends the program at once if it still runs.
    void Terminate();
    // The exit code once the program has ended, nothing when it still runs after the time-out.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout) const;
    // Private bytes and GDI and USER objects as Windows counts them; under Wine, which
    // answers 0, the stand-ins of WineFigures.h.
    ProcessFigures Figures() const;

  private:
    std::wstring EnvironmentBlock(const Environment& variables) const;

    HANDLE process_ = nullptr;
    DWORD id_ = 0;
    std::wstring path_;
    Environment base_;  // the driver's environment without the simulator's settings
};
