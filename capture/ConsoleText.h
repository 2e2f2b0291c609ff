#pragma once
// Text between palvex-capture and its console: the command line arrives in UTF-16, file names
// go back to the system in UTF-16, and everything printed is UTF-8 (the console is switched
// to it at start).

#include <string>

#include "device/recording/TextEncoding.h"  // ToUtf8, FromUtf8

// Prints "palvex-capture: what" as one line on standard error.
void ReportError(const std::string& what);
