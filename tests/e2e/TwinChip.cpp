#include "tests/e2e/TwinChip.h"

#include <string>

TwinChip::TwinChip(int channels, std::uint32_t seed) : chip_(channels, -1, seed) {
    chip_.NextFrame();
}

bool TwinChip::CurrentFrameShows(const TableRow& row) const {
    const auto channels = static_cast<std::size_t>(chip_.Channels());
    if (row.size() != 1 + 4 * channels) {
        return false;
    }
    for (std::size_t c = 0; c < channels; ++c) {
        const ChannelReading reading = chip_.Reading(static_cast<int>(c));
        const int values[] = {reading.baseline, reading.filtered,
                              reading.baseline - reading.filtered, reading.noise};
        for (std::size_t q = 0; q < 4; ++q) {
            if (row[1 + 4 * c + q] != std::to_wstring(values[q])) {
                return false;
            }
        }
    }
    return true;
}

std::optional<std::uint64_t> TwinChip::MatchRow(const TableRow& row, std::uint64_t limit) {
    // Two rows can show the same frame: the worker may decode the next frame before the
    // table handles the first one's notice.
    if (framesPassed_ > 0 && CurrentFrameShows(row)) {
        return framesPassed_;
    }
    for (std::uint64_t step = 0; step < limit; ++step) {
        chip_.NextFrame();
        ++framesPassed_;
        if (CurrentFrameShows(row)) {
            return framesPassed_;
        }
    }
    return std::nullopt;
}

bool TwinChip::FrameShows(std::uint64_t frame, const TableRow& row) {
    if (frame < framesPassed_ || frame == 0) {
        return false;
    }
    while (framesPassed_ < frame) {
        chip_.NextFrame();
        ++framesPassed_;
    }
    return CurrentFrameShows(row);
}
