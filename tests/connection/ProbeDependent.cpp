// Two stand-in libraries for the diagnosis of a library that does not load: probe_dependent
// needs probe_dependency at load time, and the tests leave probe_dependency out.

#include "request/HidTransport.h"
#include "request/LibraryExport.h"

#if defined(PROBE_DEPENDENCY)
PALVEX_EXPORT int ProbeDependencyAnswer() {
    return 7;
}
#else
extern "C" __declspec(dllimport) int ProbeDependencyAnswer();

PALVEX_EXPORT HidTransport* GetUsbHidObj() {
    return ProbeDependencyAnswer() == 7 ? nullptr : nullptr;
}
#endif
