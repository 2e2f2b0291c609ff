#pragma once
// Finding the main dialog's two pages, in this process or another one: each is the child
// of the tab control that holds a control of its own.

#include <windows.h>
#include <commctrl.h>

// The page inside the tab control that holds a control with this id; null when none does.
inline HWND PageHolding(HWND tabs, int controlId) {
    for (HWND child = ::GetWindow(tabs, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgItem(child, controlId) != nullptr) {
            return child;
        }
    }
    return nullptr;
}

// Clicks a tab the way a user does, so the tab control itself sends its notifications.
inline void ClickTab(HWND tabs, int index) {
    RECT item{};
    TabCtrl_GetItemRect(tabs, index, &item);
    LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    ::SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(tabs, WM_LBUTTONUP, 0, point);
}
