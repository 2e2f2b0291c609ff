#pragma once
// Runs one request against the adapter: builds the report plan, moves its reports through the
// transport under the exchange lock, checks the final status report, copies the answers into
// the caller's buffers and resynchronises the adapter after a failed transfer.

#include <atomic>
#include <cstdint>

#include "request/HidTransport.h"
#include "request/Request.h"
#include "request/ReportPlan.h"
#include "request/RequestDescription.h"

class ExchangeEngine {
  public:
    constexpr ExchangeEngine() = default;

    void SetTransport(HidTransport* transport) { transport_ = transport; }
    // The counters of the last exchange; safe to read while another thread runs one.
    ExchangeStatistics Statistics() const;
    bool Execute(const RequestDescription& request);

  private:
    // One direction's counters. Atomics so that a reader on another thread sees whole values.
    struct DirectionCounters {
        std::atomic<std::uint32_t> bytes{0};
        std::atomic<std::uint32_t> reports{0};
        void Store(std::uint32_t byteCount, std::uint32_t reportCount);
    };

    bool TransferAll(ReportPlan& plan);
    void StoreCounters(const ExchangeStatistics& counters);
    void Resynchronise();
    void ParseAnswers(const ReportPlan& plan, const RequestDescription& request) const;

    DirectionCounters sent_;
    DirectionCounters received_;
    HidTransport* transport_ = nullptr;
};
