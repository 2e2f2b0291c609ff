#pragma once
// The samples of one quantity of one channel, oldest first (index 0 is the oldest still held).
// Appends run 128 times per frame with 32 channels, so the series is a plain growing vector.

#include <cstdint>
#include <vector>

class SampleSeries {
  public:
    void Append(std::int32_t value) { samples_.push_back(value); }
    void Clear() { samples_.clear(); }
    std::uint32_t Size() const { return static_cast<std::uint32_t>(samples_.size()); }

    // The sample at index; an index at or past Size() reads as 0, the value the store pads
    // with, instead of reading outside the series.
    std::int32_t At(std::uint32_t index) const;

    // The newest sample; 0 for an empty series (a series of the store is never empty).
    std::int32_t Last() const;

    // Writes exactly count values: the newest count samples oldest first, or, when the series
    // holds fewer than count, leading zeros for the missing ones followed by every sample.
    void CopyTail(double* out, std::uint32_t count) const;

    // Writes the samples from index start onward, at most count of them; the rest of out is
    // left untouched. Returns how many values were written (0 when start is at or past Size()).
    std::uint32_t CopyRange(double* out, std::uint32_t start, std::uint32_t count) const;

  private:
    std::vector<std::int32_t> samples_;
};
