#pragma once
// A store's recording as the lines of a recording file: the data table of the window, whose
// row r shows sample kLeadingZeroSamples + r of every series.

#include <cstdint>
#include <string>
#include <vector>

#include "device/recording/RecordingLineWriter.h"
#include "device/store/TouchSampleStore.h"

// The column titles of the store's channels, in column order. Takes the store's lock.
std::vector<std::wstring> StoreColumnTitles(const TouchSampleStore& store);

// Writes rows 0 .. rows - 1 of store to writer: the row number from 1, then each channel's
// four values; a sample that a series does not hold is an empty field. The store's lock is
// taken per block of rows, only to copy their samples, so that frames decoded meanwhile wait
// only briefly. False when writing failed.
bool WriteStoreLines(const TouchSampleStore& store, std::uint32_t rows,
                     RecordingLineWriter& writer);
