#include "device/connection/ConnectionDiagnosis.h"

#include "device/connection/LibraryCheck.h"
#include "request/HidTransport.h"
#include "tessik/AdapterSearch.h"
#include "tessik/HidSystem.h"

ConnectFailureText DescribeConnectFailure(ConnectResult result, const std::wstring& libraryFolder,
                                          TextLanguage language) {
    ConnectFailureText text;
    const auto library = [&](const wchar_t* name, const char* factory) {
        text.library = LibraryProblemText(DiagnoseLibrary(libraryFolder, name, factory), language);
    };
    switch (result) {
        case ConnectResult::TessikNotLoaded:
        case ConnectResult::TransportFactoryMissing:
            library(L"Tessik.dll", "GetUsbHidObj");
            break;
        case ConnectResult::DravikNotLoaded:
        case ConnectResult::RequestFactoryMissing:
            library(L"Dravik.dll", "GetRequestModule");
            break;
        case ConnectResult::AdapterNotOpened:
            text.adapter =
                AdapterProblemText(FindingOf(SurveyHidInterfaces(
                                       WindowsHidSystem(), {kAdapterVendorId, kAdapterProductId})),
                                   language);
            break;
        default:
            break;
    }
    return text;
}

ConnectFailureText DeviceConnection::ExplainFailure(ConnectResult result,
                                                    TextLanguage language) const {
    return DescribeConnectFailure(result, libraryFolder_, language);
}
