#pragma once
// A transport that records every report written and answers reads from a script, failing the
// transfer chosen by the test.

#include <algorithm>
#include <cstring>
#include <deque>
#include <mutex>
#include <vector>

#include "request/HidTransport.h"
#include "request/ReportFormat.h"

class ScriptedTransport final : public HidTransport {
  public:
    std::vector<Report> written;
    std::deque<Report> answers;
    int readsMade = 0;
    int failWriteAt = -1;  // 0-based index of the write that returns false
    int failReadAt = -1;   // 0-based index of the read that returns false
    std::uint32_t lastControlCode = 0;
    void* lastControlData = nullptr;
    std::uint32_t lastControlSize = 0;

    bool Control(std::uint32_t code, void* data, std::uint32_t size) override {
        lastControlCode = code;
        lastControlData = data;
        lastControlSize = size;
        return code == 7;
    }
    bool Open(std::uint16_t, std::uint16_t) override { return true; }
    bool SetTimeout(std::uint32_t) override { return true; }
    bool WriteReport(const std::uint8_t* report, std::uint32_t length) override {
        if (length != kReportSize) {
            return false;
        }
        Report copy;
        std::memcpy(copy.data(), report, kReportSize);
        written.push_back(copy);
        return static_cast<int>(written.size()) - 1 != failWriteAt;
    }
    bool ReadReport(std::uint8_t* report, std::uint32_t length) override {
        if (length != kReportSize || readsMade++ == failReadAt || answers.empty()) {
            return false;
        }
        std::memcpy(report, answers.front().data(), kReportSize);
        answers.pop_front();
        return true;
    }

    // Queues what an adapter answers to a frame read of the given length: data reports of at
    // most 60 bytes counting up from firstByte, then a status report.
    void AnswerTransfer(std::uint32_t length, std::uint8_t statusCommand,
                        std::uint8_t firstByte = 0) {
        std::uint8_t next = firstByte;
        for (std::uint32_t done = 0; done < length; done += kMaxPayloadLength) {
            Report data{};
            data[1] = kKindDataIn;
            data[3] = static_cast<std::uint8_t>(std::min<std::uint32_t>(60, length - done));
            for (int i = 0; i < data[3]; ++i) {
                data[4 + i] = next++;
            }
            answers.push_back(data);
        }
        AnswerStatus(statusCommand, 0);
    }
    void AnswerStatus(std::uint8_t statusCommand, std::uint16_t word, std::uint8_t byte3 = 0) {
        Report status{};
        status[1] = kKindStatus;
        status[2] = statusCommand;
        status[3] = byte3;
        status[5] = static_cast<std::uint8_t>(word >> 8);
        status[6] = static_cast<std::uint8_t>(word);
        answers.push_back(status);
    }
    int ResyncReportsWritten() const {
        int count = 0;
        for (const Report& report : written) {
            count += report[1] == kKindResync ? 1 : 0;
        }
        return count;
    }
};
