// The simulator build of Tessik.dll: a simulated adapter configured by TESSIK_SIM_* environment
// variables, read anew each time the adapter is opened.

#include "request/LibraryExport.h"
#include "tessik/EnvironmentSimulator.h"

PALVEX_EXPORT HidTransport* GetUsbHidObj() {
    return &EnvironmentSimulator();
}
