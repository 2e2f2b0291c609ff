#pragma once
// Window messages between the main dialog and its two pages.

#include "chartpage/ChartPageMessages.h"

#include <windows.h>

// To the data list page.
constexpr UINT WM_LIST_SETUP = WM_USER + 200;   // lParam: address of the touch sample store
constexpr UINT WM_LIST_APPEND = WM_USER + 201;  // posted by the receive worker
constexpr UINT WM_LIST_CLEAR = WM_USER + 202;
