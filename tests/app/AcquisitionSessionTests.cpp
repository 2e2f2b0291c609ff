// The acquisition session and its adapter thread, natively and under ThreadSanitizer, with an
// adapter of the test's own: commands, their typed results, overtaken results, failed and
// hanging exchanges, and closing while a command waits.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <new>
#include <stdexcept>
#include <thread>

#include "app/AcquisitionSession.h"
#include "tests/app/AwaitedResults.h"
#include "tests/store/TestFrame.h"

namespace {

using namespace std::chrono_literals;

// What the test's adapter does and has done; shared with the test, since the session owns
// the link. An exchange on a mute adapter waits until Unmute().
struct Adapter {
    std::mutex mutex;
    std::condition_variable changed;
    ConnectResult connect = ConnectResult::Connected;
    bool startAnswers = true;
    bool layoutAnswers = true;
    int framesBeforeFailure = -1;  // -1: every frame read succeeds
    bool mute = false;
    int exchanges = 0;  // begun
    int starts = 0;
    int stops = 0;
    int layouts = 0;
    int frames = 0;

    // Counts the exchange and, while mute, waits for Unmute().
    void Exchange(int& counter) {
        std::unique_lock lock(mutex);
        ++exchanges;
        ++counter;
        changed.notify_all();
        changed.wait(lock, [this] { return !mute; });
    }
    void Unmute() {
        std::lock_guard lock(mutex);
        mute = false;
        changed.notify_all();
    }
    // Waits until exchanges have begun; false after a long wait.
    bool AwaitExchanges(int count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 10s, [&] { return exchanges >= count; });
    }
    int Count(const int& counter) {
        std::lock_guard lock(mutex);
        return counter;
    }
};

class TestLink : public DeviceLink {
  public:
    explicit TestLink(std::shared_ptr<Adapter> adapter) : adapter_(std::move(adapter)) {}

    ConnectResult Connect() override { return adapter_->connect; }
    bool StartStreaming() override {
        adapter_->Exchange(adapter_->starts);
        return adapter_->startAnswers;
    }
    bool StopStreaming() override {
        adapter_->Exchange(adapter_->stops);
        return true;
    }
    bool ReadChannelLayout(TouchSampleStore& store) override {
        adapter_->Exchange(adapter_->layouts);
        return adapter_->layoutAnswers &&
               DecodeChannelLayout(MakeFrame(2 + 6 * 3).data(), store, channels_);
    }
    bool ReadFrame(TouchSampleStore& store) override {
        adapter_->Exchange(adapter_->frames);
        const int read = adapter_->Count(adapter_->frames);
        if (adapter_->framesBeforeFailure >= 0 && read > adapter_->framesBeforeFailure) {
            return false;
        }
        Frame frame = MakeFrame(2 + 6 * 3);
        PutGroup(frame, 0, static_cast<std::uint16_t>(read), 1, 2);
        DecodeSamples(frame.data(), channels_, store);
        return true;
    }
    std::uint8_t ChannelCount() const override { return channels_; }
    ConnectFailureText ExplainFailure(ConnectResult result, TextLanguage language) const override {
        const bool chinese = language == TextLanguage::Chinese;
        return {chinese ? L"库的原因" : L"library's reason",
                result == ConnectResult::AdapterNotOpened ? L"适配器的原因" : L""};
    }

  private:
    std::shared_ptr<Adapter> adapter_;
    std::uint8_t channels_ = 0;  // written and read on the adapter's thread only
};

class AcquisitionSessionTest : public ::testing::Test {
  protected:
    void Start() {
        session.emplace(std::make_unique<TestLink>(adapter), results.queue,
                        [this] { ++frameReports; });
    }

    // The next result, of type Result, handed to the session as the window would.
    template <typename Result>
    bool Accept() {
        const std::optional<Result> result = results.Next<Result>();
        return result && session->Accept(*result);
    }
    void OpenDevice() {
        session->Open();
        ASSERT_TRUE(Accept<DeviceOpened>());
        ASSERT_EQ(session->Panel(), PanelState::Opened);
    }

    std::shared_ptr<Adapter> adapter = std::make_shared<Adapter>();
    AwaitedResults results;
    std::atomic<int> frameReports{0};
    std::optional<AcquisitionSession> session;
};

