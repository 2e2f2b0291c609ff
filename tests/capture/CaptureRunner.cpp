#include "tests/capture/CaptureRunner.h"

#include <cstdio>

#include "device/connection/DeviceConnection.h"

const std::wstring& SimulatorFolder() {
    static const std::wstring folder = [] {
        const std::wstring relative =
            DeviceConnection::ProgramFolder() + PALVEX_SIMULATOR_FOLDER_FROM_TESTS;
        wchar_t full[MAX_PATH] = {};
        ::GetFullPathNameW(relative.c_str(), MAX_PATH, full, nullptr);
        return std::wstring(full) + L"\\";
    }();
    return folder;
}

std::wstring TempFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, path);
    std::wstring folder = std::wstring(path) + L"palvex capture tests\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

ScopedEnvironment::ScopedEnvironment(const std::map<std::wstring, std::wstring>& values) {
    for (const auto& [name, value] : values) {
        names_.push_back(name);
        ::SetEnvironmentVariableW(name.c_str(), value.c_str());
    }
}

ScopedEnvironment::~ScopedEnvironment() {
    for (const std::wstring& name : names_) {
        ::SetEnvironmentVariableW(name.c_str(), nullptr);
    }
}

namespace {

// A started palvex-capture and the files its output goes to.
struct StartedRun {
    PROCESS_INFORMATION process{};
    bool started = false;
    std::wstring outPath, errPath;
};

StartedRun StartCapture(const std::wstring& arguments, const std::wstring& folder) {
    // Fresh names per run: Wine may keep a finished child's console handles open a moment.
    static int runs = 0;
    const std::wstring name =
        TempFolder() + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++runs);
    StartedRun run;
    run.outPath = name + L".out";
    run.errPath = name + L".err";
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE out = ::CreateFileW(run.outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE err = ::CreateFileW(run.errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::wstring command = L"\"" + folder + L"palvex-capture.exe\" " + arguments;
    run.started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                   folder.c_str(), &startup, &run.process) != FALSE;
    ::CloseHandle(out);
    ::CloseHandle(err);
    return run;
}

ProgramRun Finish(StartedRun& started) {
    ProgramRun run;
    if (started.started) {
        ::WaitForSingleObject(started.process.hProcess, 60000);
        ::GetExitCodeProcess(started.process.hProcess, &run.exitCode);
        ::CloseHandle(started.process.hThread);
        ::CloseHandle(started.process.hProcess);
    }
    run.out = ReadFileBytes(started.outPath);
    run.err = ReadFileBytes(started.errPath);
    return run;
}

}  // namespace

ProgramRun RunCapture(const std::wstring& arguments, const std::wstring& folder) {
    StartedRun started = StartCapture(arguments, folder);
    return Finish(started);
}

std::vector<ProgramRun> RunCapturesAtOnce(const std::vector<std::wstring>& arguments) {
    std::vector<StartedRun> started;
    for (const std::wstring& each : arguments) {
        started.push_back(StartCapture(each, SimulatorFolder()));
    }
    std::vector<ProgramRun> runs;
    for (StartedRun& each : started) {
        runs.push_back(Finish(each));
    }
    return runs;
}
