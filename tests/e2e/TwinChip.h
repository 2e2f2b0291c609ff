#pragma once
// A twin of the simulated chip that a Palvex run talks to: same channel count, same seed,
// hence the same frames. It tells which frame a row of the data table shows, so that the
// number of rows can be held against the number of frames the program received.

#include <cstdint>
#include <optional>

#include "tessik/SimulatedChip.h"
#include "tests/e2e/RemoteListView.h"

class TwinChip {
  public:
    // The chip as it is right after "打开设备", which read one frame to learn the layout.
    TwinChip(int channels, std::uint32_t seed);

    // Stays at the current frame or moves on to the first, at most limit frames ahead, whose values
    // are those of the row (cell 0 is the row number, then baseline, filtered, difference and noise
    // per channel). Returns its number, counted from the first frame after the layout read.
    std::optional<std::uint64_t> MatchRow(const TableRow& row, std::uint64_t limit);
    // Moves on to a frame (numbered as above) and tells whether the row shows it. False
    // when that frame has passed already.
    bool FrameShows(std::uint64_t frame, const TableRow& row);
    std::uint64_t FramesPassed() const { return framesPassed_; }

  private:
    bool CurrentFrameShows(const TableRow& row) const;

    SimulatedChip chip_;
    std::uint64_t framesPassed_ = 0;
};
