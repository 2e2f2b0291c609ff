#pragma once
// The ordered list of reports that one request exchanges with the adapter. Receive entries
// start zeroed and are overwritten by the transport, so after the exchange the plan holds the
// adapter's answers in order.

#include <cstdint>
#include <vector>

#include "request/ReportFormat.h"
#include "request/RequestDescription.h"

enum class PlanDirection : std::uint8_t { Send, Receive };

struct PlanEntry {
    PlanDirection direction;
    Report report;
    // For a receive entry, the kind the adapter's answer must have: data in or status.
    std::uint8_t answerKind = 0;
    // For a data-in entry, the bytes of the block that its answer must carry.
    std::uint8_t answerLength = 0;
};

using ReportPlan = std::vector<PlanEntry>;

// Longest transfer one request may describe. The plan holds every report of the request at
// once, so an unbounded length would let one request exhaust memory; 16 MiB already takes
// minutes over a full-speed HID adapter.
inline constexpr std::uint32_t kMaxTransferLength = 16u << 20;

// Whether the request can be planned without touching memory it does not own: a transfer or
// inline data needs a buffer, and a transfer must not exceed kMaxTransferLength.
bool IsPlannable(const RequestDescription& request);

// Builds the plan: per 256-byte block a header, the block's data reports in pieces of 60 bytes
// and a status report; without a transfer part one header and one status report. A transfer of
// length 0 gives an empty plan. Throws std::bad_alloc when memory runs out.
ReportPlan BuildReportPlan(const RequestDescription& request);
