// The hardware transport, against a scripted device behind the system-call seam and against
// the real system where no adapter is plugged in (as under Wine).

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "request/ReportFormat.h"
#include "tessik/HidDeviceTransport.h"
#include "tessik/HidSystem.h"

namespace {

// HID devices as the system would show them. Each open device has an input queue that reads
// take from; a read on an empty queue times out. Reports listed in lateAnswers arrive after a
// read has timed out, and after the flush that follows it, as a slow adapter's answer would.
class ScriptedHidSystem final : public HidSystem {
  public:
    struct Device {
        std::wstring path;
        HidIdentity identity{kAdapterVendorId, kAdapterProductId};
        HidReportLengths lengths{kReportSize, kReportSize};
        bool opens = true;
    };
    std::vector<Device> devices;
    std::deque<Report> input;
    std::deque<Report> lateAnswers;
    std::vector<Report> written;
    std::vector<HANDLE> opened;
    std::vector<HANDLE> closed;
    int flushes = 0;
    DWORD failReadsWith = 0;  // a read fails with this error while it is not 0
    DWORD failWritesWith = 0;
    DWORD shortRead = 0;  // bytes of a short read, when not 0

    std::vector<std::wstring> DevicePaths() override {
        std::vector<std::wstring> paths;
        for (const Device& device : devices) {
            paths.push_back(device.path);
        }
        return paths;
    }
    HANDLE Open(const std::wstring& path) override {
        for (std::size_t i = 0; i < devices.size(); ++i) {
            if (devices[i].path == path && devices[i].opens) {
                opened.push_back(HandleOf(i));
                return opened.back();
            }
        }
        return INVALID_HANDLE_VALUE;
    }
    bool Identify(HANDLE device, HidIdentity& identity) override {
        identity = DeviceOf(device).identity;
        return true;
    }
    bool ReportLengths(HANDLE device, HidReportLengths& lengths) override {
        lengths = DeviceOf(device).lengths;
        return true;
    }
    bool FlushInput(HANDLE) override {
        ++flushes;
        input.clear();
        if (timedOut_) {
            timedOut_ = false;
            input.insert(input.end(), lateAnswers.begin(), lateAnswers.end());
            lateAnswers.clear();
        }
        return true;
    }
    HidTransferResult Write(HANDLE, const BYTE* report, DWORD length, DWORD) override {
        if (failWritesWith != 0) {
            return {HidTransferOutcome::Failed, 0, failWritesWith};
        }
        Report copy{};
        std::copy(report, report + length, copy.begin());
        written.push_back(copy);
        return {HidTransferOutcome::Done, length, 0};
    }
    HidTransferResult Read(HANDLE, BYTE* report, DWORD length, DWORD) override {
        if (failReadsWith != 0) {
            return {HidTransferOutcome::Failed, 0, failReadsWith};
        }
        if (input.empty()) {
            timedOut_ = true;
            return {HidTransferOutcome::TimedOut, 0, 0};
        }
        std::copy(input.front().begin(), input.front().end(), report);
        input.pop_front();
        return {HidTransferOutcome::Done, shortRead != 0 ? shortRead : length, 0};
    }
    void Close(HANDLE device) override { closed.push_back(device); }

  private:
    bool timedOut_ = false;

    static HANDLE HandleOf(std::size_t index) { return reinterpret_cast<HANDLE>(index + 100); }
    const Device& DeviceOf(HANDLE handle) const {
        return devices.at(reinterpret_cast<std::size_t>(handle) - 100);
    }
};

Report Answer(std::uint8_t kind, std::uint8_t marker) {
    Report report{};
    report[report_byte::kKind] = kind;
    report[report_byte::kPayload] = marker;
    return report;
}

Report Header() {
    Report header{};
    header[report_byte::kKind] = kKindCommandHeader;
    header[report_byte::kCommand] = 0xF4;
    return header;
}

class HidTransportTest : public ::testing::Test {
  protected:
    void SetUp() override { system.devices = {{L"adapter"}}; }
    bool Open() { return transport.Open(kAdapterVendorId, kAdapterProductId); }
    bool Write(const Report& report) { return transport.WriteReport(report.data(), kReportSize); }
    bool Read(Report& report) { return transport.ReadReport(report.data(), kReportSize); }

