#include "request/DebugCmdProcess.h"

#include <algorithm>

#include "request/ExchangeLock.h"
#include "request/ReportFormat.h"

ExchangeStatistics DebugCmdProcess::GetStatistics() {
    return engine_.Statistics();
}

bool DebugCmdProcess::Forward(std::uint32_t code, void* data, std::uint32_t size) {
    return transport_ != nullptr && transport_->Control(code, data, size);
}

bool DebugCmdProcess::Attach(HidTransport* transport) {
    transport_ = transport;
    engine_.SetTransport(transport);
    ExchangeLock::Create();
    return true;
}

bool DebugCmdProcess::SetTransferRequest(std::uint8_t command, std::uint8_t subcommand,
                                         std::uint8_t direction, std::uint8_t* buffer,
                                         std::uint32_t address, std::uint32_t length) {
    request_ = RequestDescription{};
    request_.command = command;
    request_.subcommand = subcommand;
    request_.transferPart = {true, direction, address, length, buffer};
    return true;
}

bool DebugCmdProcess::SetCommandRequest(std::uint8_t command, std::uint8_t subcommand,
                                        std::uint16_t* statusTarget, std::uint8_t* data,
                                        std::uint8_t length) {
    request_ = RequestDescription{};
    request_.command = command;
    request_.subcommand = subcommand;
    const auto inlineLength =
        static_cast<std::uint8_t>(std::min<std::size_t>(length, kMaxInlineLength));
    request_.commandPart = {true, inlineLength, data, statusTarget};
    return true;
}

bool DebugCmdProcess::Execute() {
    return engine_.Execute(request_);
}
