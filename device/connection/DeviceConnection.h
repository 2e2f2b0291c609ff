#pragma once
// Palvex's side of the device link: loads Tessik.dll (the HID transport) and Dravik.dll (the
// request module), opens the adapter and offers the acquisition its four requests. Used by
// one thread at a time: the window's acquisition session owns one for the window's whole life
// and runs every operation on its adapter thread, since each may wait seconds for the adapter;
// palvex-capture runs them on its only thread.
//
// Both libraries are loaded by file name, but only from the program's own folder or, failing
// that, the system folder: never from the current directory or PATH, where a planted DLL of
// the same name would run inside the program.

#include <windows.h>

#include <string>

#include "device/connection/DeviceLink.h"
#include "device/connection/DeviceRequests.h"
#include "device/store/TouchSampleStore.h"
#include "request/HidTransport.h"
#include "request/Request.h"

class DeviceConnection : public DeviceLink {
  public:
    // Loads the libraries from the folder of the program's executable.
    DeviceConnection();
    // The folder of the program's executable, with its trailing separator; empty when it
    // cannot be found.
    static std::wstring ProgramFolder();
    // Loads the libraries from libraryFolder instead, for tests.
    explicit DeviceConnection(std::wstring libraryFolder);
    ~DeviceConnection() override;
    DeviceConnection(const DeviceConnection&) = delete;
    DeviceConnection& operator=(const DeviceConnection&) = delete;

    // Loads both libraries, creates the transport and the request module, opens the adapter
    // (0x1D7F, 0x0002), sets the 2000 ms transfer limit and attaches the transport to the
    // module; stops at the first step that fails and says which. Each call starts over.
    // Talks to the adapter, so it may take long.
    ConnectResult Connect() override;
    bool StartStreaming() override { return requests_.StartStreaming(); }
    bool StopStreaming() override { return requests_.StopStreaming(); }
    bool ReadChannelLayout(TouchSampleStore& store) override {
        return requests_.ReadChannelLayout(store);
    }
    bool ReadFrame(TouchSampleStore& store) override { return requests_.ReadFrame(store); }
    // Unloads Dravik, then Tessik, whichever is loaded; sends nothing to the adapter. The
    // destructor does the same.
    bool Release();

    std::uint8_t ChannelCount() const override { return requests_.ChannelCount(); }
    ConnectFailureText ExplainFailure(ConnectResult result, TextLanguage language) const override;

  private:
    using TransportFactory = HidTransport* (*)();
    using RequestModuleFactory = Request* (*)();

    ConnectResult LoadLibraries();
    ConnectResult OpenAdapter();
    // Loads name from the library folder or the system folder. An earlier handle of the same
    // library is freed after the new load, so the library stays loaded once, not once per
    // Connect.
    HMODULE Load(const wchar_t* name, HMODULE& handle) const;
    void Forget();

    std::wstring libraryFolder_;
    HMODULE dravik_ = nullptr;
    HMODULE tessik_ = nullptr;
    TransportFactory getUsbHidObj_ = nullptr;
    RequestModuleFactory getRequestModule_ = nullptr;
    HidTransport* transport_ = nullptr;  // belongs to Tessik.dll
    Request* requestModule_ = nullptr;   // the static module of Dravik.dll
    DeviceRequests requests_;
};
