// The hardware transport, against a scripted device behind the system-call seam and against
// the real system where no adapter is plugged in (as under Wine).

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "request/ReportFormat.h"
#include "tessik/AdapterSearch.h"
#include "tessik/HidDeviceTransport.h"
#include "tessik/HidSystem.h"

namespace {

// HID devices as the system would show them. Each open device has an input queue that reads
// take from; a read on an empty queue times out. Reports listed in lateAnswers arrive after a
// read has timed out, and after the flush that follows it, as a slow adapter's answer would.
// Like Windows, a device takes transfers of exactly its report length only; one with 65-byte
// reports carries the id 0 before the 64 protocol bytes, which alone are recorded and queued.
constexpr HidIdentity kAdapter{kAdapterVendorId, kAdapterProductId};
constexpr HidReportLengths kWholeReports{kReportSize, kReportSize};

class ScriptedHidSystem final : public HidSystem {
  public:
    struct Device {
        std::wstring path;
        HidIdentity identity = kAdapter;
        HidReportLengths lengths = kWholeReports;
        bool opens = true;   // for queries
        DWORD heldWith = 0;  // an exclusive open fails with this error while it is not 0
        std::wstring name = L"Touch adapter";
    };
    std::vector<Device> devices;
    std::deque<Report> input;
    std::deque<Report> lateAnswers;
    std::vector<Report> written;
    std::vector<HANDLE> opened;  // exclusively
    std::vector<HANDLE> closed;  // exclusive handles closed
    int queries = 0;
    int openQueries = 0;  // query handles not yet closed
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
    HidOpened Open(const std::wstring& path, HidAccess access) override {
        for (std::size_t i = 0; i < devices.size(); ++i) {
            if (devices[i].path != path || !devices[i].opens) {
                continue;
            }
            if (access == HidAccess::Query) {
                ++queries;
                ++openQueries;
                return {QueryHandleOf(i), 0};
            }
            if (devices[i].heldWith != 0) {
                return {INVALID_HANDLE_VALUE, devices[i].heldWith};
            }
            opened.push_back(HandleOf(i));
            return {opened.back(), 0};
        }
        return {INVALID_HANDLE_VALUE, ERROR_FILE_NOT_FOUND};
    }
    bool Identify(HANDLE device, HidIdentity& identity) override {
        identity = DeviceOf(device).identity;
        return true;
    }
    bool ReportLengths(HANDLE device, HidReportLengths& lengths) override {
        lengths = DeviceOf(device).lengths;
        return true;
    }
    bool ProductName(HANDLE device, std::wstring& name) override {
        name = DeviceOf(device).name;
        return !name.empty();
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
    HidTransferResult Write(HANDLE device, const BYTE* report, DWORD length, DWORD) override {
        if (failWritesWith != 0) {
            return {HidTransferOutcome::Failed, 0, failWritesWith};
        }
        const DWORD idBytes = DeviceOf(device).lengths.output - kReportSize;
        if (length != DeviceOf(device).lengths.output || report[0] != 0) {
            return {HidTransferOutcome::Failed, 0, ERROR_INVALID_PARAMETER};
        }
        Report copy{};
        std::copy(report + idBytes, report + length, copy.begin());
        written.push_back(copy);
        return {HidTransferOutcome::Done, length, 0};
    }
    HidTransferResult Read(HANDLE device, BYTE* report, DWORD length, DWORD) override {
        if (failReadsWith != 0) {
            return {HidTransferOutcome::Failed, 0, failReadsWith};
        }
        if (length != DeviceOf(device).lengths.input) {
            return {HidTransferOutcome::Failed, 0, ERROR_INVALID_PARAMETER};
        }
        if (input.empty()) {
            timedOut_ = true;
            return {HidTransferOutcome::TimedOut, 0, 0};
        }
        const DWORD idBytes = length - kReportSize;
        std::fill(report, report + idBytes, BYTE{0});
        std::copy(input.front().begin(), input.front().end(), report + idBytes);
        input.pop_front();
        return {HidTransferOutcome::Done, shortRead != 0 ? shortRead : length, 0};
    }
    void Close(HANDLE device) override {
        if (reinterpret_cast<std::size_t>(device) >= kQueryHandles) {
            --openQueries;
        } else {
            closed.push_back(device);
        }
    }

    const std::wstring& PathOf(HANDLE device) const { return DeviceOf(device).path; }

  private:
    static constexpr std::size_t kQueryHandles = 1000;
    bool timedOut_ = false;

    static HANDLE HandleOf(std::size_t index) { return reinterpret_cast<HANDLE>(index + 100); }
    static HANDLE QueryHandleOf(std::size_t index) {
        return reinterpret_cast<HANDLE>(index + kQueryHandles);
    }
    const Device& DeviceOf(HANDLE handle) const {
        const auto value = reinterpret_cast<std::size_t>(handle);
        return devices.at(value - (value >= kQueryHandles ? kQueryHandles : 100));
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

TEST_F(HidTransportTest, OpensTheFirstFittingInterfaceOfTheAdapterForItselfAlone) {
    system.devices = {{L"locked"},
                      {L"mouse", {0x046D, 0xC077}},
                      {L"adapter-keyboard", kAdapter, {9, 1}},
                      {L"adapter-wide", kAdapter, {66, 66}},
                      {L"adapter-short-output", kAdapter, {64, 32}},
                      {L"adapter"},
                      {L"second-adapter"}};
    system.devices[0].opens = false;
    system.devices[1].heldWith = ERROR_ACCESS_DENIED;
    system.input.push_back(Answer(kKindStatus, 1));  // left from an earlier session
    ASSERT_TRUE(Open());
    EXPECT_EQ(transport.LastSearch(), AdapterSearchResult::Found);
    EXPECT_EQ(system.opened.size(), 1u) << "only the adapter is opened exclusively";
    EXPECT_TRUE(system.closed.empty());
    EXPECT_EQ(system.queries, 5) << "the search stops at the adapter";
    EXPECT_EQ(system.openQueries, 0) << "every query handle is closed";
    EXPECT_TRUE(system.input.empty()) << "the input queue is emptied at Open";
    EXPECT_TRUE(transport.SetTimeout(2000));

    // Opening again closes the adapter first and looks anew.
    ASSERT_TRUE(Open());
    EXPECT_EQ(system.closed, std::vector<HANDLE>{system.opened[0]});
}

// Why no interface was opened: the most telling reason of all the interfaces seen.
TEST_F(HidTransportTest, AFailedOpenKeepsTheReasonNoAdapterOtherLengthsOrInUse) {
    using Devices = std::vector<ScriptedHidSystem::Device>;
    const ScriptedHidSystem::Device held{L"held", kAdapter, kWholeReports, true,
                                         ERROR_SHARING_VIOLATION};
    const struct {
        Devices devices;
        AdapterSearchResult reason;
    } cases[] = {
        {{}, AdapterSearchResult::NotFound},
        {{{L"mouse", {0x046D, 0xC077}}, {L"other-product", {kAdapterVendorId, 3}}},
         AdapterSearchResult::NotFound},
        {{{L"64/65", kAdapter, {64, 65}},
          {L"65/64", kAdapter, {65, 64}},
          {L"63", kAdapter, {63, 63}},
          {L"8", kAdapter, {64, 8}},
          {L"none", kAdapter, {0, 0}}},
         AdapterSearchResult::OtherReportLength},
        {{{L"wide", kAdapter, {66, 66}}, held, {L"mouse", {0x046D, 0xC077}}},
         AdapterSearchResult::InUse},
        {{held}, AdapterSearchResult::InUse},
    };
    for (const auto& test : cases) {
        system.devices = test.devices;
        system.opened.clear();
        EXPECT_FALSE(Open());
        EXPECT_FALSE(transport.IsOpen());
        EXPECT_EQ(transport.LastSearch(), test.reason) << test.devices.size() << " devices";
        EXPECT_TRUE(system.opened.empty());
        EXPECT_EQ(system.openQueries, 0);
    }
}

TEST_F(HidTransportTest, TheSurveyListsEveryInterfaceAndChoosesTheOneTheTransportOpens) {
    system.devices = {{L"mouse", {0x046D, 0xC077}, {5, 0}, true, ERROR_ACCESS_DENIED, L"Mouse"},
                      {L"adapter-wide", kAdapter, {66, 66}},
                      {L"adapter-held", kAdapter, kWholeReports, true, ERROR_SHARING_VIOLATION},
                      {L"adapter-65", kAdapter, {65, 65}, true, 0, L""},
                      {L"second-adapter"}};
    const HidSurvey survey = SurveyHidInterfaces(system, {kAdapterVendorId, kAdapterProductId});
    ASSERT_EQ(survey.interfaces.size(), 5u);
    EXPECT_EQ(survey.verdict, AdapterSearchResult::Found);
    EXPECT_EQ(survey.chosen, 3u);
    EXPECT_EQ(system.closed, system.opened) << "the survey keeps no device open";
    EXPECT_EQ(system.openQueries, 0);

    const HidInterfaceView& mouse = survey.interfaces[0];
    EXPECT_TRUE(mouse.described);
    EXPECT_EQ(mouse.identity.productId, 0xC077);
    EXPECT_EQ(mouse.lengths.input, 5);
    EXPECT_EQ(mouse.productName, L"Mouse");
    EXPECT_EQ(mouse.exclusiveOpenError, DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(mouse.fit, AdapterSearchResult::NotFound);
    EXPECT_EQ(survey.interfaces[1].fit, AdapterSearchResult::OtherReportLength);
    EXPECT_EQ(survey.interfaces[1].exclusiveOpenError, DWORD{0});
    EXPECT_EQ(survey.interfaces[2].fit, AdapterSearchResult::InUse);
    EXPECT_EQ(survey.interfaces[3].layout, AdapterReportLayout::IdBefore);
    EXPECT_TRUE(survey.interfaces[3].productName.empty());
    EXPECT_EQ(survey.interfaces[4].fit, AdapterSearchResult::Found);

    ASSERT_TRUE(Open());
    EXPECT_EQ(system.PathOf(system.opened.back()), survey.interfaces[survey.chosen].path);
}

// Whichever layout Windows gives, callers move the same 64 protocol bytes; a 65-byte device
// gets its id 0 in front (the scripted device refuses any other length or id).
TEST_F(HidTransportTest, MovesWhole64ByteReportsInBothLayouts) {
    for (const HidReportLengths lengths : {HidReportLengths{64, 64}, HidReportLengths{65, 65}}) {
        SCOPED_TRACE(lengths.input);
        system.devices = {{L"adapter", kAdapter, lengths}};
        system.written.clear();
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

        Report status = Answer(kKindStatus, 7);
        status[63] = 0xA5;
        system.input = {status};
        Report answer{};
        ASSERT_TRUE(Read(answer));
        EXPECT_EQ(answer, status);
    }
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