TEST(PanelEnablingTest, EachStateEnablesItsButtons) {
    // open, continue, stop, close, clear, export
    const auto bits = [](PanelState state) {
        const PanelEnabling e = EnablingOf(state);
        return std::string{e.open ? '1' : '0',  e.continueReceiving ? '1' : '0',
                           e.stop ? '1' : '0',  e.close ? '1' : '0',
                           e.clear ? '1' : '0', e.exportData ? '1' : '0'};
    };
    EXPECT_EQ(bits(PanelState::Closed), "100011");
    EXPECT_EQ(bits(PanelState::Opened), "011111");
    EXPECT_EQ(bits(PanelState::Receiving), "001000");
    EXPECT_EQ(bits(PanelState::Waiting), "000000");
}

TEST_F(AcquisitionSessionTest, OpenReceiveStopAndClose) {
    Start();
    session->Open();
    EXPECT_EQ(session->Panel(), PanelState::Waiting);
    EXPECT_TRUE(session->Waiting());
    ASSERT_TRUE(Accept<DeviceOpened>());
    EXPECT_EQ(session->Panel(), PanelState::Opened);
    EXPECT_TRUE(session->Connected());
    EXPECT_EQ(session->ChannelCount(), 3u);
    EXPECT_EQ(session->StoreChannels(), (std::vector<std::uint32_t>{0, 1, 2}));
    EXPECT_EQ(adapter->Count(adapter->stops), 1) << "the open stops what it started";

    session->Continue();
    EXPECT_EQ(session->Panel(), PanelState::Waiting);
    ASSERT_TRUE(Accept<StreamingStarted>());
    EXPECT_EQ(session->Panel(), PanelState::Receiving);
    ASSERT_TRUE(adapter->AwaitExchanges(adapter->Count(adapter->exchanges) + 20));

    session->Stop();
    EXPECT_EQ(session->Panel(), PanelState::Waiting);
    ASSERT_TRUE(Accept<ReceivingStopped>());
    EXPECT_EQ(session->Panel(), PanelState::Opened);
    const int frames = adapter->Count(adapter->frames);
    EXPECT_EQ(session->Store().FrameCount(), static_cast<std::uint32_t>(frames));
    EXPECT_EQ(frameReports.load(), frames);
    EXPECT_EQ(session->Store().Channel(0).Series(SampleQuantity::Baseline).Last(), frames);

    const int exchanges = adapter->Count(adapter->exchanges);
    session->Close();
    EXPECT_EQ(session->Panel(), PanelState::Closed);
    EXPECT_FALSE(session->Connected());
    ASSERT_TRUE(adapter->AwaitExchanges(exchanges + 1));
    EXPECT_EQ(adapter->Count(adapter->stops), 3);
    EXPECT_EQ(adapter->Count(adapter->frames), frames) << "a frame read after the stop";
}

TEST_F(AcquisitionSessionTest, AnOpenSaysHowFarItGot) {
    struct Case {
        ConnectResult connect;
        bool startAnswers, layoutAnswers;
        PanelState panel;
        bool connected;
        int starts;
    };
    const Case cases[] = {
        {ConnectResult::DravikNotLoaded, true, true, PanelState::Closed, false, 0},
        {ConnectResult::AdapterNotOpened, true, true, PanelState::Closed, false, 0},
        {ConnectResult::Connected, false, true, PanelState::Opened, false, 1},
        {ConnectResult::Connected, true, false, PanelState::Closed, true, 1},
    };
    for (const Case& c : cases) {
        adapter = std::make_shared<Adapter>();
        adapter->connect = c.connect;
        adapter->startAnswers = c.startAnswers;
        adapter->layoutAnswers = c.layoutAnswers;
        Start();
        session->Open();
        const std::optional<DeviceOpened> result = results.Next<DeviceOpened>();
        ASSERT_TRUE(result);
        const DeviceOpened& opened = *result;
        EXPECT_EQ(opened.connection, c.connect);
        EXPECT_EQ(opened.handshakeAnswered,
                  c.connect == ConnectResult::Connected && c.startAnswers);
        EXPECT_EQ(opened.layoutRead, c.connect == ConnectResult::Connected && c.layoutAnswers);
        // A failed connection carries its reasons, in the window's words.
        const bool failed = c.connect != ConnectResult::Connected;
        EXPECT_EQ(opened.why.library, failed ? L"库的原因" : L"");
        EXPECT_EQ(opened.why.adapter,
                  c.connect == ConnectResult::AdapterNotOpened ? L"适配器的原因" : L"");
        EXPECT_TRUE(session->Accept(opened));
        EXPECT_EQ(session->Panel(), c.panel);
        EXPECT_EQ(session->Connected(), c.connected);
        EXPECT_EQ(adapter->Count(adapter->starts), c.starts);
        session.reset();
    }
}

