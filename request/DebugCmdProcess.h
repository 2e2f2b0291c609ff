#pragma once
// The request module: the one Request implementation, held by Dravik.dll as a static object.
// Constant-initialised and trivially destructible, so loading and unloading the library run
// none of its code.

#include "request/ExchangeEngine.h"
#include "request/Request.h"
#include "request/RequestDescription.h"

class DebugCmdProcess final : public Request {
  public:
    constexpr DebugCmdProcess() = default;

    ExchangeStatistics GetStatistics() override;
    bool Forward(std::uint32_t code, void* data, std::uint32_t size) override;
    bool Attach(HidTransport* transport) override;
    bool SetTransferRequest(std::uint8_t command, std::uint8_t subcommand, std::uint8_t direction,
                            std::uint8_t* buffer, std::uint32_t address,
                            std::uint32_t length) override;
    bool SetCommandRequest(std::uint8_t command, std::uint8_t subcommand,
                           std::uint16_t* statusTarget, std::uint8_t* data,
                           std::uint8_t length) override;
    bool Execute() override;

  private:
    HidTransport* transport_ = nullptr;
    ExchangeEngine engine_;
    RequestDescription request_;
};
