#pragma once
// The request that the next Execute runs, as the set operations describe it.

#include <cstdint>

// A command with inline data; the adapter answers with one status report.
struct CommandPart {
    bool present = false;
    std::uint8_t inlineLength = 0;  // at most kMaxInlineLength
    std::uint8_t* data = nullptr;   // inline data source and returned-data destination
    std::uint16_t* statusTarget = nullptr;
};

// A block transfer to the chip (direction 0) or from it (any other direction).
struct TransferPart {
    bool present = false;
    std::uint8_t direction = 0;
    std::uint32_t address = 0;
    std::uint32_t length = 0;
    std::uint8_t* buffer = nullptr;
};

struct RequestDescription {
    std::uint8_t command = 0;
    std::uint8_t subcommand = 0;
    std::uint8_t parameters[2] = {0, 0};  // header bytes 5 and 4; no request uses them yet
    CommandPart commandPart;
    TransferPart transferPart;

    bool ReadsFromChip() const { return transferPart.present && transferPart.direction != 0; }
};
