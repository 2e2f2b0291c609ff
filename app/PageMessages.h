#pragma once
// Window messages between the main dialog and its two pages.

#include <windows.h>

// To the chart page.
constexpr UINT WM_CHART_SETUP = WM_USER + 101;  // lParam 0: build from the store; 1: device closed
constexpr UINT WM_CHART_CURSOR_MOVED = WM_USER + 102;  // posted by the page to itself
constexpr UINT WM_CHART_START = WM_USER + 103;
constexpr UINT WM_CHART_STOP = WM_USER + 104;
constexpr UINT WM_CHART_REFRESH = WM_USER + 105;
constexpr UINT WM_CHART_SHOW_CHANNEL = WM_USER + 106;  // wParam channel 1-32, lParam 1 show

// To the data list page.
constexpr UINT WM_LIST_SETUP = WM_USER + 200;   // lParam: address of the touch sample store
constexpr UINT WM_LIST_APPEND = WM_USER + 201;  // posted by the receive worker
constexpr UINT WM_LIST_CLEAR = WM_USER + 202;
