#pragma once
// The HID transport of the hardware build of Tessik.dll: finds the debugging adapter by vendor
// and product id through SetupAPI and the HID API and moves reports with overlapped I/O that
// gives up after the time limit.

#include <windows.h>

#include <vector>

#include "request/HidTransport.h"

class HidDeviceTransport final : public HidTransport {
  public:
    HidDeviceTransport();
    ~HidDeviceTransport();
    HidDeviceTransport(const HidDeviceTransport&) = delete;
    HidDeviceTransport& operator=(const HidDeviceTransport&) = delete;

    // No control codes are defined for the hardware transport.
    bool Control(std::uint32_t code, void* data, std::uint32_t size) override;
    // Closes any adapter opened before and looks for one anew, so that an adapter that was
    // unplugged and plugged back in can be opened again.
    bool Open(std::uint16_t vendorId, std::uint16_t productId) override;
    bool SetTimeout(std::uint32_t milliseconds) override;
    bool WriteReport(const std::uint8_t* report, std::uint32_t length) override;
    bool ReadReport(std::uint8_t* report, std::uint32_t length) override;

  private:
    bool OpenMatching(const wchar_t* path, std::uint16_t vendorId, std::uint16_t productId);
    // Waits for an overlapped transfer within the time limit; cancels it when time runs out.
    bool Finish(OVERLAPPED& overlapped, DWORD& transferred);
    void Close();

    HANDLE device_ = INVALID_HANDLE_VALUE;
    HANDLE writeDone_;
    HANDLE readDone_;
    DWORD timeoutMillis_ = 1000;
    // The device's report lengths, report id byte included; the 64-byte protocol reports are
    // cut or zero-padded to them.
    std::vector<std::uint8_t> output_;
    std::vector<std::uint8_t> input_;
};
