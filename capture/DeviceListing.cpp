#include "capture/DeviceListing.h"

#include <cstdio>

#include "device/recording/TextEncoding.h"
#include "device/connection/ConnectionProblemText.h"

namespace {

std::string Printed(const char* format, auto... values) {
    char text[160] = {};
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string HolderOf(const HidInterfaceView& view) {
    if (!view.exclusiveOpenError) {
        return "-";
    }
    switch (*view.exclusiveOpenError) {
        case 0:
            return "free";
        case ERROR_SHARING_VIOLATION:
            return "in use by another program";
        case ERROR_ACCESS_DENIED:
            return "held by Windows or another program";
        default:
            return "cannot be opened (system error " + std::to_string(*view.exclusiveOpenError) +
                   ")";
    }
}

std::string LayoutOf(AdapterReportLayout layout) {
    return layout == AdapterReportLayout::IdBefore ? "65-byte reports, id 0 before 64 bytes"
                                                   : "64-byte reports, id included";
}

std::string Line(const HidInterfaceView& view, bool chosen) {
    std::string line;
    if (view.described) {
        line = Printed("  %04X:%04X  %3u/%-3u  ", view.identity.vendorId, view.identity.productId,
                       unsigned{view.lengths.input}, unsigned{view.lengths.output});
    } else {
        line = "  ????:????    ?/?    ";
    }
    const std::string name = view.productName.empty() ? "(no name)" : ToUtf8(view.productName);
    line += Printed("%-32s ", name.c_str()) + HolderOf(view);
    if (chosen) {
        line += "  <- Palvex opens this one";
    }
    return line + "\n      " + ToUtf8(view.path) + "\n";
}

}  // namespace

std::string FormatDeviceListing(const HidSurvey& survey) {
    std::string text = Printed("HID devices that Windows shows: %u\n",
                               static_cast<unsigned>(survey.interfaces.size()));
    if (!survey.interfaces.empty()) {
        text += "  VID:PID    in/out   product name                     held\n";
    }
    const bool found = survey.verdict == AdapterSearchResult::Found;
    for (std::size_t i = 0; i < survey.interfaces.size(); ++i) {
        text += Line(survey.interfaces[i], found && i == survey.chosen);
    }
    if (found) {
        const HidInterfaceView& chosen = survey.interfaces[survey.chosen];
        return text + Printed("Palvex would open the adapter %04X:%04X (%s).\n",
                              chosen.identity.vendorId, chosen.identity.productId,
                              LayoutOf(*chosen.layout).c_str());
    }
    return text + ToUtf8(AdapterProblemText(FindingOf(survey), TextLanguage::English)) + "\n";
}
