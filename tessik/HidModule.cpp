// The hardware build of Tessik.dll: the Windows HID transport to the debugging adapter.

#include "request/LibraryExport.h"
#include "tessik/HidDeviceTransport.h"

PALVEX_EXPORT HidTransport* GetUsbHidObj() {
    static HidDeviceTransport transport;
    return &transport;
}
