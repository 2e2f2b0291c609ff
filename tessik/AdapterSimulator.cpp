#include "tessik/AdapterSimulator.h"

#include "request/ChipRequests.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <thread>

namespace {

constexpr std::uint32_t kDefaultTimeoutMillis = 1000;

std::uint32_t GetU32(const Report& report, std::size_t at) {
    return (std::uint32_t{report[at]} << 24) | (std::uint32_t{report[at + 1]} << 16) |
           (std::uint32_t{report[at + 2]} << 8) | report[at + 3];
}

// Faults that leave the request without any answer.
bool GivesNoAnswer(SimulatorFault fault) {
    return fault == SimulatorFault::Disconnect || fault == SimulatorFault::Silent ||
           fault == SimulatorFault::Mute;
}

bool AllZeroFrom(const Report& report, std::size_t from) {
    return std::all_of(report.begin() + static_cast<std::ptrdiff_t>(from), report.end(),
                       [](std::uint8_t byte) { return byte == 0; });
}

}  // namespace

Report& AdapterSimulator::AnswerQueue::Push() {
    Report& slot = reports_[(first_ + count_) % kCapacity];
    ++count_;
    slot.fill(0);
    return slot;
}

void AdapterSimulator::AnswerQueue::Pop(std::uint8_t* out) {
    std::memcpy(out, reports_[first_].data(), kReportSize);
    first_ = (first_ + 1) % kCapacity;
    --count_;
}

AdapterSimulator::AdapterSimulator(const SimulatorConfig& config)
    : config_(config),
      chip_(config.channels, config.layoutLength, config.seed, config.touches),
      reportMicros_(config.reportDelayMicros) {
    statistics_.timeoutMillis = kDefaultTimeoutMillis;
}

void AdapterSimulator::Configure(const SimulatorConfig& config) {
    std::lock_guard lock(mutex_);
    config_ = config;
    chip_ = SimulatedChip(config.channels, config.layoutLength, config.seed, config.touches,
                          config.jitter);
    answers_.Clear();
    statistics_ = SimulatorStatistics{};
    statistics_.timeoutMillis = kDefaultTimeoutMillis;
    reportMicros_.store(config.reportDelayMicros);
    targetedRequests_ = 0;
    refusedOpens_ = 0;
    open_ = false;
    disconnected_ = false;
    layoutRead_ = false;
    failNextRead_ = false;
    answerIsLate_ = false;
    muted_ = false;
}

bool AdapterSimulator::Disconnected() const {
    std::lock_guard lock(mutex_);
    return disconnected_;
}

SimulatorStatistics AdapterSimulator::Statistics() const {
    std::lock_guard lock(mutex_);
    return statistics_;
}

bool AdapterSimulator::Control(std::uint32_t code, void* data, std::uint32_t size) {
    if (code != kSimulatorQueryStatistics || data == nullptr ||
        size != sizeof(SimulatorStatistics)) {
        return false;
    }
    const SimulatorStatistics statistics = Statistics();
    std::memcpy(data, &statistics, sizeof statistics);
    return true;
}

bool AdapterSimulator::Open(std::uint16_t vendorId, std::uint16_t productId) {
    std::lock_guard lock(mutex_);
    ++statistics_.opens;
    statistics_.lastVendorId = vendorId;
    statistics_.lastProductId = productId;
    if (disconnected_ && config_.faultLength != 0 && ++refusedOpens_ > config_.faultLength) {
        // Plugged back in: the adapter starts its fault count over.
        disconnected_ = false;
        targetedRequests_ = 0;
    }
    if (disconnected_ || vendorId != kAdapterVendorId || productId != kAdapterProductId) {
        return false;
    }
    answers_.Clear();
    open_ = true;
    layoutRead_ = false;
    muted_ = false;
    return true;
}

bool AdapterSimulator::SetTimeout(std::uint32_t milliseconds) {
    std::lock_guard lock(mutex_);
    if (!Usable()) {
        return false;
    }
    statistics_.timeoutMillis = milliseconds;
    return true;
}

