#include "device/SampleSeries.h"

#include <algorithm>

std::int32_t SampleSeries::At(std::uint32_t index) const {
    return index < samples_.size() ? samples_[index] : 0;
}

std::int32_t SampleSeries::Last() const {
    return samples_.empty() ? 0 : samples_.back();
}

void SampleSeries::CopyTail(double* out, std::uint32_t count) const {
    const std::uint32_t size = Size();
    if (count >= size) {
        out = std::fill_n(out, count - size, 0.0);
        std::copy(samples_.begin(), samples_.end(), out);
    } else {
        std::copy(samples_.end() - count, samples_.end(), out);
    }
}

std::uint32_t SampleSeries::CopyRange(double* out, std::uint32_t start, std::uint32_t count) const {
    const std::uint32_t size = Size();
    if (start >= size) {
        return 0;
    }
    // Compared as a difference: start + count may not fit in 32 bits.
    const std::uint32_t written = std::min(count, size - start);
    std::copy_n(samples_.begin() + start, written, out);
    return written;
}
