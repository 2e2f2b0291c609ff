#include "tessik/HidDeviceTransport.h"

#include <array>
#include <cstring>

#include "request/ReportFormat.h"
#include "tessik/AdapterSearch.h"

namespace {

// Byte 0 of every report of the adapter protocol.
constexpr std::uint8_t kReportId = 0x00;

// Room for a transfer in either layout.
using HidTransferBuffer = std::array<BYTE, kReportSize + 1>;

// Errors after which the handle is of no further use: the device was unplugged or its driver
// stopped it (HID class drivers report removal during a transfer as ERROR_GEN_FAILURE or
// ERROR_BAD_COMMAND), or the handle itself is no longer valid. The next Open looks anew.
bool SaysDeviceIsGone(DWORD error) {
    switch (error) {
        case ERROR_DEVICE_NOT_CONNECTED:
        case ERROR_DEVICE_REMOVED:
        case ERROR_GEN_FAILURE:
        case ERROR_BAD_COMMAND:
        case ERROR_INVALID_HANDLE:
            return true;
        default:
            return false;
    }
}

bool StartsRequest(const std::uint8_t* report) {
    return report[report_byte::kKind] == kKindCommandHeader ||
           report[report_byte::kKind] == kKindResync;
}

}  // namespace

bool HidDeviceTransport::Control(std::uint32_t, void*, std::uint32_t) {
    return false;
}

bool HidDeviceTransport::Open(std::uint16_t vendorId, std::uint16_t productId) {
    Close();
    lastSearch_ = AdapterSearchResult::NotFound;
    for (const std::wstring& path : system_.DevicePaths()) {
        HANDLE device = INVALID_HANDLE_VALUE;
        const HidInterfaceView view =
            ExamineInterface(system_, path, {vendorId, productId}, ExamineFor::Opening, device);
        lastSearch_ = MoreTelling(lastSearch_, view.fit);
        if (device != INVALID_HANDLE_VALUE) {
            device_ = device;
            layout_ = *view.layout;
            // Reports that the adapter sent before, to another program or an earlier session.
            system_.FlushInput(device_);
            return true;
        }
    }
    return false;
}

bool HidDeviceTransport::SetTimeout(std::uint32_t milliseconds) {
    timeoutMillis_ = milliseconds;
    return IsOpen();
}

bool HidDeviceTransport::Conclude(const HidTransferResult& result) {
    switch (result.outcome) {
        case HidTransferOutcome::Done:
            return true;
        case HidTransferOutcome::TimedOut:
            // The answer may still come; it must not be taken for the next one.
            system_.FlushInput(device_);
            return false;
        case HidTransferOutcome::Failed:
            if (SaysDeviceIsGone(result.error)) {
                Close();
            }
            return false;
    }
    return false;
}

// A transfer's buffer holds the protocol's 64 bytes at its end: in the 65-byte layout the
// report id that Windows puts before them comes first. Byte 0 is a report id 0 either way.
bool HidDeviceTransport::WriteReport(const std::uint8_t* report, std::uint32_t length) {
    if (!IsOpen() || report == nullptr || length != kReportSize || report[0] != kReportId) {
        return false;
    }
    if (StartsRequest(report)) {
        system_.FlushInput(device_);
    }
    const DWORD size = TransferLength(layout_);
    HidTransferBuffer buffer{};
    std::memcpy(buffer.data() + (size - kReportSize), report, kReportSize);
    const HidTransferResult result = system_.Write(device_, buffer.data(), size, timeoutMillis_);
    return Conclude(result) && result.bytes == size;
}

bool HidDeviceTransport::ReadReport(std::uint8_t* report, std::uint32_t length) {
    if (!IsOpen() || report == nullptr || length != kReportSize) {
        return false;
    }
    const DWORD size = TransferLength(layout_);
    HidTransferBuffer received{};
    const HidTransferResult result = system_.Read(device_, received.data(), size, timeoutMillis_);
    if (!Conclude(result) || result.bytes != size || received[0] != kReportId) {
        return false;
    }
    std::memcpy(report, received.data() + (size - kReportSize), kReportSize);
    return true;
}

void HidDeviceTransport::Close() {
    if (IsOpen()) {
        system_.Close(device_);
        device_ = INVALID_HANDLE_VALUE;
    }
}
