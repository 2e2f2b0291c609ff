#include "request/ReportPlan.h"

#include <algorithm>
#include <cstring>

namespace {

Report CommandHeader(const RequestDescription& request, std::uint32_t address,
                     std::uint32_t length) {
    Report header{};
    header[report_byte::kKind] = kKindCommandHeader;
    header[report_byte::kCommand] = request.command;
    header[report_byte::kSubcommand] = request.subcommand;
    header[report_byte::kSecondParameter] = request.parameters[1];
    header[report_byte::kFirstParameter] = request.parameters[0];
    PutU32(header, report_byte::kAddress, address);
    PutU32(header, report_byte::kLength, length);
    const CommandPart& command = request.commandPart;
    if (command.present) {
        header[report_byte::kInlineFlag] = 1;
        header[report_byte::kInlineLength] = command.inlineLength;
        if (command.inlineLength > 0) {
            std::memcpy(&header[report_byte::kInlineData], command.data, command.inlineLength);
        }
    }
    return header;
}

Report DataOut(const std::uint8_t* piece, std::uint32_t length) {
    Report report{};
    report[report_byte::kKind] = kKindDataOut;
    report[report_byte::kPayloadLength] = static_cast<std::uint8_t>(length);
    std::memcpy(&report[report_byte::kPayload], piece, length);
    return report;
}

std::size_t PlannedEntries(const RequestDescription& request) {
    if (!request.transferPart.present) {
        return 2;
    }
    const std::uint32_t length = request.transferPart.length;
    const std::size_t fullBlocks = length / kBlockSize;
    const std::uint32_t rest = length % kBlockSize;
    const auto pieces = [](std::uint32_t bytes) {
        return (bytes + kMaxPayloadLength - 1) / kMaxPayloadLength;
    };
    return fullBlocks * (2 + pieces(kBlockSize)) + (rest > 0 ? 2 + pieces(rest) : 0);
}

void AppendBlock(const RequestDescription& request, std::uint32_t offset, std::uint32_t length,
                 ReportPlan& plan) {
    const TransferPart& transfer = request.transferPart;
    plan.push_back(
        {PlanDirection::Send, CommandHeader(request, transfer.address + offset, length)});
    for (std::uint32_t done = 0; done < length; done += kMaxPayloadLength) {
        const auto piece = std::min<std::uint32_t>(kMaxPayloadLength, length - done);
        if (transfer.direction == 0) {
            plan.push_back({PlanDirection::Send, DataOut(transfer.buffer + offset + done, piece)});
        } else {
            plan.push_back(
                {PlanDirection::Receive, Report{}, kKindDataIn, static_cast<std::uint8_t>(piece)});
        }
    }
    plan.push_back({PlanDirection::Receive, Report{}, kKindStatus});
}

}  // namespace

bool IsPlannable(const RequestDescription& request) {
    const CommandPart& command = request.commandPart;
    if (command.present && command.inlineLength > 0 && command.data == nullptr) {
        return false;
    }
    const TransferPart& transfer = request.transferPart;
    if (transfer.present && transfer.length > 0) {
        return transfer.buffer != nullptr && transfer.length <= kMaxTransferLength;
    }
    return true;
}

ReportPlan BuildReportPlan(const RequestDescription& request) {
    ReportPlan plan;
    plan.reserve(PlannedEntries(request));
    if (!request.transferPart.present) {
        plan.push_back({PlanDirection::Send, CommandHeader(request, 0, 0)});
        plan.push_back({PlanDirection::Receive, Report{}, kKindStatus});
        return plan;
    }
    // 64-bit offsets: a length close to the 32-bit limit must not wrap the loop around.
    const std::uint64_t length = request.transferPart.length;
    for (std::uint64_t offset = 0; offset < length; offset += kBlockSize) {
        const auto blockLength =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(kBlockSize, length - offset));
        AppendBlock(request, static_cast<std::uint32_t>(offset), blockLength, plan);
    }
    return plan;
}
