#pragma once
// The HID transport of the hardware build of Tessik.dll: finds the debugging adapter by vendor
// and product id and moves its 64-byte reports (report id 0) with transfers that give up after
// the time limit. The operating system is reached through a HidSystem, so that tests can
// script a device.
//
// A late answer must never be read as the answer to a later request. The adapter speaks only
// when asked, so the transport empties the device's input queue at Open, after a transfer that
// timed out, and before each report that starts a request (command header or
// resynchronisation): whatever waits there then answers an earlier request.

#include <windows.h>

#include "request/HidTransport.h"
#include "tessik/HidSystem.h"

class HidDeviceTransport final : public HidTransport {
  public:
    explicit HidDeviceTransport(HidSystem& system = WindowsHidSystem()) : system_(system) {}
    ~HidDeviceTransport() { Close(); }
    HidDeviceTransport(const HidDeviceTransport&) = delete;
    HidDeviceTransport& operator=(const HidDeviceTransport&) = delete;

    // No control codes are defined for the hardware transport.
    bool Control(std::uint32_t code, void* data, std::uint32_t size) override;
    // Closes any adapter opened before and looks for one anew, so that an adapter that was
    // unplugged and plugged back in can be opened again. Passes over interfaces whose reports
    // are not exactly 64 bytes long: writing them would cut or pad the protocol's reports.
    bool Open(std::uint16_t vendorId, std::uint16_t productId) override;
    bool SetTimeout(std::uint32_t milliseconds) override;
    // Refuses reports that are not 64 bytes long or do not carry report id 0.
    bool WriteReport(const std::uint8_t* report, std::uint32_t length) override;
    // Fails on a report of another id or length; it is no answer of the adapter.
    bool ReadReport(std::uint8_t* report, std::uint32_t length) override;

    bool IsOpen() const { return device_ != INVALID_HANDLE_VALUE; }

  private:
    bool OpenMatching(const std::wstring& path, std::uint16_t vendorId, std::uint16_t productId);
    // What a finished transfer means for the device: done, or a failure that may say the
    // device is gone (then it is closed) or that an answer may still come (then the input
    // queue is emptied).
    bool Conclude(const HidTransferResult& result);
    void Close();

    HidSystem& system_;
    HANDLE device_ = INVALID_HANDLE_VALUE;
    DWORD timeoutMillis_ = 1000;
};
