#include "capture/ConsoleText.h"

#include <cstdio>

void ReportError(const std::string& what) {
    std::fprintf(stderr, "palvex-capture: %s\n", what.c_str());
    std::fflush(stderr);
}
