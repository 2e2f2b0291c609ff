// The hardware transport where no adapter is plugged in (as under Wine): every operation
// refuses, promptly, instead of hanging or pretending.

#include <gtest/gtest.h>

#include "request/ReportFormat.h"
#include "tessik/HidDeviceTransport.h"

namespace {

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
