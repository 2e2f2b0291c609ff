// A stand-in library for the device connection tests, copied under the names Tessik.dll and
// Dravik.dll. When unloaded it appends its file name to PALVEX_UNLOAD_LOG, so a test can see
// the order of unloading. Built with PROBE_TRANSPORT_FACTORY it exports a GetUsbHidObj that
// creates no object; otherwise it exports nothing.

#include <windows.h>

#include <string>

#include "device/paths/FilePaths.h"
#include "request/HidTransport.h"
#include "request/LibraryExport.h"

#if defined(PROBE_TRANSPORT_FACTORY)
PALVEX_EXPORT HidTransport* GetUsbHidObj() {
    return nullptr;
}
#endif

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH) {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(instance, path, MAX_PATH);
        const std::wstring name = FileNameOf(path);
        wchar_t log[1024] = {};
        GetEnvironmentVariableW(L"PALVEX_UNLOAD_LOG", log, 1024);
        SetEnvironmentVariableW(L"PALVEX_UNLOAD_LOG", (std::wstring(log) + name + L";").c_str());
    }
    return TRUE;
}
