#include "tessik/HidDeviceTransport.h"

// clang-format off: setupapi.h and the HID headers need windows.h first.
#include <setupapi.h>
// MinGW's HID headers declare C functions without C linkage.
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}
// clang-format on

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

struct DeviceListDeleter {
    void operator()(void* list) const { SetupDiDestroyDeviceInfoList(list); }
};
using DeviceList = std::unique_ptr<void, DeviceListDeleter>;

// The interface path of the index-th present HID device; false past the last one.
bool InterfacePath(HDEVINFO list, const GUID& hidClass, DWORD index, std::vector<BYTE>& storage,
                   const wchar_t*& path, bool& more) {
    SP_DEVICE_INTERFACE_DATA entry{};
    entry.cbSize = sizeof entry;
    more = SetupDiEnumDeviceInterfaces(list, nullptr, &hidClass, index, &entry) != FALSE;
    if (!more) {
        return false;
    }
    DWORD required = 0;
    SetupDiGetDeviceInterfaceDetailW(list, &entry, nullptr, 0, &required, nullptr);
    if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
        return false;
    }
    storage.assign(required, 0);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!SetupDiGetDeviceInterfaceDetailW(list, &entry, detail, required, nullptr, nullptr)) {
        return false;
    }
    path = detail->DevicePath;
    return true;
}

}  // namespace

HidDeviceTransport::HidDeviceTransport()
    : writeDone_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      readDone_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

HidDeviceTransport::~HidDeviceTransport() {
    Close();
    for (HANDLE event : {writeDone_, readDone_}) {
        if (event != nullptr) {
            CloseHandle(event);
        }
    }
}

bool HidDeviceTransport::Control(std::uint32_t, void*, std::uint32_t) {
    return false;
}

bool HidDeviceTransport::Open(std::uint16_t vendorId, std::uint16_t productId) {
    Close();
    if (writeDone_ == nullptr || readDone_ == nullptr) {
        return false;
    }
    GUID hidClass;
    HidD_GetHidGuid(&hidClass);
    DeviceList list(
        SetupDiGetClassDevsW(&hidClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (list.get() == INVALID_HANDLE_VALUE) {
        list.release();
        return false;
    }
    std::vector<BYTE> storage;
    bool more = true;
    for (DWORD index = 0; more; ++index) {
        const wchar_t* path = nullptr;
        if (InterfacePath(list.get(), hidClass, index, storage, path, more) &&
            OpenMatching(path, vendorId, productId)) {
            return true;
        }
    }
    return false;
}

bool HidDeviceTransport::OpenMatching(const wchar_t* path, std::uint16_t vendorId,
                                      std::uint16_t productId) {
    HANDLE device =
        CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (device == INVALID_HANDLE_VALUE) {
        return false;
    }
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof attributes;
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    HIDP_CAPS caps{};
    const bool matches = HidD_GetAttributes(device, &attributes) &&
                         attributes.VendorID == vendorId && attributes.ProductID == productId &&
                         HidD_GetPreparsedData(device, &preparsed);
    const bool described = matches && HidP_GetCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS &&
                           caps.InputReportByteLength > 0 && caps.OutputReportByteLength > 0;
    if (preparsed != nullptr) {
        HidD_FreePreparsedData(preparsed);
    }
    if (!described) {
        CloseHandle(device);
        return false;
    }
    device_ = device;
    output_.assign(caps.OutputReportByteLength, 0);
    input_.assign(caps.InputReportByteLength, 0);
    return true;
}

bool HidDeviceTransport::SetTimeout(std::uint32_t milliseconds) {
    timeoutMillis_ = milliseconds;
    return device_ != INVALID_HANDLE_VALUE;
}

bool HidDeviceTransport::Finish(OVERLAPPED& overlapped, DWORD& transferred) {
    if (WaitForSingleObject(overlapped.hEvent, timeoutMillis_) != WAIT_OBJECT_0) {
        CancelIoEx(device_, &overlapped);
        // The cancelled transfer must end before its buffer and OVERLAPPED can be reused.
        GetOverlappedResult(device_, &overlapped, &transferred, TRUE);
        return false;
    }
    return GetOverlappedResult(device_, &overlapped, &transferred, FALSE) != FALSE;
}

bool HidDeviceTransport::WriteReport(const std::uint8_t* report, std::uint32_t length) {
    if (device_ == INVALID_HANDLE_VALUE || report == nullptr) {
        return false;
    }
    std::fill(output_.begin(), output_.end(), std::uint8_t{0});
    std::memcpy(output_.data(), report, std::min<std::size_t>(length, output_.size()));
    OVERLAPPED overlapped{};
    overlapped.hEvent = writeDone_;
    ResetEvent(writeDone_);
    DWORD written = 0;
    const bool started = WriteFile(device_, output_.data(), static_cast<DWORD>(output_.size()),
                                   &written, &overlapped) ||
                         GetLastError() == ERROR_IO_PENDING;
    const bool done = started && Finish(overlapped, written) && written == output_.size();
    if (!started && GetLastError() == ERROR_DEVICE_NOT_CONNECTED) {
        Close();  // unplugged: the next Open looks for the adapter again
    }
    return done;
}

bool HidDeviceTransport::ReadReport(std::uint8_t* report, std::uint32_t length) {
    if (device_ == INVALID_HANDLE_VALUE || report == nullptr) {
        return false;
    }
    OVERLAPPED overlapped{};
    overlapped.hEvent = readDone_;
    ResetEvent(readDone_);
    DWORD received = 0;
    const bool started = ReadFile(device_, input_.data(), static_cast<DWORD>(input_.size()),
                                  &received, &overlapped) ||
                         GetLastError() == ERROR_IO_PENDING;
    if (!started || !Finish(overlapped, received)) {
        if (!started && GetLastError() == ERROR_DEVICE_NOT_CONNECTED) {
            Close();
        }
        return false;
    }
    const std::size_t copied = std::min<std::size_t>({length, received, input_.size()});
    std::memcpy(report, input_.data(), copied);
    std::memset(report + copied, 0, length - copied);
    return true;
}

void HidDeviceTransport::Close() {
    if (device_ != INVALID_HANDLE_VALUE) {
        CloseHandle(device_);
        device_ = INVALID_HANDLE_VALUE;
    }
}