void AdapterSimulator::TakeReportTime() const {
    const std::int64_t micros = reportMicros_.load(std::memory_order_relaxed);
    if (micros > 0) {
        std::this_thread::sleep_for(std::chrono::microseconds(micros));
    }
}

bool AdapterSimulator::WriteReport(const std::uint8_t* report, std::uint32_t length) {
    TakeReportTime();
    std::lock_guard lock(mutex_);
    if (!Usable() || report == nullptr || length != kReportSize) {
        return false;
    }
    Report received;
    std::memcpy(received.data(), report, kReportSize);
    // A new request or a resynchronisation drops whatever the previous one left unread.
    answers_.Clear();
    failNextRead_ = false;
    answerIsLate_ = false;
    if (received[0] == 0 && received[report_byte::kKind] == kKindResync &&
        AllZeroFrom(received, 2)) {
        ++statistics_.resyncs;
        if (!muted_) {
            answers_.Push()[report_byte::kKind] = kKindResync;
        }
    } else if (received[0] == 0 && received[report_byte::kKind] == kKindCommandHeader) {
        muted_ = false;  // the next request finds the adapter answering, unless aimed at
        HandleHeader(received);
    } else {
        ++statistics_.protocolErrors;
    }
    return true;
}

void AdapterSimulator::HandleHeader(const Report& header) {
    const bool knownCommand = header[report_byte::kCommand] == kDebugCommand &&
                              header[report_byte::kSecondParameter] == 0 &&
                              header[report_byte::kFirstParameter] == 0;
    const std::uint8_t subcommand = header[report_byte::kSubcommand];
    if (knownCommand && (subcommand == kStartStreaming || subcommand == kStopStreaming)) {
        HandleStreaming(header);
    } else if (knownCommand && subcommand == kReadFrame) {
        HandleFrameRead(header);
    } else {
        ++statistics_.protocolErrors;
    }
}

void AdapterSimulator::HandleStreaming(const Report& header) {
    // A command without transfer, with an empty command part.
    if (GetU32(header, report_byte::kAddress) != 0 || GetU32(header, report_byte::kLength) != 0 ||
        header[report_byte::kInlineFlag] != 1 || !AllZeroFrom(header, report_byte::kInlineLength)) {
        ++statistics_.protocolErrors;
        return;
    }
    const bool start = header[report_byte::kSubcommand] == kStartStreaming;
    const SimulatorFault fault = FaultFor(start ? FaultTarget::Start : FaultTarget::Stop);
    if (GivesNoAnswer(fault)) {
        Spoil(fault);
        return;
    }
    statistics_.streaming = start ? 1 : 0;
    QueueStatus();
    Spoil(fault);
}

void AdapterSimulator::HandleFrameRead(const Report& header) {
    // A transfer from the frame without command part, inside the 200-byte frame.
    const std::uint32_t address = GetU32(header, report_byte::kAddress);
    const std::uint32_t length = GetU32(header, report_byte::kLength);
    if (length == 0 || address >= kChipFrameSize || length > kChipFrameSize - address ||
        !AllZeroFrom(header, report_byte::kInlineFlag)) {
        ++statistics_.protocolErrors;
        return;
    }
    const SimulatorFault fault = FaultFor(FaultTarget::Frame);
    layoutRead_ = true;
    if (GivesNoAnswer(fault)) {
        Spoil(fault);
        return;
    }
    const ChipFrame frame = chip_.NextFrame();
    for (std::uint32_t done = 0; done < length; done += kMaxPayloadLength) {
        const auto piece = std::min<std::uint32_t>(kMaxPayloadLength, length - done);
        Report& data = answers_.Push();
        data[report_byte::kKind] = kKindDataIn;
        data[report_byte::kPayloadLength] = static_cast<std::uint8_t>(piece);
        std::memcpy(&data[report_byte::kPayload], &frame[address + done], piece);
    }
    QueueStatus();
    if (Spoil(fault) && fault != SimulatorFault::ReadFails && fault != SimulatorFault::LateAnswer) {
        ++statistics_.framesServed;
    }
}

