#pragma once
// The HID transport that moves 64-byte reports between the PC and the debugging adapter.
// Tessik.dll provides the object (export GetUsbHidObj); Palvex opens it and hands it to the
// request module in Dravik.dll, which does all report traffic.
//
// The object crosses DLL boundaries and the adapter's transport library may be built by another
// compiler, so this is a pure interface: its table of virtual operations holds exactly these five
// operations in this order, with no virtual destructor, no overloads and only plain types. Every
// operation returns a one-byte bool, true meaning done. Never reorder or add operations.

#include <cstdint>

class HidTransport {
  public:
    // Generic control call, passed on unchanged by Request::Forward. The meaning of code and of
    // the size bytes at data belongs to the transport; one that knows no code returns false.
    virtual bool Control(std::uint32_t code, void* data, std::uint32_t size) = 0;
    // Opens the adapter with this vendor and product id.
    virtual bool Open(std::uint16_t vendorId, std::uint16_t productId) = 0;
    // Later reads and writes give up after this many milliseconds.
    virtual bool SetTimeout(std::uint32_t milliseconds) = 0;
    // Sends one report; byte 0 of the buffer is the report id byte 0x00.
    virtual bool WriteReport(const std::uint8_t* report, std::uint32_t length) = 0;
    // Fills the buffer with the next report from the adapter; false on error or when nothing
    // arrived within the time limit.
    virtual bool ReadReport(std::uint8_t* report, std::uint32_t length) = 0;

  protected:
    // Callers never delete the object: it belongs to the library that created it.
    ~HidTransport() = default;
};

// Size of every report of the adapter protocol, report id byte included.
inline constexpr std::uint32_t kReportSize = 64;

// The debugging adapter's USB identifiers.
inline constexpr std::uint16_t kAdapterVendorId = 0x1D7F;
inline constexpr std::uint16_t kAdapterProductId = 0x0002;
