#pragma once
// The samples of one quantity of one channel, oldest first (index 0 is the oldest still held).
//
// A recording grows without limit while the UI thread waits on the store's lock for every
// append, so the samples live in fixed-size blocks: an append never moves earlier samples, and
// the only copy it can cause is that of the (small) table of block pointers. A series may
// start part-way into its first block, so that the series of one store begin new blocks at
// different frames instead of all at the same one.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class SampleSeries {
  public:
    // firstBlockOffset: where in its first block the series starts (taken modulo the block).
    explicit SampleSeries(std::uint32_t firstBlockOffset = 0)
        : offset_(firstBlockOffset & kBlockMask) {}

    void Append(std::int32_t value) {
        const std::uint64_t slot = Slot(size_);
        if ((slot & kBlockMask) == 0 || blocks_.empty()) {
            AddBlock();
        }
        blocks_.back()[slot & kBlockMask] = value;
        ++size_;
    }
    // Removes all samples and frees their blocks.
    void Clear();
    std::uint32_t Size() const { return size_; }

    // The sample at index; an index at or past Size() reads as 0, the value the store pads
    // with, instead of reading outside the series.
    std::int32_t At(std::uint32_t index) const {
        if (index >= size_) {
            return 0;
        }
        const std::uint64_t slot = Slot(index);
        return blocks_[static_cast<std::size_t>(slot >> kBlockShift)][slot & kBlockMask];
    }

    // The newest sample; 0 for an empty series (a series of the store is never empty).
    std::int32_t Last() const { return size_ == 0 ? 0 : At(size_ - 1); }

    // Writes exactly count values: the newest count samples oldest first, or, when the series
    // holds fewer than count, leading zeros for the missing ones followed by every sample.
    void CopyTail(double* out, std::uint32_t count) const;

    // Writes the samples from index start onward, at most count of them; the rest of out is
    // left untouched. Returns how many values were written (0 when start is at or past Size()).
    // A block at a time: the charts copy into doubles, the export into its row buffer.
    std::uint32_t CopyRange(double* out, std::uint32_t start, std::uint32_t count) const;
    std::uint32_t CopyRange(std::int32_t* out, std::uint32_t start, std::uint32_t count) const;

    // Samples per block: 16 KB, so that a block is one cheap allocation.
    static constexpr std::uint32_t kBlockShift = 12;
    static constexpr std::uint32_t kBlockSamples = 1u << kBlockShift;

  private:
    static constexpr std::uint32_t kBlockMask = kBlockSamples - 1;

    // Position of the sample at index counted from the start of the first block.
    std::uint64_t Slot(std::uint32_t index) const { return std::uint64_t{offset_} + index; }
    void AddBlock();
    template <typename Value>
    std::uint32_t CopyRangeAs(Value* out, std::uint32_t start, std::uint32_t count) const;

    std::vector<std::unique_ptr<std::int32_t[]>> blocks_;
    std::uint32_t size_ = 0;
    std::uint32_t offset_;
};
