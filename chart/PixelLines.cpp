#include "chart/PixelLines.h"

#include <algorithm>

namespace {

long long FloorDiv(long long a, long long b) {  // b > 0
    const long long q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

long long CeilDiv(long long a, long long b) {  // b > 0
    return -FloorDiv(-a, b);
}

// A segment seen along its major axis: n steps, each moving one pixel on the major axis and
// m / n of a pixel on the minor one. The pixel offsets of one step on either axis turn
// coordinates into addresses.
struct Walk {
    long long majorStart;
    long long minorStart;
    int majorStep;
    int minorStep;
    long long n;
    long long m;
};

// The minor offset after t steps is d(t) = floor((2 m t + bias) / 2n): rounding to the
// nearest pixel, an exact half going to the smaller coordinate, which is down for a positive
// step (bias n - 1) and up for a negative one (bias n). Light writes count pixels from p on,
// remainder being (2 m t + bias) mod 2n at the first of them. The remainder stays below
// 2n + 2m, which the pixel limit keeps well within an int.
void Light(std::uint32_t* p, int remainder, long long count, long long twoN, long long twoM,
           std::ptrdiff_t majorOffset, std::ptrdiff_t minorOffset, std::uint32_t pixel) {
    const int stepTwoN = static_cast<int>(twoN);
    const int stepTwoM = static_cast<int>(twoM);
    for (long long i = 0; i < count; ++i) {
        *p = pixel;
        p += majorOffset;
        remainder += stepTwoM;
        const bool carry = remainder >= stepTwoN;
        remainder -= carry ? stepTwoN : 0;
        p += carry ? minorOffset : 0;
    }
}

// Lights the steps whose major coordinate lies in [majorLo, majorHi] and minor coordinate in
// [minorLo, minorHi]. at(major, minor) is the address of a pixel; majorOffset and minorOffset
// are the address steps of one pixel along either axis, in the directions of the walk.
template <class Address>
void WalkSegment(const Walk& w, long long majorLo, long long majorHi, long long minorLo,
                 long long minorHi, Address at, std::ptrdiff_t majorOffset,
                 std::ptrdiff_t minorOffset, std::uint32_t pixel) {
    const long long bias = w.minorStep > 0 ? w.n - 1 : w.n;
    const long long twoN = 2 * w.n;
    const long long twoM = 2 * w.m;
    const long long majorEnd = w.majorStart + w.majorStep * w.n;
    const long long minorEnd = w.minorStart + w.minorStep * w.m;
    const bool inside = std::min(w.majorStart, majorEnd) >= majorLo &&
                        std::max(w.majorStart, majorEnd) <= majorHi &&
                        std::min(w.minorStart, minorEnd) >= minorLo &&
                        std::max(w.minorStart, minorEnd) <= minorHi;
    if (inside) {
        // Every pixel lies between the ends: nothing to cut, the common case.
        Light(at(w.majorStart, w.minorStart), static_cast<int>(bias), w.n, twoN, twoM, majorOffset,
              minorOffset, pixel);
        return;
    }
    long long first = 0;
    long long last = w.n - 1;
    if (w.majorStep > 0) {
        first = std::max(first, majorLo - w.majorStart);
        last = std::min(last, majorHi - w.majorStart);
    } else {
        first = std::max(first, w.majorStart - majorHi);
        last = std::min(last, w.majorStart - majorLo);
    }
    // The steps whose minor coordinate lies in the box: d(t) in [dLo, dHi].
    const long long dLo = w.minorStep > 0 ? minorLo - w.minorStart : w.minorStart - minorHi;
    const long long dHi = w.minorStep > 0 ? minorHi - w.minorStart : w.minorStart - minorLo;
    if (w.m == 0) {
        if (dLo > 0 || dHi < 0) {
            return;
        }
    } else {
        first = std::max(first, CeilDiv(twoN * dLo - bias, twoM));
        last = std::min(last, FloorDiv(twoN * (dHi + 1) - bias - 1, twoM));
    }
    if (first > last) {
        return;
    }
    const long long startSum = twoM * first + bias;
    Light(at(w.majorStart + w.majorStep * first, w.minorStart + w.minorStep * (startSum / twoN)),
          static_cast<int>(startSum % twoN), last - first + 1, twoN, twoM, majorOffset, minorOffset,
          pixel);
}

}  // namespace

void DrawPixelSegment(const PixelSurface& surface, const PixelBox& clip, int x0, int y0, int x1,
                      int y1, std::uint32_t pixel) {
    const int left = std::max(clip.left, 0);
    const int top = std::max(clip.top, 0);
    const int right = std::min(clip.right, surface.width);
    const int bottom = std::min(clip.bottom, surface.height);
    if (surface.firstRow == nullptr || left >= right || top >= bottom) {
        return;
    }
    const long long dx = static_cast<long long>(x1) - x0;
    const long long dy = static_cast<long long>(y1) - y0;
    const long long adx = dx < 0 ? -dx : dx;
    const long long ady = dy < 0 ? -dy : dy;
    std::uint32_t* const rows = surface.firstRow;
    const std::ptrdiff_t step = surface.rowStep;
    const int sx = dx > 0 ? 1 : -1;
    const int sy = dy > 0 ? 1 : -1;
    if (adx >= ady) {
        if (adx == 0) {
            return;  // a segment of no length lights nothing
        }
        WalkSegment(
            Walk{x0, y0, sx, sy, adx, ady}, left, right - 1, top, bottom - 1,
            [&](long long x, long long y) { return rows + y * step + x; }, sx, sy * step, pixel);
    } else {
        WalkSegment(
            Walk{y0, x0, sy, sx, ady, adx}, top, bottom - 1, left, right - 1,
            [&](long long y, long long x) { return rows + y * step + x; }, sy * step, sx, pixel);
    }
}
