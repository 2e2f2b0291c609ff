#pragma once
// The operating-system calls that the HID transport makes, behind one interface so that tests
// can script a device. WindowsHidSystem() is the real one: SetupAPI to list the HID
// interfaces, the HID API for identities, report lengths and flushing, and overlapped file I/O
// that gives up after a time limit.

#include <windows.h>

#include <string>
#include <vector>

struct HidIdentity {
    USHORT vendorId = 0;
    USHORT productId = 0;
};

// Byte lengths of the device's reports, report id byte included (HIDP_CAPS).
struct HidReportLengths {
    USHORT input = 0;
    USHORT output = 0;
};

// Query opens neither reads nor writes and shares the device with everyone: enough to read its
// identity, report lengths and name, even of a device that Windows or another program holds,
// without disturbing it. Exclusive reads and writes and shares with no one, so that no other
// program's reports can interleave with ours.
enum class HidAccess { Query, Exclusive };

struct HidOpened {
    HANDLE device = INVALID_HANDLE_VALUE;
    DWORD error = 0;  // the system's error code when the device could not be opened
};

enum class HidTransferOutcome { Done, TimedOut, Failed };

struct HidTransferResult {
    HidTransferOutcome outcome = HidTransferOutcome::Failed;
    DWORD bytes = 0;  // transferred, when Done
    DWORD error = 0;  // the system's error code, when Failed
};

class HidSystem {
  public:
    // The interface paths of the HID devices present now.
    virtual std::vector<std::wstring> DevicePaths() = 0;
    virtual HidOpened Open(const std::wstring& path, HidAccess access) = 0;
    virtual bool Identify(HANDLE device, HidIdentity& identity) = 0;
    virtual bool ReportLengths(HANDLE device, HidReportLengths& lengths) = 0;
    // The product string the device reports; false when it has none.
    virtual bool ProductName(HANDLE device, std::wstring& name) = 0;
    // Drops the input reports that the driver holds for the device.
    virtual bool FlushInput(HANDLE device) = 0;
    // One report each way; a transfer not done within the limit is cancelled before returning.
    virtual HidTransferResult Write(HANDLE device, const BYTE* report, DWORD length,
                                    DWORD timeoutMillis) = 0;
    virtual HidTransferResult Read(HANDLE device, BYTE* report, DWORD length,
                                   DWORD timeoutMillis) = 0;
    virtual void Close(HANDLE device) = 0;

  protected:
    ~HidSystem() = default;
};

HidSystem& WindowsHidSystem();
