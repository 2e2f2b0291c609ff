#include "framework/EnterKey.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kEnterRouteId = 0x454E5452;  // identifies our subclass among others

bool IsEnterKey(const MSG& message) {
    return (message.message == WM_KEYDOWN || message.message == WM_CHAR) &&
           (message.wParam == VK_RETURN);
}

LRESULT CALLBACK EnterRoute(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR page) {
    switch (message) {
        case WM_GETDLGCODE:
            // Asked for the key: the dialog manager then delivers it here instead of turning
            // it into the top-level dialog's OK.
            if (lParam != 0 && IsEnterKey(*reinterpret_cast<const MSG*>(lParam))) {
                return ::DefSubclassProc(control, message, wParam, lParam) | DLGC_WANTMESSAGE;
            }
            break;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN) {
                ::SendMessageW(reinterpret_cast<HWND>(page), WM_COMMAND,
                               MAKEWPARAM(IDOK, BN_CLICKED), 0);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == VK_RETURN) {
                return 0;  // already handled as the key went down; an edit would beep
            }
            break;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(control, &EnterRoute, kEnterRouteId);
            break;
        default:
            break;
    }
    return ::DefSubclassProc(control, message, wParam, lParam);
}

BOOL CALLBACK RouteControl(HWND control, LPARAM page) {
    ::SetWindowSubclass(control, &EnterRoute, kEnterRouteId, static_cast<DWORD_PTR>(page));
    return TRUE;
}

}  // namespace

void RouteEnterToPage(HWND page) {
    ::EnumChildWindows(page, &RouteControl, reinterpret_cast<LPARAM>(page));
}
