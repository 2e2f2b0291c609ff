#pragma once
// The HID transport of the hardware build of Tessik.dll: finds the debugging adapter by vendor
// and product id, opens it for this program alone and moves its 64-byte reports (report id 0)
// with transfers that give up after the time limit. Windows gives the reports either as 64
// bytes with the id included or as 65 bytes, an id 0 before the 64 protocol bytes
// (AdapterReportLayout); callers see 64 bytes either way. The operating system is reached
// through a HidSystem, so that tests can script a device.
//
// A late answer must never be read as the answer to a later request. The adapter speaks only
// when asked, so the transport empties the device's input queue at Open, after a transfer that
// timed out, and before each report that starts a request (command header or
// resynchronisation): whatever waits there then answers an earlier request.

#include <windows.h>

#include "request/HidTransport.h"
#include "tessik/AdapterFit.h"
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
    // have neither layout, and those another program holds; LastSearch says why none was
    // opened.
    bool Open(std::uint16_t vendorId, std::uint16_t productId) override;
    bool SetTimeout(std::uint32_t milliseconds) override;
    // Refuses reports that are not 64 bytes long or do not carry report id 0.
    bool WriteReport(const std::uint8_t* report, std::uint32_t length) override;
    // Fails on a report of another id or length; it is no answer of the adapter.
    bool ReadReport(std::uint8_t* report, std::uint32_t length) override;

    bool IsOpen() const { return device_ != INVALID_HANDLE_VALUE; }
    // The outcome of the last Open: Found, or why no interface was opened.
    AdapterSearchResult LastSearch() const { return lastSearch_; }

  private:
    // What a finished transfer means for the device: done, or a failure that may say the
    // device is gone (then it is closed) or that an answer may still come (then the input
    // queue is emptied).
    bool Conclude(const HidTransferResult& result);
    void Close();

    HidSystem& system_;
    HANDLE device_ = INVALID_HANDLE_VALUE;
    AdapterReportLayout layout_ = AdapterReportLayout::IdIncluded;
    AdapterSearchResult lastSearch_ = AdapterSearchResult::NotFound;
    DWORD timeoutMillis_ = 1000;
};
