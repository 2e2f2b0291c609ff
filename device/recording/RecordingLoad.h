#pragma once
// Fills a store from a recording file, so that the window can show a recording again as if
// it had just been received: the file's channels become the store's channels 0 to n - 1, and
// every data line one frame of samples. The values go into the series as the file holds them
// (the difference too, which receiving computes), so exporting the store again gives the file
// back byte for byte.
//
// The store must be empty and not shared with another thread until the load ends: it is
// filled without its lock. On any failure the store may hold part of the file; the caller
// drops it.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "device/recording/RecordingReader.h"
#include "device/store/TouchSampleStore.h"

struct RecordingLoadResult {
    enum class Outcome { Loaded, Refused, Cancelled };
    Outcome outcome;
    std::string reason;  // the reader's "name, line N: ..." when refused
};

// Reads the header and every data line of reader into store. progress gets the bytes
// consumed so far every few thousand lines; cancelled is looked at once per line.
RecordingLoadResult LoadRecording(RecordingReader& reader, TouchSampleStore& store,
                                  const std::atomic<bool>& cancelled,
                                  const std::function<void(std::uint64_t bytes)>& progress);
