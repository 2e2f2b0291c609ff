// palvex-capture and the adapter's side: a Tessik.dll laid out in C as another compiler lays it
// out, and the list of HID devices on a machine without the adapter (as under Wine).

#include <gtest/gtest.h>

#include <string>

#include "device/connection/DeviceConnection.h"
#include "tests/capture/CaptureRunner.h"

namespace {

TEST(CaptureAdapterTest, RecordsThroughATessikLaidOutInC) {
    const ScopedEnvironment environment{{{L"TESSIK_SIM_CHANNELS", L"2"},
                                         {L"TESSIK_SIM_REPORT_DELAY_US", L"0"},
                                         {L"TESSIK_SIM_TOUCH", L"1:1000:300:60,2:2000:300:90"}}};
    const std::wstring folder = TempFolder() + L"foreign tessik\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name : {L"palvex-capture.exe", L"Dravik.dll"}) {
        ASSERT_TRUE(
            ::CopyFileW((SimulatorFolder() + name).c_str(), (folder + name).c_str(), FALSE));
    }
    ASSERT_TRUE(::CopyFileW((DeviceConnection::ProgramFolder() + L"ForeignTessik.dll").c_str(),
                            (folder + L"Tessik.dll").c_str(), FALSE));
    const ProgramRun run = RunCapture(L"--frames 3000 --summary", folder);
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_NE(run.err.find("3000 frames of 2 channels"), std::string::npos) << run.err;
}

// Wine shows its own HID mouse and keyboard where it has a display, and nothing else.
TEST(CaptureAdapterTest, ListsTheHidDevicesAndSaysNoAdapterWasFound) {
    const ProgramRun run = RunCapture(L"--devices");
    EXPECT_EQ(run.exitCode, 2u) << run.err;
    EXPECT_EQ(run.out.rfind("HID devices that Windows shows: ", 0), 0u) << run.out;
    const std::string verdict = "No adapter 1D7F:0002 was found.\r\n";
    ASSERT_GE(run.out.size(), verdict.size());
    EXPECT_EQ(run.out.substr(run.out.size() - verdict.size()), verdict) << run.out;
    EXPECT_EQ(run.out.find("Palvex opens"), std::string::npos) << run.out;
    EXPECT_EQ(RunCapture(L"--devices --summary").exitCode, 2u) << "--devices stands alone";
}

}  // namespace