void AdapterSimulator::QueueStatus() {
    Report& status = answers_.Push();
    status[report_byte::kKind] = kKindStatus;
    status[report_byte::kCommand] = kDebugCommand & kStatusCommandMask;  // status word 0: done
}

bool AdapterSimulator::Targeted(FaultTarget request) const {
    switch (config_.faultTarget) {
        case FaultTarget::Any:
            return true;
        case FaultTarget::Layout:
            return request == FaultTarget::Frame && !layoutRead_;
        default:
            return request == config_.faultTarget;
    }
}

SimulatorFault AdapterSimulator::FaultFor(FaultTarget request) {
    if (config_.fault == SimulatorFault::None || !Targeted(request)) {
        return SimulatorFault::None;
    }
    const std::uint32_t index = targetedRequests_;
    if (targetedRequests_ != std::numeric_limits<std::uint32_t>::max()) {
        ++targetedRequests_;
    }
    if (index < config_.faultAfterFrames) {
        return SimulatorFault::None;
    }
    // A disconnect's length counts refused Open calls instead, see Open.
    if (config_.faultLength != 0 && config_.fault != SimulatorFault::Disconnect &&
        index - config_.faultAfterFrames >= config_.faultLength) {
        return SimulatorFault::None;
    }
    ++statistics_.faultsInjected;
    return config_.fault;
}

void AdapterSimulator::Unplug() {
    disconnected_ = true;
    open_ = false;
    refusedOpens_ = 0;
    answers_.Clear();
}

bool AdapterSimulator::Spoil(SimulatorFault fault) {
    const std::size_t count = answers_.Size();
    switch (fault) {
        case SimulatorFault::None:
            break;
        case SimulatorFault::Disconnect:
            Unplug();
            return false;
        case SimulatorFault::Silent:
            answers_.Clear();
            return false;
        case SimulatorFault::Mute:
            answers_.Clear();
            muted_ = true;
            return false;
        case SimulatorFault::ReadFails:
            failNextRead_ = true;
            break;
        case SimulatorFault::LateAnswer:
            answerIsLate_ = true;
            break;
        case SimulatorFault::WrongStatus:
            // The command byte passes through without its bit 4 cleared.
            answers_[count - 1][report_byte::kCommand] = kDebugCommand;
            break;
        case SimulatorFault::StatusWord:
            answers_[count - 1][report_byte::kStatusWord] = kFaultStatusWord >> 8;
            answers_[count - 1][report_byte::kStatusWord + 1] = kFaultStatusWord & 0xFF;
            break;
        case SimulatorFault::WrongKind:
            for (std::size_t i = 0; i < count; ++i) {
                answers_[i][report_byte::kKind] = kFaultReportKind;
            }
            break;
        case SimulatorFault::ShortData:
            // Each data report keeps the first half of its bytes.
            for (std::size_t i = 0; i + 1 < count; ++i) {
                Report& data = answers_[i];
                const std::size_t kept = (data[report_byte::kPayloadLength] + 1u) / 2;
                std::fill(data.begin() + static_cast<std::ptrdiff_t>(report_byte::kPayload + kept),
                          data.end(), std::uint8_t{0});
                data[report_byte::kPayloadLength] = static_cast<std::uint8_t>(kept);
            }
            break;
    }
    return true;
}

bool AdapterSimulator::ReadReport(std::uint8_t* report, std::uint32_t length) {
    TakeReportTime();
    std::uint32_t waitMillis;
    {
        std::lock_guard lock(mutex_);
        if (!Usable() || report == nullptr || length != kReportSize) {
            return false;
        }
        if (failNextRead_) {
            failNextRead_ = false;
            answers_.Clear();
            return false;
        }
        if (!answers_.Empty() && !answerIsLate_) {
            answers_.Pop(report);
            return true;
        }
        // A late answer arrives right after this read has given up.
        answerIsLate_ = false;
        waitMillis = statistics_.timeoutMillis;
    }
    // Nothing to send in time: the read gives up after the time limit, as the HID read would.
    std::this_thread::sleep_for(std::chrono::milliseconds(waitMillis));
    return false;
}
