#include "tests/e2e/PalvexProcess.h"

#include <psapi.h>

#include <algorithm>

#include "tests/e2e/RemoteBuffer.h"
#include "tests/e2e/TopLevelWindows.h"
#include "tests/e2e/Waiting.h"
#include "tests/e2e/WineFigures.h"

namespace {

constexpr wchar_t kSimulatorPrefix[] = L"TESSIK_SIM_";
constexpr wchar_t kMainWindowCaption[] = L"Ostrel-TK";

bool IsSimulatorSetting(const std::wstring& name) {
    return name.rfind(kSimulatorPrefix, 0) == 0;
}

Environment CurrentEnvironmentWithoutSimulator() {
    Environment variables;
    wchar_t* block = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) {
        const std::wstring text = entry;
        // Names may begin with '=' (the per-drive current folders), so look past it.
        const auto equals = text.find(L'=', 1);
        if (equals != std::wstring::npos && !IsSimulatorSetting(text.substr(0, equals))) {
            variables[text.substr(0, equals)] = text.substr(equals + 1);
        }
    }
    ::FreeEnvironmentStringsW(block);
    return variables;
}

// The address of an export of a system library in another process: the same offset from
// the library's base there as here.
void* RemoteExport(HANDLE process, const wchar_t* library, const char* name) {
    HMODULE local = ::GetModuleHandleW(library);
    FARPROC function = local != nullptr ? ::GetProcAddress(local, name) : nullptr;
    HMODULE home = nullptr;
    if (function == nullptr ||
        !::GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(function), &home)) {
        return nullptr;
    }
    wchar_t homeName[MAX_PATH] = {};
    ::GetModuleBaseNameW(::GetCurrentProcess(), home, homeName, MAX_PATH);
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!::EnumProcessModulesEx(process, modules, sizeof modules, &bytes, LIST_MODULES_ALL)) {
        return nullptr;
    }
    for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
        wchar_t remoteName[MAX_PATH] = {};
        ::GetModuleBaseNameW(process, modules[i], remoteName, MAX_PATH);
        if (_wcsicmp(remoteName, homeName) == 0) {
            return reinterpret_cast<char*>(modules[i]) +
                   (reinterpret_cast<char*>(function) - reinterpret_cast<char*>(home));
        }
    }
    return nullptr;
}

}  // namespace

PalvexProcess::~PalvexProcess() {
    if (process_ != nullptr) {
        Terminate();
        ::CloseHandle(process_);
    }
}

void PalvexProcess::Terminate() {
    if (Running()) {
        ::TerminateProcess(process_, 1);
        ::WaitForSingleObject(process_, 5000);
    }
}

std::wstring PalvexProcess::EnvironmentBlock(const Environment& variables) const {
    Environment merged = base_;
    for (const auto& [name, value] : variables) {
        merged[name] = value;
    }
    std::wstring block;
    for (const auto& [name, value] : merged) {
        block += name + L"=" + value;
        block.push_back(L'\0');
    }
    block.push_back(L'\0');
    return block;
}

bool PalvexProcess::Start(const std::wstring& folder, const Environment& variables,
                          const std::wstring& argument) {
    base_ = CurrentEnvironmentWithoutSimulator();
    std::wstring environment = EnvironmentBlock(variables);
    path_ = folder + L"\\Palvex.exe";
    std::replace(path_.begin(), path_.end(), L'/', L'\\');
    std::wstring commandLine = L"\"" + path_ + L"\"";
    if (!argument.empty()) {
        commandLine += L" \"" + argument + L"\"";
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                          CREATE_UNICODE_ENVIRONMENT, environment.data(), folder.c_str(), &startup,
                          &started)) {
        return false;
    }
    ::CloseHandle(started.hThread);
    process_ = started.hProcess;
    id_ = started.dwProcessId;
    return true;
}

HWND PalvexProcess::WaitForMainWindow(std::chrono::milliseconds timeout) const {
    HWND main = nullptr;
    WaitUntil(
        [&] {
            main = FindDialogWindow(id_, kMainWindowCaption);
            return main != nullptr && ::IsWindowVisible(main);
        },
        timeout);
    return main;
}

bool PalvexProcess::ChangeSimulatorSettings(const Environment& variables) {
    // The program's own environment is replaced from a thread started inside it, since a
    // process can only change its own environment.
    auto* replace = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        RemoteExport(process_, L"kernel32.dll", "SetEnvironmentStringsW"));
    const std::wstring block = EnvironmentBlock(variables);
    RemoteBuffer remote(process_, block.size() * sizeof(wchar_t));
    if (replace == nullptr || !remote.Write(block.data(), block.size() * sizeof(wchar_t))) {
        return false;
    }
    HANDLE thread = ::CreateRemoteThread(process_, nullptr, 0, replace,
                                         reinterpret_cast<void*>(remote.At()), 0, nullptr);
    if (thread == nullptr) {
        return false;
    }
    const bool finished = ::WaitForSingleObject(thread, 5000) == WAIT_OBJECT_0;
    DWORD result = 0;
    ::GetExitCodeThread(thread, &result);
    ::CloseHandle(thread);
    return finished && result != 0;
}

bool PalvexProcess::Running() const {
    return process_ != nullptr && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> PalvexProcess::WaitForExit(std::chrono::milliseconds timeout) const {
    if (::WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process_, &code);
    return code;
}

ProcessFigures PalvexProcess::Figures() const {
    ProcessFigures figures;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (::GetProcessMemoryInfo(process_, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                               sizeof memory)) {
        figures.privateBytes = memory.PrivateUsage;
    }
    figures.gdiObjects = ::GetGuiResources(process_, GR_GDIOBJECTS);
    figures.userObjects = ::GetGuiResources(process_, GR_USEROBJECTS);
    if (figures.privateBytes == 0) {
        figures.privateBytes = UnixPrivateBytes(path_).value_or(0);
    }
    if (figures.userObjects == 0) {
        figures.userObjects = WindowCount(id_);
        figures.gdiCounted = figures.gdiObjects != 0;
    }
    return figures;
}