TEST_F(AcquisitionSessionTest, AHandshakeRefusedAtContinueLeavesTheDeviceOpened) {
    Start();
    OpenDevice();
    adapter->startAnswers = false;
    session->Continue();
    const std::optional<StreamingStarted> result = results.Next<StreamingStarted>();
    ASSERT_TRUE(result);
    EXPECT_FALSE(result->handshakeAnswered);
    EXPECT_TRUE(session->Accept(*result));
    EXPECT_EQ(session->Panel(), PanelState::Opened);
    EXPECT_EQ(adapter->Count(adapter->frames), 0);
}

TEST_F(AcquisitionSessionTest, AFailedReadEndsReceivingClosedAndOvertakesAStopOnItsWay) {
    adapter->framesBeforeFailure = 40;
    Start();
    OpenDevice();
    session->Continue();
    ASSERT_TRUE(Accept<StreamingStarted>());
    const std::optional<ReceivingEnded> ended = results.Next<ReceivingEnded>();
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->why, ReceivingEnded::Why::ReadFailed);
    // "停止接收" pressed before the window took the end: the end closes, the stop's result
    // that follows has nothing left to show.
    session->Stop();
    EXPECT_TRUE(session->Accept(*ended));
    EXPECT_EQ(session->Panel(), PanelState::Closed);
    EXPECT_FALSE(session->Waiting());
    EXPECT_FALSE(Accept<ReceivingStopped>());
    EXPECT_EQ(session->Panel(), PanelState::Closed);
    EXPECT_EQ(session->Store().FrameCount(), 40u);
    // An end arriving while nothing receives is not one to show.
    EXPECT_FALSE(session->Accept(ReceivingEnded{}));
}

TEST_F(AcquisitionSessionTest, AMuteAdapterKeepsThePanelWaitingUntilItAnswers) {
    Start();
    OpenDevice();
    adapter->mute = true;
    const int before = adapter->Count(adapter->exchanges);
    session->Continue();
    ASSERT_TRUE(adapter->AwaitExchanges(before + 1));
    EXPECT_TRUE(session->Waiting());
    EXPECT_FALSE(results.queue->Take().has_value());
    adapter->Unmute();
    ASSERT_TRUE(Accept<StreamingStarted>());
    EXPECT_EQ(session->Panel(), PanelState::Receiving);
}

TEST_F(AcquisitionSessionTest, ClosingDuringAnOpenWaitsForOneExchangeOnly) {
    adapter->mute = true;
    Start();
    session->Open();
    ASSERT_TRUE(adapter->AwaitExchanges(1));  // the start request hangs
    session->Abandon();
    results.queue->Close();
    std::thread unmute([this] {
        std::this_thread::sleep_for(50ms);
        adapter->Unmute();
    });
    session.reset();  // returns once the start request has given up
    unmute.join();
    EXPECT_EQ(adapter->Count(adapter->starts), 1);
    EXPECT_EQ(adapter->Count(adapter->layouts), 0) << "the open went on after the window closed";
    EXPECT_FALSE(results.queue->Take().has_value());
}

TEST_F(AcquisitionSessionTest, NothingIsAcceptedOrSentOnceAbandoned) {
    Start();
    OpenDevice();
    session->Continue();
    session->Abandon();
    EXPECT_FALSE(session->Accept(StreamingStarted{true}));
    session->Open();
    session.reset();
    EXPECT_EQ(adapter->Count(adapter->frames), 0);
    EXPECT_LE(adapter->Count(adapter->starts), 2) << "an open ran after the window closed";
}

TEST(AdapterThreadTest, AnExceptionWhileReadingEndsReceivingAndSaysWhetherMemoryRanOut) {
    struct Case {
        std::function<void()> raise;
        AdapterThread::End expected;
    };
    const Case cases[] = {
        {[] { throw std::bad_alloc(); }, AdapterThread::End::OutOfMemory},
        {[] { throw std::runtime_error("any other"); }, AdapterThread::End::ReadFailed},
        {[] {}, AdapterThread::End::ReadFailed},  // a plain failed read
    };
    for (const Case& c : cases) {
        std::promise<AdapterThread::End> ended;
        int reads = 0;
        AdapterThread thread;
        thread.Receive({[&] {
                            if (++reads < 3) {
                                return true;
                            }
                            c.raise();
                            return false;
                        },
                        [] {}, [&](AdapterThread::End end) { ended.set_value(end); }});
        auto future = ended.get_future();
        ASSERT_EQ(future.wait_for(std::chrono::seconds(5)), std::future_status::ready);
        EXPECT_EQ(future.get(), c.expected);
        EXPECT_EQ(reads, 3);
        EXPECT_FALSE(thread.Receiving());
    }
}

}  // namespace