    ScriptedHidSystem system;
    HidDeviceTransport transport{system};
};

TEST_F(HidTransportTest, OpensTheFirstFittingInterfaceOfTheAdapterAndClosesTheOthers) {
    system.devices = {{L"locked"},
                      {L"mouse", {0x046D, 0xC077}},
                      {L"adapter-keyboard", {}, {9, 1}},
                      {L"adapter-wide", {}, {65, 65}},
                      {L"adapter-short-output", {}, {64, 32}},
                      {L"adapter"},
                      {L"second-adapter"}};
    system.devices[0].opens = false;
    system.input.push_back(Answer(kKindStatus, 1));  // left from an earlier session
    ASSERT_TRUE(Open());
    const std::vector<HANDLE> refused(system.opened.begin(), system.opened.end() - 1);
    EXPECT_EQ(system.closed, refused) << "every interface that did not fit is closed again";
    EXPECT_EQ(system.opened.size(), 5u);
    EXPECT_TRUE(system.input.empty()) << "the input queue is emptied at Open";
    EXPECT_TRUE(transport.SetTimeout(2000));

    // Opening again closes the adapter first and looks anew.
    ASSERT_TRUE(Open());
    EXPECT_EQ(system.closed.at(refused.size()), system.opened[4]);
}

TEST_F(HidTransportTest, RefusesAnAdapterWhoseReportsAreNot64BytesLong) {
    for (const HidReportLengths lengths :
         {HidReportLengths{64, 65}, HidReportLengths{65, 64}, HidReportLengths{63, 64},
          HidReportLengths{64, 8}, HidReportLengths{0, 0}}) {
        system.devices = {{L"adapter", {}, lengths}};
        EXPECT_FALSE(Open()) << lengths.input << " / " << lengths.output;
        EXPECT_FALSE(transport.IsOpen());
    }
    EXPECT_EQ(system.closed, system.opened);
}

TEST_F(HidTransportTest, MovesWhole64ByteReportsWithReportIdZero) {
    ASSERT_TRUE(Open());
    Report header = Header();
    header[63] = 0x5A;
    ASSERT_TRUE(Write(header));
    ASSERT_EQ(system.written.size(), 1u);
    EXPECT_EQ(system.written[0], header);
    EXPECT_FALSE(transport.WriteReport(header.data(), 63)) << "no report is cut";
    header[0] = 2;
    EXPECT_FALSE(Write(header)) << "another report id";
    EXPECT_EQ(system.written.size(), 1u);

    system.input = {Answer(kKindStatus, 7)};
    Report answer{};
    ASSERT_TRUE(Read(answer));
    EXPECT_EQ(answer, Answer(kKindStatus, 7));
}

TEST_F(HidTransportTest, ReadsOfAnotherReportIdOrLengthFailWithoutTouchingTheBuffer) {
    ASSERT_TRUE(Open());
    Report foreign = Answer(kKindStatus, 1);
    foreign[0] = 3;
    system.input = {foreign, Answer(kKindStatus, 2)};
    Report answer{};
    answer.fill(0xEE);
    EXPECT_FALSE(Read(answer));
    EXPECT_EQ(answer[0], 0xEE);
    EXPECT_TRUE(Read(answer)) << "the next report is read as usual";
    EXPECT_EQ(answer[report_byte::kPayload], 2);

    system.input = {Answer(kKindStatus, 3)};
    system.shortRead = 10;
    EXPECT_FALSE(Read(answer));
    EXPECT_TRUE(transport.IsOpen());
}

TEST_F(HidTransportTest, ALateAnswerIsNeverReadAsTheNextOne) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(Write(Header()));
    system.lateAnswers = {Answer(kKindDataIn, 1), Answer(kKindStatus, 1)};
    Report answer{};
    EXPECT_FALSE(Read(answer)) << "nothing within the time limit";
    const int flushesAfterTimeout = system.flushes;

    // The late reports arrive after the timeout; the next request starts with an empty queue.
    ASSERT_FALSE(system.input.empty()) << "the timeout was followed by a flush";
    Report resync{};
    resync[report_byte::kKind] = kKindResync;
    ASSERT_TRUE(Write(resync));
    EXPECT_GT(system.flushes, flushesAfterTimeout);
    system.input.push_back(Answer(kKindResync, 2));
    ASSERT_TRUE(Read(answer));
    EXPECT_EQ(answer, Answer(kKindResync, 2));

    // Data reports within a request leave the queue alone.
    const int flushes = system.flushes;
    Report data{};
    data[report_byte::kKind] = kKindDataOut;
    ASSERT_TRUE(Write(data));
    EXPECT_EQ(system.flushes, flushes);
}

TEST_F(HidTransportTest, ErrorsThatSayTheDeviceIsGoneCloseIt) {
    for (const DWORD error : {ERROR_DEVICE_NOT_CONNECTED, ERROR_DEVICE_REMOVED, ERROR_GEN_FAILURE,
                              ERROR_BAD_COMMAND, ERROR_INVALID_HANDLE}) {
        for (const bool reading : {true, false}) {
            SCOPED_TRACE(testing::Message() << error << (reading ? " reading" : " writing"));
            system.failReadsWith = system.failWritesWith = 0;
            ASSERT_TRUE(Open());
            const std::size_t closed = system.closed.size();
            (reading ? system.failReadsWith : system.failWritesWith) = error;
            Report report = Header();
            EXPECT_FALSE(reading ? Read(report) : Write(report));
            EXPECT_FALSE(transport.IsOpen());
            EXPECT_EQ(system.closed.size(), closed + 1);
            system.failReadsWith = system.failWritesWith = 0;
            EXPECT_FALSE(Write(Header())) << "closed until the next Open";
            EXPECT_FALSE(transport.SetTimeout(2000));
        }
    }
}

TEST_F(HidTransportTest, OtherErrorsKeepTheDeviceOpen) {
    ASSERT_TRUE(Open());
    for (const DWORD error : {ERROR_OPERATION_ABORTED, ERROR_CRC, ERROR_SEM_TIMEOUT}) {
        system.failReadsWith = error;
        Report report{};
        EXPECT_FALSE(Read(report)) << error;
        EXPECT_TRUE(transport.IsOpen()) << error;
    }
    EXPECT_TRUE(system.closed.empty());
}

TEST(HidDeviceTransportTest, WithoutAnAdapterEveryOperationFails) {
    HidDeviceTransport transport;
    EXPECT_FALSE(transport.Open(kAdapterVendorId, kAdapterProductId));
    EXPECT_FALSE(transport.Open(kAdapterVendorId, kAdapterProductId));  // looks again
    EXPECT_FALSE(transport.SetTimeout(2000));
    Report report{};
    report[1] = kKindResync;
    EXPECT_FALSE(transport.WriteReport(report.data(), kReportSize));
    EXPECT_FALSE(transport.ReadReport(report.data(), kReportSize));
    EXPECT_FALSE(transport.Control(1, report.data(), kReportSize));
}

}  // namespace
