#include "chart/PlotTypes.h"

int ToPixel(double value) {
    constexpr double kLimit = 1 << 26;
    if (value != value) {
        return 0;
    }
    if (value > kLimit) {
        return static_cast<int>(kLimit);
    }
    if (value < -kLimit) {
        return -static_cast<int>(kLimit);
    }
    return static_cast<int>(value);
}
