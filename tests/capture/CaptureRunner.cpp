#include "tests/capture/CaptureRunner.h"

#include <cstdio>

const std::wstring& SimulatorFolder() {
    static const std::wstring folder = [] {
        wchar_t path[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring relative(path);
        relative.resize(relative.find_last_of(L'\\') + 1);
        relative += PALVEX_SIMULATOR_FOLDER_FROM_TESTS;
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

std::string ReadFileBytes(const std::wstring& path) {
    std::string content;
    if (std::FILE* file = ::_wfopen(path.c_str(), L"rb")) {
        char block[65536];
        while (std::size_t read = std::fread(block, 1, sizeof(block), file)) {
            content.append(block, read);
        }
        std::fclose(file);
    }
    return content;
}

bool WriteFileBytes(const std::wstring& path, const std::string& content) {
    std::FILE* file = ::_wfopen(path.c_str(), L"wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    return std::fclose(file) == 0 && written;
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

ProgramRun RunCapture(const std::wstring& arguments, const std::wstring& folder) {
    // Fresh names per run: Wine may keep a finished child's console handles open a moment.
    static int runs = 0;
    const std::wstring name =
        TempFolder() + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++runs);
    const std::wstring outPath = name + L".out";
    const std::wstring errPath = name + L".err";
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE out = ::CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE err = ::CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::wstring command = L"\"" + folder + L"palvex-capture.exe\" " + arguments;
    PROCESS_INFORMATION process{};
    ProgramRun run;
    if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         folder.c_str(), &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, 60000);
        ::GetExitCodeProcess(process.hProcess, &run.exitCode);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(out);
    ::CloseHandle(err);
    run.out = ReadFileBytes(outPath);
    run.err = ReadFileBytes(errPath);
    return run;
}
