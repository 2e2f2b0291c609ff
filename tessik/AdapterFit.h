#pragma once
// What a HID interface is to Palvex, and why the search for the adapter found none: shared by
// the HID transport, the list of HID devices that palvex-capture --devices prints and the texts
// that explain a failed connection. Portable.

#include <cstdint>
#include <optional>

#include "request/HidTransport.h"

// How Windows gives the adapter's 64-byte protocol reports. An adapter that declares report id 0
// has it counted in its report length: 64 bytes, the id first (IdIncluded). One that declares no
// report id gets an id 0 put in front by Windows: 65 bytes, then all 64 protocol bytes after it
// (IdBefore).
enum class AdapterReportLayout : std::uint8_t { IdIncluded, IdBefore };

// The layout of an interface with these report lengths (as Windows gives them, report id byte
// included), or none when they are not the adapter's: any other length would cut or pad the
// protocol's reports.
inline std::optional<AdapterReportLayout> AdapterLayoutFor(std::uint16_t inputLength,
                                                           std::uint16_t outputLength) {
    if (inputLength != outputLength) {
        return std::nullopt;
    }
    if (inputLength == kReportSize) {
        return AdapterReportLayout::IdIncluded;
    }
    if (inputLength == kReportSize + 1) {
        return AdapterReportLayout::IdBefore;
    }
    return std::nullopt;
}

// The bytes of one transfer in this layout.
inline std::uint32_t TransferLength(AdapterReportLayout layout) {
    return layout == AdapterReportLayout::IdBefore ? kReportSize + 1 : kReportSize;
}

// The outcome of looking for the adapter: found, or the reason none could be opened, from the
// least to the most telling.
enum class AdapterSearchResult : std::uint8_t {
    NotFound,           // no HID interface with the adapter's vendor and product id
    OtherReportLength,  // the adapter's interfaces have reports of another length
    InUse,              // the adapter is there, but another program holds it
    Found,
};

// Of two interfaces' outcomes, the one that says more about the search as a whole.
inline AdapterSearchResult MoreTelling(AdapterSearchResult a, AdapterSearchResult b) {
    return static_cast<std::uint8_t>(a) >= static_cast<std::uint8_t>(b) ? a : b;
}

// What the search found, as the texts that explain a failed connection need it.
struct AdapterFinding {
    AdapterSearchResult result = AdapterSearchResult::NotFound;
    // OtherReportLength: the report lengths of the adapter's interface, as Windows gives them
    std::uint16_t inputLength = 0;
    std::uint16_t outputLength = 0;
};
