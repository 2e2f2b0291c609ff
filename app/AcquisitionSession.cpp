#include "app/AcquisitionSession.h"

#include <utility>

PanelEnabling EnablingOf(PanelState state) {
    switch (state) {
        case PanelState::Closed:
            return {true, false, false, false, true, true};
        case PanelState::Opened:
            return {false, true, true, true, true, true};
        case PanelState::Receiving:
            return {false, false, true, false, false, false};
        case PanelState::Waiting:
            break;
    }
    return {false, false, false, false, false, false};
}

AcquisitionSession::AcquisitionSession(std::unique_ptr<DeviceLink> device,
                                       SharedWindowResults results,
                                       std::function<void()> framesArrived)
    : device_(std::move(device)),
      results_(std::move(results)),
      framesArrived_(std::move(framesArrived)) {}

AcquisitionSession::~AcquisitionSession() {
    Abandon();
}

void AcquisitionSession::Ask(Awaited awaited, std::function<void()> job) {
    awaited_ = awaited;
    panel_ = PanelState::Waiting;
    adapter_.Post(std::move(job));
}

bool AcquisitionSession::Answered(Awaited awaited) {
    if (Abandoned() || awaited_ != awaited) {
        return false;
    }
    awaited_ = Awaited::None;
    return true;
}

void AcquisitionSession::Open() {
    Ask(Awaited::Open, [this] {
        // Each step is one exchange; a window closed meanwhile does not wait for the next.
        DeviceOpened opened;
        opened.connection = device_->Connect();
        if (opened.connection != ConnectResult::Connected && !Abandoned()) {
            opened.why = device_->ExplainFailure(opened.connection, TextLanguage::Chinese);
        }
        if (opened.connection == ConnectResult::Connected && !Abandoned()) {
            opened.handshakeAnswered = device_->StartStreaming();
            opened.layoutRead = !Abandoned() && device_->ReadChannelLayout(store_);
            if (opened.layoutRead && !Abandoned()) {
                device_->StopStreaming();
            }
        }
        results_->Post(opened);
    });
}

bool AcquisitionSession::Accept(const DeviceOpened& opened) {
    if (!Answered(Awaited::Open)) {
        return false;
    }
    connected_ = opened.connection == ConnectResult::Connected && opened.handshakeAnswered;
    panel_ = opened.connection == ConnectResult::Connected && opened.layoutRead
                 ? PanelState::Opened
                 : PanelState::Closed;
    return true;
}

void AcquisitionSession::Continue() {
    Ask(Awaited::Continue, [this] { results_->Post(StreamingStarted{device_->StartStreaming()}); });
}

bool AcquisitionSession::Accept(const StreamingStarted& started) {
    if (!Answered(Awaited::Continue)) {
        return false;
    }
    if (!started.handshakeAnswered) {
        panel_ = PanelState::Opened;
        return true;
    }
    adapter_.Receive({
        [this] { return device_->ReadFrame(store_); },
        framesArrived_,
        [results = results_](AdapterThread::End end) {
            results->Post(ReceivingEnded{end == AdapterThread::End::OutOfMemory
                                             ? ReceivingEnded::Why::OutOfMemory
                                             : ReceivingEnded::Why::ReadFailed});
        },
    });
    panel_ = PanelState::Receiving;
    return true;
}

void AcquisitionSession::Stop() {
    // The stop request runs after the read in flight, never in the middle of it.
    adapter_.StopReceiving();
    Ask(Awaited::Stop, [this] {
        device_->StopStreaming();
        results_->Post(ReceivingStopped{});
    });
}

bool AcquisitionSession::Accept(const ReceivingStopped&) {
    if (!Answered(Awaited::Stop)) {
        return false;
    }
    panel_ = PanelState::Opened;
    return true;
}

bool AcquisitionSession::Accept(const ReceivingEnded&) {
    if (Abandoned() || (panel_ != PanelState::Receiving && awaited_ != Awaited::Stop)) {
        return false;
    }
    Close();
    return true;
}

void AcquisitionSession::Close() {
    awaited_ = Awaited::None;
    adapter_.StopReceiving();
    panel_ = PanelState::Closed;
    connected_ = false;
    adapter_.Post([this] { device_->StopStreaming(); });
}

void AcquisitionSession::Abandon() {
    adapter_.Abandon();
}

std::vector<std::uint32_t> AcquisitionSession::StoreChannels() const {
    auto guard = store_.Lock();
    return store_.ChannelNumbers();
}
