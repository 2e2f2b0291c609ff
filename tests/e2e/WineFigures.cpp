#include "tests/e2e/WineFigures.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <string>

namespace {

// Wine shows the Unix root as drive Z:.
constexpr wchar_t kUnixProcesses[] = L"Z:\\proc\\";

std::string ReadSmallFile(const std::wstring& path) {
    std::string bytes;
    if (FILE* in = _wfopen(path.c_str(), L"rb")) {
        char block[4096];
        const std::size_t got = std::fread(block, 1, sizeof block, in);
        bytes.assign(block, got);
        std::fclose(in);
    }
    return bytes;
}

bool SamePath(const std::string& commandLine, const std::wstring& path) {
    const std::string first = commandLine.c_str();  // up to the first NUL: the program
    std::wstring wide(first.size(), L'\0');
    const int length =
        ::MultiByteToWideChar(CP_UTF8, 0, first.data(), static_cast<int>(first.size()), wide.data(),
                              static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(std::max(length, 0)));
    return _wcsicmp(wide.c_str(), path.c_str()) == 0;
}

std::optional<std::size_t> ResidentAnonymousBytes(const std::string& status) {
    const char* line = std::strstr(status.c_str(), "RssAnon:");
    if (line == nullptr) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(std::strtoull(line + 8, nullptr, 10)) * 1024;
}

}  // namespace

std::optional<std::size_t> UnixPrivateBytes(const std::wstring& programPath) {
    WIN32_FIND_DATAW entry;
    HANDLE search = ::FindFirstFileW((std::wstring(kUnixProcesses) + L"*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::optional<std::size_t> bytes;
    do {
        const std::wstring pid = entry.cFileName;
        if (pid.empty() || !std::iswdigit(pid[0])) {
            continue;
        }
        const std::wstring folder = kUnixProcesses + pid + L"\\";
        if (SamePath(ReadSmallFile(folder + L"cmdline"), programPath)) {
            bytes = ResidentAnonymousBytes(ReadSmallFile(folder + L"status"));
            break;
        }
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    return bytes;
}

namespace {

// The windows of one process, counted by the enumeration callbacks below (named functions:
// the system calls them with its own calling convention, which a lambda lacks on 32-bit
// Windows).
struct WindowTally {
    DWORD processId;
    DWORD windows;
};

BOOL CALLBACK CountChild(HWND, LPARAM tally) {
    ++reinterpret_cast<WindowTally*>(tally)->windows;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND top, LPARAM tally) {
    auto& t = *reinterpret_cast<WindowTally*>(tally);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(top, &owner);
    if (owner == t.processId) {
        ++t.windows;
        ::EnumChildWindows(top, CountChild, tally);
    }
    return TRUE;
}

}  // namespace

DWORD WindowCount(DWORD processId) {
    WindowTally tally{processId, 0};
    ::EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&tally));
    return tally.windows;
}
