#pragma once
// The acquisition behind the main window's device panel: the device link, the store the
// frames go into, the adapter's thread that runs every exchange, and the panel's state.
//
// The window's thread gives the commands. A command that exchanges with the adapter puts the
// panel in Waiting and runs on the adapter's thread; its typed result comes back through the
// window's result queue, and the window hands it to Accept, which moves the panel on and says
// whether the result still has something to show: a result overtaken by a later command (a
// stop by the close after a failed read) or arriving after Abandon() has nothing. Standard C++
// only; the window's thread calls every member.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/AdapterThread.h"
#include "app/WindowResults.h"
#include "device/connection/DeviceLink.h"
#include "device/store/TouchSampleStore.h"

enum class PanelState { Closed, Opened, Receiving, Waiting };

// Which of the panel's buttons a state enables.
struct PanelEnabling {
    bool open, continueReceiving, stop, close, clear, exportData;
};
PanelEnabling EnablingOf(PanelState state);

class AcquisitionSession {
  public:
    // framesArrived is called on the adapter's thread after every frame received.
    AcquisitionSession(std::unique_ptr<DeviceLink> device, SharedWindowResults results,
                       std::function<void()> framesArrived);
    // Abandons, and waits for the exchange under way.
    ~AcquisitionSession();
    AcquisitionSession(const AcquisitionSession&) = delete;
    AcquisitionSession& operator=(const AcquisitionSession&) = delete;

    // "打开设备": connects, sends the start request, reads the channel layout into the store
    // and stops the streaming again; DeviceOpened follows. Queued behind any exchange still
    // running (the stop request of the last close).
    void Open();
    // "继续接收": the start request; StreamingStarted follows, and with its handshake the
    // frames are read back to back.
    void Continue();
    // "停止接收": ends receiving after the read in flight, then the stop request;
    // ReceivingStopped follows.
    void Stop();
    // "关闭设备": closed at once; the stop request runs on the adapter's thread after what is
    // under way, and a result still on its way has nothing left to show.
    void Close();
    // For closing the window: what is queued never runs, a command under way ends after its
    // exchange, and no result is accepted any more.
    void Abandon();

    // Each result taken from the queue: true when the window has something to show for it.
    bool Accept(const DeviceOpened& opened);
    bool Accept(const StreamingStarted& started);
    bool Accept(const ReceivingStopped& stopped);
    // Receiving that ends by itself ends closed, as "停止接收" and "关闭设备" would.
    bool Accept(const ReceivingEnded& ended);

    PanelState Panel() const { return panel_; }
    // True while a command waits for the adapter's result.
    bool Waiting() const { return awaited_ != Awaited::None; }
    // The handshake of the last open was answered, and the device was not closed since.
    bool Connected() const { return connected_; }
    bool Abandoned() const { return adapter_.Abandoned(); }
    std::size_t ChannelCount() const { return device_->ChannelCount(); }

    // The channels of the store, in store order.
    std::vector<std::uint32_t> StoreChannels() const;

    TouchSampleStore& Store() { return store_; }
    const TouchSampleStore& Store() const { return store_; }

  private:
    enum class Awaited { None, Open, Continue, Stop };

    // Disables the panel until the result of awaited comes; runs job on the adapter's thread.
    void Ask(Awaited awaited, std::function<void()> job);
    // Takes a result: false when its command is not the one awaited, or after Abandon.
    bool Answered(Awaited awaited);

    // Declared in the order in which they are built and, reversed, torn down.
    std::unique_ptr<DeviceLink> device_;
    TouchSampleStore store_;
    SharedWindowResults results_;
    std::function<void()> framesArrived_;
    PanelState panel_ = PanelState::Closed;
    Awaited awaited_ = Awaited::None;
    bool connected_ = false;
    // Last, so that it ends first: its jobs use the device and the store.
    AdapterThread adapter_;
};
