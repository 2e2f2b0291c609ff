#include "chart/PlotStandardAxis.h"

#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <iterator>

CPlotStandardAxis::CPlotStandardAxis() {
    labelText_.reserve(32);
}

CPlotStandardAxis::~CPlotStandardAxis() = default;

namespace {
// 10^exponent rounded once: whole powers are exact up to 10^22, and negative ones come
// from one division (0.01 is the double nearest to 1/100, which a library pow need not
// return).
double PowerOfTen(int exponent) {
    double power = 1.0;
    for (int i = 0; i < (exponent < 0 ? -exponent : exponent) && power < 1e300; ++i) {
        power *= 10.0;
    }
    return exponent < 0 ? 1.0 / power : power;
}
}  // namespace

void CPlotStandardAxis::UpdateTickStep() {
    const double min = GetMin();
    const double max = GetMax();
    if (max == min) {
        tickStep_ = 0.0;
        return;
    }
    const int spacing = IsHorizontal() ? 30 : 20;
    const int count = std::abs((GetEndPixel() - GetStartPixel()) / spacing);
    // An axis shorter than one spacing keeps the step it had.
    if (count == 0) {
        return;
    }
    // A reversed manual range gets the step of its span.
    const double minimumStep = std::fabs(max - min) / count;
    if (!std::isfinite(minimumStep) || minimumStep <= 0.0) {
        return;
    }
    const int exponent = static_cast<int>(std::floor(std::log10(minimumStep)));
    const double base = PowerOfTen(exponent);
    const int decimals = exponent < 0 ? -exponent : 0;
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * base >= minimumStep) {
            tickStep_ = factor * base;
            decimals_ = decimals;
            return;
        }
    }
    // Above five times the base the next power of ten is the step, with one digit less.
    tickStep_ = 10.0 * base;
    decimals_ = decimals > 0 ? decimals - 1 : decimals;
}

void CPlotStandardAxis::UpdateFirstTick() {
    const double min = GetMin();
    if (tickStep_ == 0.0) {
        firstTick_ = min;
        return;
    }
    if (min == 0.0) {
        firstTick_ = 0.0;
        return;
    }
    // Whole steps below min, truncated toward zero; then walk to the smallest multiple of
    // the step that is not below min. The walks stop when the step no longer changes the
    // value (a step far below the precision of min).
    firstTick_ = std::trunc(min / tickStep_) * tickStep_;
    if (min > 0.0) {
        while (min > firstTick_ && firstTick_ + tickStep_ != firstTick_) {
            firstTick_ += tickStep_;
        }
    } else {
        while (firstTick_ > min && firstTick_ - tickStep_ != firstTick_) {
            firstTick_ -= tickStep_;
        }
        if (firstTick_ != min) {
            firstTick_ += tickStep_;
        }
    }
}

double CPlotStandardAxis::FirstTickValue() const {
    return IsDiscrete() ? firstTick_ - tickStep_ : firstTick_;
}

bool CPlotStandardAxis::NextTickValue(double current, double& next) const {
    if (tickStep_ == 0.0) {
        return false;
    }
    next = current + tickStep_;
    // A step lost in the precision of the values would never reach max.
    return next <= GetMax() && next > current;
}

int CPlotStandardAxis::TickScreenPosition(double value) const {
    return ValueToScreenLinear(value);
}

int CPlotStandardAxis::ValueToScreenCentered(double value) const {
    if (tickStep_ == 0.0) {
        return ValueToScreenLinear(value);
    }
    const double epsilon = value < 0.0 ? -1e-10 : 1e-10;
    const double centred = std::trunc((value + epsilon) / tickStep_) * tickStep_ + tickStep_ / 2;
    return ValueToScreenLinear(centred);
}

const std::wstring& CPlotStandardAxis::TickLabelText(double value) {
    // Fixed notation; room for the largest double with every decimal a tiny step can ask.
    wchar_t text[720];
    const int length = std::swprintf(text, std::size(text), L"%.*f", decimals_, value);
    labelText_.assign(text, length > 0 ? static_cast<std::size_t>(length) : 0);
    return labelText_;
}
