#pragma once
// Looks through the HID interfaces that the system shows for the debugging adapter. The HID
// transport opens the first one that fits; palvex-capture --devices lists them all, each with
// what it is to Palvex, and the verdict. Both go through the same examination, so the list
// names exactly the interface that the transport would open.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tessik/AdapterFit.h"
#include "tessik/HidSystem.h"

// One HID interface as the search saw it.
struct HidInterfaceView {
    std::wstring path;
    bool described = false;  // its identity and report lengths could be read
    HidIdentity identity;
    HidReportLengths lengths;
    std::wstring productName;  // empty when the device reports none
    // Whether this program could have the device for itself: not tried, or the system's error
    // code of the exclusive open (0 when it succeeded).
    std::optional<DWORD> exclusiveOpenError;
    AdapterSearchResult fit = AdapterSearchResult::NotFound;
    std::optional<AdapterReportLayout> layout;  // for the adapter's interfaces whose reports fit
};

enum class ExamineFor {
    // Only the adapter's fitting interfaces are opened exclusively, and the handle is kept.
    Opening,
    // Every interface gets its product name read and is opened exclusively, to tell whether
    // someone holds it, and closed again at once.
    Listing,
};

// Examines one interface. For Opening, a fitting interface of the adapter comes back opened for
// this program alone in device, which the caller then owns; device is INVALID_HANDLE_VALUE
// otherwise.
HidInterfaceView ExamineInterface(HidSystem& system, const std::wstring& path, HidIdentity wanted,
                                  ExamineFor purpose, HANDLE& device);

struct HidSurvey {
    std::vector<HidInterfaceView> interfaces;
    AdapterSearchResult verdict = AdapterSearchResult::NotFound;
    std::size_t chosen = 0;  // the interface that Palvex would open, when the verdict is Found
};

// Every HID interface present now, and which one the transport would open or why none.
HidSurvey SurveyHidInterfaces(HidSystem& system, HidIdentity wanted);

// The survey's verdict with the report lengths of the adapter's interface that came closest.
AdapterFinding FindingOf(const HidSurvey& survey);
