#pragma once
// Runs the built palvex-capture.exe as a script would: from the build's simulator folder, with
// environment variables for the simulator, its standard output and error caught in files.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/WholeFiles.h"

// The build's simulator folder, with a trailing backslash.
const std::wstring& SimulatorFolder();
// A folder for the tests' files, with a blank in its name.
std::wstring TempFolder();

// Sets environment variables for the child processes of one test and removes them after.
class ScopedEnvironment {
  public:
    explicit ScopedEnvironment(const std::map<std::wstring, std::wstring>& values);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    std::vector<std::wstring> names_;
};

struct ProgramRun {
    DWORD exitCode = 0xFFFF;  // stays so when the program could not be started
    std::string out;
    std::string err;
};

// Runs palvex-capture.exe of folder with the arguments and waits for it (at most a minute).
ProgramRun RunCapture(const std::wstring& arguments,
                      const std::wstring& folder = SimulatorFolder());
// Starts one palvex-capture.exe of the simulator folder per argument line, all at once, and
// waits for them all.
std::vector<ProgramRun> RunCapturesAtOnce(const std::vector<std::wstring>& arguments);
