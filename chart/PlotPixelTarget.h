#pragma once
// Where the chart may write a line's pixels itself: into its own off-screen DIB, while that
// is the DC being drawn and it is in plain pixel coordinates, copying pens and clipped to at
// most a rectangle. Printer DCs, mapped DCs and other bitmaps keep using GDI.

#include "chart/PixelLines.h"
#include "framework/Gdi.h"

#include <cstdint>

struct PlotPixelTarget {
    PixelSurface surface;
    PixelBox clip;  // the DC's own clipping, or the whole bitmap

    // The pixel value of colour in a 32-bit DIB.
    static std::uint32_t PixelOf(COLORREF colour) {
        return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
               (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
    }
};

// Fills target and returns true when dc is memory's DC and its pixels can be written
// directly. GDI's pending drawing is flushed first, so that what is written lands on top.
bool FindPixelTarget(HDC dc, const MemoryDC& memory, PlotPixelTarget& target);
