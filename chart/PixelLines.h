#pragma once
// One-pixel lines written straight into a 32-bit pixel array, lighting exactly the pixels
// that GDI's solid cosmetic pen lights: along the major axis every pixel from the start up
// to but not including the end, the minor coordinate rounded to the nearest pixel, and an
// exact half rounded towards the smaller coordinate.
//
// Under GDI (and far more under Wine) a one-pixel pen costs several nanoseconds per pixel.
// Thirty-two noisy lines in a short chart cross every pixel many times over, so the chart
// writes its lines itself where it can reach the pixels, about ten times faster, with the
// same picture.

#include <cstddef>
#include <cstdint>

// Rows of 32-bit pixels; row y starts at firstRow + y * rowStep (rowStep < 0 for arrays
// stored bottom row first).
struct PixelSurface {
    std::uint32_t* firstRow = nullptr;
    std::ptrdiff_t rowStep = 0;
    int width = 0;
    int height = 0;
};

// Pixels with left <= x < right and top <= y < bottom.
struct PixelBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Draws the segment from (x0, y0) towards (x1, y1) in pixel, leaving out the end pixel as
// GDI's LineTo does, so that a polyline is its segments one after the other. Only pixels
// inside clip and inside the surface are written.
void DrawPixelSegment(const PixelSurface& surface, const PixelBox& clip, int x0, int y0, int x1,
                      int y1, std::uint32_t pixel);
