#include "tessik/AdapterSearch.h"

namespace {

void Describe(HidSystem& system, HANDLE query, ExamineFor purpose, HidInterfaceView& view) {
    view.described =
        system.Identify(query, view.identity) && system.ReportLengths(query, view.lengths);
    if (purpose == ExamineFor::Listing && !system.ProductName(query, view.productName)) {
        view.productName.clear();
    }
}

}  // namespace

HidInterfaceView ExamineInterface(HidSystem& system, const std::wstring& path, HidIdentity wanted,
                                  ExamineFor purpose, HANDLE& device) {
    device = INVALID_HANDLE_VALUE;
    HidInterfaceView view;
    view.path = path;
    // Every interface is described through a query handle first: opening other programs'
    // devices exclusively only to read their identity would shut those programs out meanwhile.
    const HidOpened query = system.Open(path, HidAccess::Query);
    if (query.device == INVALID_HANDLE_VALUE) {
        return view;
    }
    Describe(system, query.device, purpose, view);
    system.Close(query.device);

    const bool adapter = view.described && view.identity.vendorId == wanted.vendorId &&
                         view.identity.productId == wanted.productId;
    if (adapter) {
        view.layout = AdapterLayoutFor(view.lengths.input, view.lengths.output);
        view.fit =
            view.layout ? AdapterSearchResult::Found : AdapterSearchResult::OtherReportLength;
    }
    const bool fits = view.fit == AdapterSearchResult::Found;
    if (!fits && purpose == ExamineFor::Opening) {
        return view;
    }
    const HidOpened exclusive = system.Open(path, HidAccess::Exclusive);
    view.exclusiveOpenError = exclusive.device == INVALID_HANDLE_VALUE ? exclusive.error : 0;
    if (exclusive.device == INVALID_HANDLE_VALUE) {
        if (fits) {
            // Any refusal of a device that fits in every other respect: it is taken.
            view.fit = AdapterSearchResult::InUse;
        }
        return view;
    }
    if (fits && purpose == ExamineFor::Opening) {
        device = exclusive.device;
    } else {
        system.Close(exclusive.device);
    }
    return view;
}

HidSurvey SurveyHidInterfaces(HidSystem& system, HidIdentity wanted) {
    HidSurvey survey;
    for (const std::wstring& path : system.DevicePaths()) {
        HANDLE unused = INVALID_HANDLE_VALUE;
        survey.interfaces.push_back(
            ExamineInterface(system, path, wanted, ExamineFor::Listing, unused));
        const AdapterSearchResult fit = survey.interfaces.back().fit;
        if (fit == AdapterSearchResult::Found && survey.verdict != AdapterSearchResult::Found) {
            survey.chosen = survey.interfaces.size() - 1;
        }
        survey.verdict = MoreTelling(survey.verdict, fit);
    }
    return survey;
}

AdapterFinding FindingOf(const HidSurvey& survey) {
    AdapterFinding finding{survey.verdict};
    for (const HidInterfaceView& view : survey.interfaces) {
        if (view.fit == AdapterSearchResult::OtherReportLength) {
            finding.inputLength = view.lengths.input;
            finding.outputLength = view.lengths.output;
            break;
        }
    }
    return finding;
}
