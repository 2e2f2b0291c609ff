// Lines written into pixel memory against the rule they follow, worked out pixel by pixel:
// cut to boxes, with ends far outside, and never a pixel outside the box or the surface.

#include "chart/PixelLines.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

constexpr int kSize = 48;
constexpr int kFar = 1 << 26;  // the farthest coordinate the chart hands over
constexpr std::uint32_t kInk = 0x00FF8000;

// A surface with a margin of guard pixels on every side, to catch writes beyond it.
class GuardedSurface {
  public:
    static constexpr int kMargin = 8;
    static constexpr int kStride = kSize + 2 * kMargin;

    GuardedSurface() : pixels_(kStride * kStride, 0) {}
    PixelSurface surface() {
        return {&pixels_[kMargin * kStride + kMargin], kStride, kSize, kSize};
    }
    // The pixel at (x, y) of the surface; guard pixels lie at -kMargin..-1 and kSize..
    std::uint32_t At(int x, int y) const {
        return pixels_[static_cast<size_t>((y + kMargin) * kStride + x + kMargin)];
    }

  private:
    std::vector<std::uint32_t> pixels_;
};

// Whether the segment from a to b lights (x, y): along the major axis every step from the
// start up to but not including the end, the minor offset m t / n rounded to the nearest
// whole number with an exact half going to the smaller coordinate.
bool Lights(long long x0, long long y0, long long x1, long long y1, long long x, long long y) {
    const bool xMajor = std::llabs(x1 - x0) >= std::llabs(y1 - y0);
    const long long majorDelta = xMajor ? x1 - x0 : y1 - y0;
    const long long minorDelta = xMajor ? y1 - y0 : x1 - x0;
    const long long n = std::llabs(majorDelta);
    if (n == 0) {
        return false;
    }
    const long long t = ((xMajor ? x - x0 : y - y0)) * (majorDelta > 0 ? 1 : -1);
    if (t < 0 || t >= n) {
        return false;
    }
    const long long twice = 2 * std::llabs(minorDelta) * t;  // 2 m t: below 2^56
    // Rounded to nearest: floor((2mt + n) / 2n), less one on an exact half when the minor
    // coordinate grows (then the smaller coordinate is the nearer start).
    long long offset = (twice + n) / (2 * n);
    if (minorDelta > 0 && (twice + n) % (2 * n) == 0) {
        --offset;
    }
    const long long minor = (xMajor ? y0 : x0) + (minorDelta > 0 ? offset : -offset);
    return minor == (xMajor ? y : x);
}

int RandomCoordinate(std::mt19937& random) {
    switch (random() % 4) {
        case 0:
            return static_cast<int>(random() % (2 * kFar + 1)) - kFar;  // far away
        case 1:
            return random() % 2 == 0 ? -kFar : kFar;  // at the limit
        default:
            return static_cast<int>(random() % (3 * kSize)) - kSize;  // near the surface
    }
}

TEST(PixelLines, CutSegmentsLightExactlyTheRulesPixelsInsideTheBox) {
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        const int x0 = RandomCoordinate(random);
        const int y0 = RandomCoordinate(random);
        // Some segments stay short and inside, some have no length at all.
        const int x1 = round % 5 == 0 ? x0 : RandomCoordinate(random);
        const int y1 = round % 7 == 0 ? y0 : RandomCoordinate(random);
        const int left = static_cast<int>(random() % kSize) - 4;
        const int top = static_cast<int>(random() % kSize) - 4;
        const PixelBox box{left, top, left + static_cast<int>(random() % kSize),
                           top + static_cast<int>(random() % kSize)};
        GuardedSurface canvas;
        DrawPixelSegment(canvas.surface(), box, x0, y0, x1, y1, kInk);
        for (int y = -GuardedSurface::kMargin; y < kSize + GuardedSurface::kMargin; ++y) {
            for (int x = -GuardedSurface::kMargin; x < kSize + GuardedSurface::kMargin; ++x) {
                const bool inBox = x >= std::max(box.left, 0) && x < std::min(box.right, kSize) &&
                                   y >= std::max(box.top, 0) && y < std::min(box.bottom, kSize);
                const bool expected = inBox && Lights(x0, y0, x1, y1, x, y);
                ASSERT_EQ(canvas.At(x, y) == kInk, expected)
                    << "segment (" << x0 << ", " << y0 << ") to (" << x1 << ", " << y1 << "), box "
                    << box.left << " " << box.top << " " << box.right << " " << box.bottom
                    << ", pixel " << x << " " << y;
            }
        }
    }
}

TEST(PixelLines, NothingIsDrawnWithoutASurfaceOrIntoAnEmptyBox) {
    GuardedSurface canvas;
    DrawPixelSegment(PixelSurface{}, PixelBox{0, 0, kSize, kSize}, 0, 0, 10, 10, kInk);
    DrawPixelSegment(canvas.surface(), PixelBox{10, 10, 10, 20}, 0, 15, 40, 15, kInk);
    DrawPixelSegment(canvas.surface(), PixelBox{30, 30, 20, 20}, 0, 0, 47, 47, kInk);
    DrawPixelSegment(canvas.surface(), PixelBox{-20, -20, 0, 0}, -10, -10, 40, 40, kInk);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            ASSERT_NE(canvas.At(x, y), kInk) << x << " " << y;
        }
    }
}

}  // namespace
