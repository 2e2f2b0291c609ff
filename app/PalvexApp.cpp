#include "app/PalvexApp.h"

#include "app/PalvexDlg.h"

#include <commctrl.h>
#include <shellapi.h>

namespace {
// Every class of the Windows 95 common-control set.
constexpr DWORD kAllWindows95Classes = 0xFF;
}  // namespace

BOOL CPalvexApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = kAllWindows95Classes;
    ::InitCommonControlsEx(&controls);

    // After a crash or an update the restart manager may restart the program; there is
    // no data to recover, everything it records lives in memory.
    ::RegisterApplicationRestart(nullptr, 0);

    // Names the framework's settings key; the program reads and writes no settings.
    SetRegistryKey(L"应用程序向导生成的本地应用程序");

    CPalvexDlg dialog;
    // "Palvex.exe FILE.csv", also what a file dropped on the program's icon starts.
    int count = 0;
    if (LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
        if (count > 1) {
            dialog.OpenRecordingAtStart(arguments[1]);
        }
        ::LocalFree(arguments);
    }
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;

    // The dialog was the program; no message loop follows it.
    return FALSE;
}
