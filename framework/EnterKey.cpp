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

}  // namespace

void RouteEnterToPage(HWND page) {
    // The page's own controls only: the windows nested in them (a list's header) never take
    // the keyboard focus, and every message to a subclassed window first looks the subclass
    // up among the window's properties, which under Wine is a round trip to the server. A list
    // paint asks its header hundreds of times, so routing the headers too made each repaint of
    // the data table several times slower while frames arrived.
    for (HWND control = ::GetWindow(page, GW_CHILD); control != nullptr;
         control = ::GetWindow(control, GW_HWNDNEXT)) {
        ::SetWindowSubclass(control, &EnterRoute, kEnterRouteId, reinterpret_cast<DWORD_PTR>(page));
    }
}
