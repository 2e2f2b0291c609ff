#include "request/ExchangeEngine.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "request/ExchangeLock.h"

namespace {

constexpr int kResyncRounds = 3;

void CopyStatusAnswer(const Report& status, const CommandPart& command) {
    if (status[report_byte::kInlineFlag] == 1 && command.data != nullptr) {
        const std::size_t length =
            std::min<std::size_t>(status[report_byte::kInlineLength], kMaxInlineLength);
        std::memcpy(command.data, &status[report_byte::kInlineData], length);
    }
    if (command.statusTarget != nullptr) {
        *command.statusTarget = GetU16(status, report_byte::kStatusWord);
    }
}

// An answer of another kind than the plan expects carries nothing that may be parsed: taken
// as success, a frame read would hand the caller a zeroed frame as if the chip had sent it.
bool AnswersHaveTheirKinds(const ReportPlan& plan) {
    return std::all_of(plan.begin(), plan.end(), [](const PlanEntry& entry) {
        return entry.direction != PlanDirection::Receive ||
               entry.report[report_byte::kKind] == entry.answerKind;
    });
}

// A data report with fewer bytes than its piece of the block leaves a gap that the running
// offset would close with the next report's bytes: the frame would show values the chip never
// sent at those places. Such an answer fails as a whole.
bool AnswersAreWhole(const ReportPlan& plan) {
    return std::all_of(plan.begin(), plan.end(), [](const PlanEntry& entry) {
        return entry.answerKind != kKindDataIn ||
               entry.report[report_byte::kPayloadLength] >= entry.answerLength;
    });
}

}  // namespace

void ExchangeEngine::DirectionCounters::Store(std::uint32_t byteCount, std::uint32_t reportCount) {
    bytes.store(byteCount, std::memory_order_relaxed);
    reports.store(reportCount, std::memory_order_relaxed);
}

void ExchangeEngine::StoreCounters(const ExchangeStatistics& counters) {
    sent_.Store(counters.bytesSent, counters.reportsSent);
    received_.Store(counters.bytesReceived, counters.reportsReceived);
}

ExchangeStatistics ExchangeEngine::Statistics() const {
    ExchangeStatistics statistics;
    statistics.bytesSent = sent_.bytes.load(std::memory_order_relaxed);
    statistics.reportsSent = sent_.reports.load(std::memory_order_relaxed);
    statistics.bytesReceived = received_.bytes.load(std::memory_order_relaxed);
    statistics.reportsReceived = received_.reports.load(std::memory_order_relaxed);
    return statistics;
}

bool ExchangeEngine::Execute(const RequestDescription& request) {
    if (transport_ == nullptr || !IsPlannable(request)) {
        StoreCounters({});
        return false;
    }
    ReportPlan plan;
    try {
        plan = BuildReportPlan(request);
    } catch (const std::bad_alloc&) {
        return false;  // errors are results: nothing may throw across the library boundary
    }

    ExchangeLock lock;
    if (!lock.Held()) {
        return false;
    }
    // Reset under the lock, so that a waiting exchange does not zero the counters of the
    // running one.
    StoreCounters({});
    if (plan.empty() || !TransferAll(plan)) {
        Resynchronise();
        return false;
    }
    const std::uint8_t expected = plan.front().report[report_byte::kCommand] & kStatusCommandMask;
    if (plan.back().report[report_byte::kCommand] != expected || !AnswersHaveTheirKinds(plan) ||
        !AnswersAreWhole(plan)) {
        return false;
    }
    ParseAnswers(plan, request);
    return true;
}

bool ExchangeEngine::TransferAll(ReportPlan& plan) {
    // Counted locally and published once: the counters show every transfer attempted, the
    // failed one included.
    ExchangeStatistics counters;
    bool done = true;
    for (PlanEntry& entry : plan) {
        const std::uint8_t* report = entry.report.data();
        if (entry.direction == PlanDirection::Send) {
            done = transport_->WriteReport(report, kReportSize);
            counters.bytesSent += report[report_byte::kPayloadLength];
            ++counters.reportsSent;
        } else {
            done = transport_->ReadReport(entry.report.data(), kReportSize);
            counters.bytesReceived += report[report_byte::kPayloadLength];
            ++counters.reportsReceived;
        }
        if (!done) {
            break;
        }
    }
    StoreCounters(counters);
    return done;
}

void ExchangeEngine::Resynchronise() {
    Report resync{};
    resync[report_byte::kKind] = kKindResync;
    for (int round = 0; round < kResyncRounds; ++round) {
        if (!transport_->WriteReport(resync.data(), kReportSize)) {
            return;
        }
        Report answer{};
        if (transport_->ReadReport(answer.data(), kReportSize) &&
            answer[report_byte::kKind] == kKindResync) {
            return;
        }
    }
}

void ExchangeEngine::ParseAnswers(const ReportPlan& plan, const RequestDescription& request) const {
    const TransferPart& transfer = request.transferPart;
    // Data only lands in a buffer that the caller gave for reading; a transfer to the chip
    // keeps its source buffer as it was.
    const bool acceptsData = request.ReadsFromChip();
    std::uint32_t offset = 0;
    for (const PlanEntry& entry : plan) {
        if (entry.direction != PlanDirection::Receive) {
            continue;
        }
        const Report& report = entry.report;
        if (report[report_byte::kKind] == kKindStatus) {
            CopyStatusAnswer(report, request.commandPart);
        } else if (report[report_byte::kKind] == kKindDataIn && acceptsData) {
            const std::uint32_t length = std::min<std::uint32_t>(
                {report[report_byte::kPayloadLength], static_cast<std::uint32_t>(kMaxPayloadLength),
                 transfer.length - offset});
            std::memcpy(transfer.buffer + offset, &report[report_byte::kPayload], length);
            offset += length;
        }
    }
}
