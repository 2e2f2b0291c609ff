#include "tessik/HidSystem.h"

// clang-format off: setupapi.h and the HID headers need windows.h first.
#include <setupapi.h>
// MinGW's HID headers declare C functions without C linkage.
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}
// clang-format on

#include <cwchar>
#include <iterator>
#include <memory>

namespace {

struct DeviceListDeleter {
    void operator()(void* list) const { SetupDiDestroyDeviceInfoList(list); }
};
using DeviceList = std::unique_ptr<void, DeviceListDeleter>;

// The interface path of the index-th device in the list; false past the last one (more is
// false then) or when its details cannot be read.
bool InterfacePath(HDEVINFO list, const GUID& hidClass, DWORD index, std::wstring& path,
                   bool& more) {
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
    std::vector<BYTE> storage(required, 0);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!SetupDiGetDeviceInterfaceDetailW(list, &entry, detail, required, nullptr, nullptr)) {
        return false;
    }
    path = detail->DevicePath;
    return true;
}

class Win32HidSystem final : public HidSystem {
  public:
    Win32HidSystem()
        : writeDone_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          readDone_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Win32HidSystem() {
        for (HANDLE event : {writeDone_, readDone_}) {
            if (event != nullptr) {
                CloseHandle(event);
            }
        }
    }
    Win32HidSystem(const Win32HidSystem&) = delete;
    Win32HidSystem& operator=(const Win32HidSystem&) = delete;

    std::vector<std::wstring> DevicePaths() override {
        GUID hidClass;
        HidD_GetHidGuid(&hidClass);
        std::vector<std::wstring> paths;
        DeviceList list(SetupDiGetClassDevsW(&hidClass, nullptr, nullptr,
                                             DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
        if (list.get() == INVALID_HANDLE_VALUE) {
            list.release();
            return paths;
        }
        bool more = true;
        for (DWORD index = 0; more; ++index) {
            std::wstring path;
            if (InterfacePath(list.get(), hidClass, index, path, more)) {
                paths.push_back(std::move(path));
            }
        }
        return paths;
    }

    HidOpened Open(const std::wstring& path, HidAccess access) override {
        const bool exclusive = access == HidAccess::Exclusive;
        HidOpened opened;
        opened.device = CreateFileW(path.c_str(), exclusive ? GENERIC_READ | GENERIC_WRITE : 0,
                                    exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, exclusive ? FILE_FLAG_OVERLAPPED : 0, nullptr);
        if (opened.device == INVALID_HANDLE_VALUE) {
            opened.error = GetLastError();
        }
        return opened;
    }

    bool Identify(HANDLE device, HidIdentity& identity) override {
        HIDD_ATTRIBUTES attributes{};
        attributes.Size = sizeof attributes;
        if (!HidD_GetAttributes(device, &attributes)) {
            return false;
        }
        identity = {attributes.VendorID, attributes.ProductID};
        return true;
    }

    bool ReportLengths(HANDLE device, HidReportLengths& lengths) override {
        PHIDP_PREPARSED_DATA preparsed = nullptr;
        if (!HidD_GetPreparsedData(device, &preparsed)) {
            return false;
        }
        HIDP_CAPS caps{};
        const bool described = HidP_GetCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS;
        HidD_FreePreparsedData(preparsed);
        lengths = {caps.InputReportByteLength, caps.OutputReportByteLength};
        return described;
    }

    bool ProductName(HANDLE device, std::wstring& name) override {
        // The HID API limits the string to 126 characters and its terminator.
        wchar_t text[127] = {};
        if (!HidD_GetProductString(device, text, sizeof text)) {
            return false;
        }
        name.assign(text, wcsnlen(text, std::size(text)));
        return true;
    }

    bool FlushInput(HANDLE device) override { return HidD_FlushQueue(device) != FALSE; }

    HidTransferResult Write(HANDLE device, const BYTE* report, DWORD length,
                            DWORD timeoutMillis) override {
        return Transfer(device, writeDone_, timeoutMillis, [&](OVERLAPPED& overlapped) {
            return WriteFile(device, report, length, nullptr, &overlapped);
        });
    }

    HidTransferResult Read(HANDLE device, BYTE* report, DWORD length,
                           DWORD timeoutMillis) override {
        return Transfer(device, readDone_, timeoutMillis, [&](OVERLAPPED& overlapped) {
            return ReadFile(device, report, length, nullptr, &overlapped);
        });
    }

    void Close(HANDLE device) override { CloseHandle(device); }

  private:
    // Starts an overlapped transfer and waits for it within the time limit; cancels it when
    // time runs out.
    template <class Start>
    static HidTransferResult Transfer(HANDLE device, HANDLE event, DWORD timeoutMillis,
                                      Start start) {
        HidTransferResult result;
        if (event == nullptr) {
            result.error = ERROR_NOT_ENOUGH_MEMORY;  // the event could not be created
            return result;
        }
        OVERLAPPED overlapped{};
        overlapped.hEvent = event;
        ResetEvent(event);
        if (!start(overlapped) && GetLastError() != ERROR_IO_PENDING) {
            result.error = GetLastError();
            return result;
        }
        if (WaitForSingleObject(event, timeoutMillis) != WAIT_OBJECT_0) {
            CancelIoEx(device, &overlapped);
            // The cancelled transfer must end before its buffer and OVERLAPPED can be reused.
            GetOverlappedResult(device, &overlapped, &result.bytes, TRUE);
            result.outcome = HidTransferOutcome::TimedOut;
            result.bytes = 0;
            return result;
        }
        if (!GetOverlappedResult(device, &overlapped, &result.bytes, FALSE)) {
            result.error = GetLastError();
            return result;
        }
        result.outcome = HidTransferOutcome::Done;
        return result;
    }

    HANDLE writeDone_;
    HANDLE readDone_;
};

}  // namespace

HidSystem& WindowsHidSystem() {
    static Win32HidSystem system;
    return system;
}
