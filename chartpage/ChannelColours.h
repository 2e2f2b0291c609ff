#pragma once
// One colour per touch channel: channel k's line in all four charts and the background of
// row k in all four value lists.

#include "device/store/TouchSampleStore.h"

#include <windows.h>

#include <array>

inline constexpr std::array<COLORREF, kMaxTouchChannels> ChannelColours = {
    RGB(255, 0, 0),     RGB(0, 255, 0),     RGB(238, 174, 238), RGB(135, 206, 235),
    RGB(70, 130, 180),  RGB(176, 196, 222), RGB(0, 255, 255),   RGB(0, 100, 0),
    RGB(85, 107, 47),   RGB(32, 178, 170),  RGB(0, 255, 127),   RGB(127, 255, 0),
    RGB(34, 139, 34),   RGB(189, 183, 107), RGB(238, 232, 170), RGB(255, 255, 0),
    RGB(218, 165, 32),  RGB(188, 143, 143), RGB(205, 92, 92),   RGB(244, 164, 96),
    RGB(255, 160, 122), RGB(255, 165, 0),   RGB(240, 128, 128), RGB(255, 99, 71),
    RGB(238, 130, 238), RGB(205, 201, 201), RGB(238, 213, 183), RGB(238, 233, 191),
    RGB(193, 205, 193), RGB(205, 183, 181), RGB(205, 205, 0),   RGB(255, 193, 193)};
