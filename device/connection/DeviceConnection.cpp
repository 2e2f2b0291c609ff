#include "device/connection/DeviceConnection.h"

#include <cstring>
#include <utility>
#include <vector>

#include "device/paths/FilePaths.h"

namespace {

constexpr std::uint32_t kTransferLimitMillis = 2000;
// Dependencies of the loaded library are looked up beside it and in the system folder only.
constexpr DWORD kLoadFlags = LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;

std::wstring SystemFolder() {
    wchar_t path[MAX_PATH];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

HMODULE LoadFrom(const std::wstring& folder, const wchar_t* name) {
    if (folder.empty()) {
        return nullptr;
    }
    return LoadLibraryExW(InFolder(folder, name).c_str(), nullptr, kLoadFlags);
}

template <typename Function>
Function LookUp(HMODULE library, const char* name) {
    FARPROC address = GetProcAddress(library, name);
    Function function = nullptr;
    static_assert(sizeof function == sizeof address);
    std::memcpy(&function, &address, sizeof function);
    return function;
}

}  // namespace

DeviceConnection::DeviceConnection() : DeviceConnection(ProgramFolder()) {}

std::wstring DeviceConnection::ProgramFolder() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            return FolderOf(std::wstring(path.data(), length));
        }
        path.resize(path.size() * 2);  // cut off: try again with more room
    }
}

DeviceConnection::DeviceConnection(std::wstring libraryFolder)
    : libraryFolder_(std::move(libraryFolder)) {}

DeviceConnection::~DeviceConnection() {
    Release();
}

HMODULE DeviceConnection::Load(const wchar_t* name, HMODULE& handle) const {
    HMODULE loaded = LoadFrom(libraryFolder_, name);
    if (loaded == nullptr) {
        loaded = LoadFrom(SystemFolder(), name);
    }
    if (handle != nullptr) {
        FreeLibrary(handle);
    }
    handle = loaded;
    return loaded;
}

void DeviceConnection::Forget() {
    getUsbHidObj_ = nullptr;
    getRequestModule_ = nullptr;
    transport_ = nullptr;
    requestModule_ = nullptr;
    requests_.Use(nullptr);
}

ConnectResult DeviceConnection::Connect() {
    const ConnectResult loaded = LoadLibraries();
    return loaded == ConnectResult::Connected ? OpenAdapter() : loaded;
}

ConnectResult DeviceConnection::LoadLibraries() {
    Forget();
    if (Load(L"Tessik.dll", tessik_) == nullptr) {
        return ConnectResult::TessikNotLoaded;
    }
    getUsbHidObj_ = LookUp<TransportFactory>(tessik_, "GetUsbHidObj");
    if (getUsbHidObj_ == nullptr) {
        return ConnectResult::TransportFactoryMissing;
    }
    if (Load(L"Dravik.dll", dravik_) == nullptr) {
        return ConnectResult::DravikNotLoaded;
    }
    getRequestModule_ = LookUp<RequestModuleFactory>(dravik_, "GetRequestModule");
    if (getRequestModule_ == nullptr) {
        return ConnectResult::RequestFactoryMissing;
    }
    transport_ = getUsbHidObj_();
    requestModule_ = getRequestModule_();
    if (transport_ == nullptr) {
        return ConnectResult::NoTransport;
    }
    return requestModule_ != nullptr ? ConnectResult::Connected : ConnectResult::NoRequestModule;
}

ConnectResult DeviceConnection::OpenAdapter() {
    if (!transport_->Open(kAdapterVendorId, kAdapterProductId)) {
        return ConnectResult::AdapterNotOpened;
    }
    if (!transport_->SetTimeout(kTransferLimitMillis)) {
        return ConnectResult::TimeoutRefused;
    }
    if (!requestModule_->Attach(transport_)) {
        return ConnectResult::NotAttached;
    }
    requests_.Use(requestModule_);
    return ConnectResult::Connected;
}

bool DeviceConnection::Release() {
    Forget();
    if (dravik_ != nullptr) {
        FreeLibrary(dravik_);
        dravik_ = nullptr;
    }
    if (tessik_ != nullptr) {
        FreeLibrary(tessik_);
        tessik_ = nullptr;
    }
    return true;
}
