// Dravik.dll: the request module and its one export.

#include "request/DebugCmdProcess.h"
#include "request/LibraryExport.h"

namespace {
constinit DebugCmdProcess requestModule;
}  // namespace

PALVEX_EXPORT Request* GetRequestModule() {
    return &requestModule;
}
