#pragma once
// Turns the chip's measurement frame into store content.
//
// Frame layout: 0x55, 0xAA, a length byte L, then per channel c three unsigned 16-bit words,
// most significant byte first: baseline at 3 + 6c, filtered at 5 + 6c, noise at 7 + 6c. The
// channel count is (L - 2) / 6, 0 for L below 8, and at most kMaxTouchChannels.
//
// Both functions take the store's lock for their whole run: the caller must NOT hold Lock().
// Neither reads past the kMeasurementFrameSize bytes of the frame.

#include <cstdint>

#include "device/store/TouchSampleStore.h"

inline constexpr std::uint32_t kMeasurementFrameSize = 200;

// Reads the first frame after the device is opened. With a valid header it sets channelCount
// and appends channels 0 to channelCount - 1, each holding the leading zeros; the frame's
// sample values are not stored. A length implying more than kMaxTouchChannels channels is cut
// to kMaxTouchChannels. With a wrong header (or no frame) it returns false and leaves the store
// and channelCount as they were. It appends to what the store holds: run it on an empty store.
bool DecodeChannelLayout(const std::uint8_t* frame, TouchSampleStore& store,
                         std::uint8_t& channelCount);

// Appends one sample to every series of channels 0 to channelCount - 1, using the count that
// DecodeChannelLayout returned whatever this frame's header says. Positions the store no
// longer has are skipped, as is a count above kMaxTouchChannels.
void DecodeSamples(const std::uint8_t* frame, std::uint8_t channelCount, TouchSampleStore& store);
