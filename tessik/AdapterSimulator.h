#pragma once
// A simulated debugging adapter with a virtual touch chip behind it, speaking the adapter's
// report protocol. It accepts exactly the requests that Palvex sends: start and stop streaming
// (answered with a status report) and reads of the 200-byte measurement frame (answered with
// data reports of at most 60 bytes and a status report), plus resynchronisation. Any other
// report is counted as a protocol error and gets no answer, so the reader runs into its time
// limit as it would with a confused real adapter. The configured fault spoils the answers to
// the requests it is aimed at (SimulatorConfig).
//
// Answers wait in an input queue as in a HID driver. The simulated transport empties it
// whenever a new report is written: the adapter never speaks unasked, so whatever is still
// queued then is a late answer to an earlier request and must not be read as the next one.
//
// Portable: the native tests use it as a fake adapter, the simulator Tessik.dll wraps it.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>

#include "request/HidTransport.h"
#include "request/ReportFormat.h"
#include "tessik/SimulatedChip.h"
#include "tessik/SimulatorConfig.h"

// What the simulator saw, for tests. Control(kSimulatorQueryStatistics, &statistics,
// sizeof statistics) fills it in across the DLL boundary.
struct SimulatorStatistics {
    std::uint32_t opens = 0;  // Open calls, successful or not
    std::uint16_t lastVendorId = 0;
    std::uint16_t lastProductId = 0;
    std::uint32_t timeoutMillis = 0;  // the last SetTimeout
    std::uint32_t framesServed = 0;   // frame reads answered with data
    std::uint32_t protocolErrors = 0;
    std::uint32_t resyncs = 0;
    std::uint32_t streaming = 0;       // 1 between start and stop
    std::uint32_t faultsInjected = 0;  // requests that got the configured fault
};

inline constexpr std::uint32_t kSimulatorQueryStatistics = 1;

class AdapterSimulator final : public HidTransport {
  public:
    explicit AdapterSimulator(const SimulatorConfig& config = {});

    // Starts over with a new configuration: a fresh chip, the adapter closed and plugged in.
    void Configure(const SimulatorConfig& config);
    bool Disconnected() const;
    SimulatorStatistics Statistics() const;

    bool Control(std::uint32_t code, void* data, std::uint32_t size) override;
    bool Open(std::uint16_t vendorId, std::uint16_t productId) override;
    bool SetTimeout(std::uint32_t milliseconds) override;
    bool WriteReport(const std::uint8_t* report, std::uint32_t length) override;
    bool ReadReport(std::uint8_t* report, std::uint32_t length) override;

  private:
    // Answers waiting to be read; a frame read queues at most four data reports and a status.
    class AnswerQueue {
      public:
        void Clear() { count_ = 0; }
        bool Empty() const { return count_ == 0; }
        std::size_t Size() const { return count_; }
        Report& operator[](std::size_t index) { return reports_[(first_ + index) % kCapacity]; }
        Report& Push();
        void Pop(std::uint8_t* out);

      private:
        static constexpr std::size_t kCapacity = 8;
        Report reports_[kCapacity];
        std::size_t first_ = 0;
        std::size_t count_ = 0;
    };

    void TakeReportTime() const;
    bool Usable() const { return open_ && !disconnected_; }
    void HandleHeader(const Report& header);
    void HandleStreaming(const Report& header);
    void HandleFrameRead(const Report& header);
    void QueueStatus();
    // Counts a request of this kind and returns the fault its answer gets, None for most.
    SimulatorFault FaultFor(FaultTarget request);
    bool Targeted(FaultTarget request) const;
    // Applies the fault to the answer just queued; false when there is no answer at all.
    bool Spoil(SimulatorFault fault);
    void Unplug();

    mutable std::mutex mutex_;
    SimulatorConfig config_;
    SimulatedChip chip_;
    AnswerQueue answers_;
    SimulatorStatistics statistics_;
    std::atomic<std::int64_t> reportMicros_;  // read outside the lock before every report
    std::uint32_t targetedRequests_ = 0;      // requests the fault is aimed at, since it counts
    std::uint32_t refusedOpens_ = 0;          // while unplugged
    bool open_ = false;
    bool disconnected_ = false;
    bool layoutRead_ = false;    // the first frame read since Open has come
    bool failNextRead_ = false;  // read-fails: the next read fails and drops the answer
    bool answerIsLate_ = false;  // late-answer: the next read gives up before it arrives
    bool muted_ = false;         // mute: resynchronisation gets no answer until a new request
};
