#pragma once
// What the acquisition asks of the adapter: connect, start and stop the chip's streaming, read
// its channel layout and its frames. The device connection does it through Tessik.dll and
// Dravik.dll; the acquisition's tests put an adapter of their own behind it. Every operation
// talks to the adapter and may take seconds; all of them run on the adapter's thread.

#include <cstdint>
#include <string>

#include "device/connection/ConnectionProblemText.h"
#include "device/store/TouchSampleStore.h"

// How Connect ended: Connected, or the step that failed, in the order the steps run. The
// callers word it: the window in message boxes, palvex-capture in its error lines.
enum class ConnectResult {
    Connected,
    TessikNotLoaded,          // Tessik.dll is missing or does not load
    TransportFactoryMissing,  // Tessik.dll exports no GetUsbHidObj
    DravikNotLoaded,          // Dravik.dll is missing or does not load
    RequestFactoryMissing,    // Dravik.dll exports no GetRequestModule
    NoTransport,              // GetUsbHidObj created no transport
    NoRequestModule,          // GetRequestModule returned no module
    AdapterNotOpened,         // the transport found no adapter 0x1D7F / 0x0002
    TimeoutRefused,           // the transport refused the transfer limit
    NotAttached,              // the request module refused the transport
};

// The words after the message of a Connect that failed: after the library's ("tessik 未加载!!!\n",
// "Dravikdll 未加载!!!") and after "设备未连接！"; each empty when nothing more is known.
struct ConnectFailureText {
    std::wstring library;
    std::wstring adapter;
};

class DeviceLink {
  public:
    virtual ~DeviceLink() = default;

    // Makes the link ready for requests, starting over on every call.
    virtual ConnectResult Connect() = 0;
    virtual bool StartStreaming() = 0;
    virtual bool StopStreaming() = 0;
    // Reads a frame and creates the store's channel records from it.
    virtual bool ReadChannelLayout(TouchSampleStore& store) = 0;
    // Reads a frame and appends its samples to the store's channels.
    virtual bool ReadFrame(TouchSampleStore& store) = 0;
    // The channel count of the last layout read; 0 before.
    virtual std::uint8_t ChannelCount() const = 0;
    // Why a Connect that ended in result failed, found out from the system (the libraries'
    // files, the HID devices it shows). May take a moment, so it runs on the adapter's thread
    // too. A link that knows nothing more says nothing.
    virtual ConnectFailureText ExplainFailure(ConnectResult /*result*/,
                                              TextLanguage /*language*/) const {
        return {};
    }
};
