#pragma once
// The four requests Palvex sends to the chip through the request module: start and stop
// measurement streaming, read the channel layout and read one measurement frame into the
// touch sample store. Portable; the device connection owns one and gives it the request module
// of the Dravik.dll it loaded.
//
// The request module takes a request in two calls, a description and then Execute, and its own
// lock covers only the exchange. Every request here therefore runs whole under one lock of its
// own, so that frame reads and start and stop requests from different threads can never run
// one request's exchange with another's description or share the frame buffer.

#include <array>
#include <cstdint>
#include <mutex>

#include "device/store/FrameDecoding.h"
#include "device/store/TouchSampleStore.h"
#include "request/Request.h"

class DeviceRequests {
  public:
    // The module to send requests through; null makes every request fail.
    void Use(Request* module);

    bool StartStreaming();
    bool StopStreaming();
    // Reads a frame and creates the store's channel records from it; sets ChannelCount().
    // A frame without the 0x55 0xAA header fails and changes nothing.
    bool ReadChannelLayout(TouchSampleStore& store);
    // Reads a frame and appends one sample per quantity to each of ChannelCount() channels.
    // A failed read leaves the store as it was.
    bool ReadFrame(TouchSampleStore& store);

    // The channel count of the last successful ReadChannelLayout; 0 before.
    std::uint8_t ChannelCount() const { return channelCount_; }

  private:
    bool StreamingCommand(std::uint8_t subcommand);
    // Call with requestLock_ held.
    bool FetchFrame();

    std::mutex requestLock_;  // one whole request at a time
    std::uint8_t channelCount_ = 0;
    Request* module_ = nullptr;
    // Zeroed before every read, so bytes that the chip does not deliver read as 0.
    std::array<std::uint8_t, kMeasurementFrameSize> frame_{};
};
