#pragma once
// palvex-capture --devices: the HID interfaces that Windows shows, each with its vendor and
// product id, report lengths, product name and whether another program holds it, then which
// one Palvex would open or why none fits. From the system's own HID calls, so it tells the
// same whichever Tessik.dll sits beside the program.

#include <string>

#include "tessik/AdapterSearch.h"

// The listing as printed, in English.
std::string FormatDeviceListing(const HidSurvey& survey);
