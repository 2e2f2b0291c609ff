#pragma once
// Finding the main dialog's two pages, in this process or another one: each is the child
// of the tab control that holds a control of its own.

#include <windows.h>

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
