#pragma once
// Window messages that the chart page answers: sent by the main dialog, except the cursor
// message, which the page's own drag-line listeners post to it.

#include "chart/PlotCursor.h"

#include <windows.h>

constexpr UINT WM_CHART_SETUP = WM_USER + 101;  // lParam 0: build from the store; 1: device closed
constexpr UINT WM_CHART_CURSOR_MOVED = kPlotCursorMovedMessage;  // lParam: address of a double
constexpr UINT WM_CHART_START = WM_USER + 103;
constexpr UINT WM_CHART_STOP = WM_USER + 104;
constexpr UINT WM_CHART_REFRESH = WM_USER + 105;
constexpr UINT WM_CHART_SHOW_CHANNEL = WM_USER + 106;  // wParam channel 1-32, lParam 1 show
