#include "device/connection/DeviceRequests.h"

#include "request/ChipRequests.h"

namespace {

constexpr std::uint8_t kFromChip = 1;

}  // namespace

void DeviceRequests::Use(Request* module) {
    std::lock_guard request(requestLock_);
    module_ = module;
}

bool DeviceRequests::StreamingCommand(std::uint8_t subcommand) {
    std::lock_guard request(requestLock_);
    if (module_ == nullptr) {
        return false;
    }
    // The adapter's status word carries nothing Palvex acts on.
    std::uint16_t status = 0;
    return module_->SetCommandRequest(kDebugCommand, subcommand, &status, nullptr, 0) &&
           module_->Execute();
}

bool DeviceRequests::StartStreaming() {
    return StreamingCommand(kStartStreaming);
}

bool DeviceRequests::StopStreaming() {
    return StreamingCommand(kStopStreaming);
}

bool DeviceRequests::FetchFrame() {
    if (module_ == nullptr) {
        return false;
    }
    frame_.fill(0);
    module_->SetTransferRequest(kDebugCommand, kReadFrame, kFromChip, frame_.data(), 0,
                                kMeasurementFrameSize);
    return module_->Execute();
}

bool DeviceRequests::ReadChannelLayout(TouchSampleStore& store) {
    std::lock_guard request(requestLock_);
    return FetchFrame() && DecodeChannelLayout(frame_.data(), store, channelCount_);
}

bool DeviceRequests::ReadFrame(TouchSampleStore& store) {
    std::lock_guard request(requestLock_);
    if (!FetchFrame()) {
        return false;
    }
    DecodeSamples(frame_.data(), channelCount_, store);
    return true;
}
