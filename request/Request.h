#pragma once
// The request module that Dravik.dll exports (GetRequestModule): it speaks the adapter's
// request protocol over a HidTransport. A caller describes one request with a set operation
// and runs it with Execute.
//
// Like HidTransport this interface crosses a DLL boundary: its table of virtual operations
// holds exactly these six operations in this order, with no virtual destructor, no overloads
// and only plain types. Never reorder or add operations.

#include <cstdint>

#include "request/HidTransport.h"

// Report traffic of the last Execute. Bytes are counted from byte 3 of every report (the
// payload length of data reports, the subcommand of a command header).
struct ExchangeStatistics {
    std::uint32_t bytesSent = 0;
    std::uint32_t reportsSent = 0;
    std::uint32_t bytesReceived = 0;
    std::uint32_t reportsReceived = 0;
};

class Request {
  public:
    virtual ExchangeStatistics GetStatistics() = 0;
    // Passes the call unchanged to the transport's Control; false before Attach.
    virtual bool Forward(std::uint32_t code, void* data, std::uint32_t size) = 0;
    // Uses this transport from now on and creates a fresh exchange lock.
    virtual bool Attach(HidTransport* transport) = 0;
    // Describes a block transfer: direction 0 sends length bytes from buffer to the chip at
    // address, any other direction reads length bytes from the chip into buffer.
    virtual bool SetTransferRequest(std::uint8_t command, std::uint8_t subcommand,
                                    std::uint8_t direction, std::uint8_t* buffer,
                                    std::uint32_t address, std::uint32_t length) = 0;
    // Describes a command with up to 48 inline bytes taken from data (longer lengths are cut to
    // 48). The adapter's status word goes to statusTarget and its returned bytes to data; a data
    // buffer, when given, must have room for 48 bytes. Both pointers may be null.
    virtual bool SetCommandRequest(std::uint8_t command, std::uint8_t subcommand,
                                   std::uint16_t* statusTarget, std::uint8_t* data,
                                   std::uint8_t length) = 0;
    // Runs the described request; true when every report went through and the final status
    // matched. On false the caller's buffers and status target are untouched.
    virtual bool Execute() = 0;

  protected:
    // Callers never delete the module: it is a static object of the library.
    ~Request() = default;
};
