#pragma once
// A transport for fuzz targets: every transfer consumes one control byte of the input (odd:
// the transfer fails) and every read 64 more bytes as the adapter's report. Optionally every
// answer carries the status command an exchange expects, so that most inputs get past the
// status check into the parsing. An exhausted input makes every transfer fail.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "request/HidTransport.h"

class ArbitraryAdapter final : public HidTransport {
  public:
    // statusCommand: the byte 2 of every answer, or -1 to leave the answers as they are.
    ArbitraryAdapter(const std::uint8_t* data, std::size_t size, int statusCommand)
        : data_(data), left_(size), statusCommand_(statusCommand) {}

    bool Control(std::uint32_t, void*, std::uint32_t) override { return false; }
    bool Open(std::uint16_t, std::uint16_t) override { return true; }
    bool SetTimeout(std::uint32_t) override { return true; }
    bool WriteReport(const std::uint8_t* report, std::uint32_t length) override {
        if (length != kReportSize || report == nullptr) {
            std::abort();  // the request module always writes whole reports
        }
        return Succeeds();
    }
    bool ReadReport(std::uint8_t* report, std::uint32_t length) override {
        if (length != kReportSize || !Succeeds()) {
            return false;
        }
        std::memset(report, 0, kReportSize);
        const std::size_t taken = left_ < kReportSize ? left_ : kReportSize;
        std::memcpy(report, data_, taken);
        Take(taken);
        if (statusCommand_ >= 0) {
            report[2] = static_cast<std::uint8_t>(statusCommand_);
        }
        return true;
    }

  private:
    bool Succeeds() {
        if (left_ == 0) {
            return false;  // the adapter fell silent
        }
        const bool fails = (*data_ & 1) != 0;
        Take(1);
        return !fails;
    }
    void Take(std::size_t count) {
        data_ += count;
        left_ -= count;
    }

    const std::uint8_t* data_;
    std::size_t left_;
    int statusCommand_;
};
