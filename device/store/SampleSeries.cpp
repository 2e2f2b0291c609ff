#include "device/store/SampleSeries.h"

#include <algorithm>

void SampleSeries::AddBlock() {
    // make_unique<T[]> would zero the block only for it to be overwritten.
    blocks_.emplace_back(new std::int32_t[kBlockSamples]);
}

void SampleSeries::Clear() {
    // swap rather than clear(): the point is to give the memory back.
    std::vector<std::unique_ptr<std::int32_t[]>>().swap(blocks_);
    size_ = 0;
}

void SampleSeries::CopyTail(double* out, std::uint32_t count) const {
    if (count >= size_) {
        out = std::fill_n(out, count - size_, 0.0);
        CopyRange(out, 0, size_);
    } else {
        CopyRange(out, size_ - count, count);
    }
}

template <typename Value>
std::uint32_t SampleSeries::CopyRangeAs(Value* out, std::uint32_t start,
                                        std::uint32_t count) const {
    if (start >= size_) {
        return 0;
    }
    // Compared as a difference: start + count may not fit in 32 bits.
    const std::uint32_t written = std::min(count, size_ - start);
    for (std::uint64_t slot = Slot(start), left = written; left > 0;) {
        const std::int32_t* block = blocks_[static_cast<std::size_t>(slot >> kBlockShift)].get();
        const auto within = static_cast<std::uint32_t>(slot & kBlockMask);
        const std::uint64_t piece = std::min<std::uint64_t>(left, kBlockSamples - within);
        out = std::copy_n(block + within, piece, out);
        slot += piece;
        left -= piece;
    }
    return written;
}

std::uint32_t SampleSeries::CopyRange(double* out, std::uint32_t start, std::uint32_t count) const {
    return CopyRangeAs(out, start, count);
}

std::uint32_t SampleSeries::CopyRange(std::int32_t* out, std::uint32_t start,
                                      std::uint32_t count) const {
    return CopyRangeAs(out, start, count);
}
