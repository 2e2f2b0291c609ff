#pragma once
// Window messages that the chart page answers. The main dialog calls the page's member
// functions, which the messages run too, for other senders; the cursor message comes from the
// page's own drag-line listeners.

#include "chart/PlotCursor.h"

#include <windows.h>

#include <cstdint>

constexpr UINT WM_CHART_SETUP = WM_USER + 101;  // lParam 0: build from the store; 1: device closed
// wParam: the chart window whose cursor moved; lParam: its X value, read by CursorValueOf.
constexpr UINT WM_CHART_CURSOR_MOVED = kPlotCursorMovedMessage;
constexpr UINT WM_CHART_START = WM_USER + 103;
constexpr UINT WM_CHART_STOP = WM_USER + 104;
constexpr UINT WM_CHART_REFRESH = WM_USER + 105;
constexpr UINT WM_CHART_SHOW_CHANNEL = WM_USER + 106;  // wParam channel 1-32, lParam 1 show

// WM_CHART_SHOW_CHANNEL names a channel by its number as the check boxes show it, 1 to 32;
// everywhere else a channel is its 0-based index.
constexpr std::uint32_t ChannelOfShowNumber(WPARAM number) {
    return static_cast<std::uint32_t>(number - 1);
}
