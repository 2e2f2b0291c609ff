// The device connection through real DLLs under Windows: which libraries it loads from where,
// which step it reports when one is missing, how it sets up the adapter and reads from it. Each
// test builds a folder of libraries from the parts beside the test program.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "device/connection/DeviceConnection.h"
#include "device/connection/LibraryCheck.h"
#include "tessik/SimulatedChip.h"
#include "tests/connection/PeImageBuilder.h"
#include "tests/connection/SimulatorRecord.h"

namespace {

std::wstring TestFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

std::wstring Part(const wchar_t* name) {
    return TestFolder() + L"\\parts\\" + name;
}

bool Loaded(const wchar_t* name) {
    return GetModuleHandleW(name) != nullptr;
}

class DeviceConnectionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetEnvironmentVariableW(L"PALVEX_UNLOAD_LOG", nullptr);
        SetEnvironmentVariableW(L"TESSIK_SIM_REPORT_DELAY_US", L"0");
        ASSERT_FALSE(Loaded(L"Tessik.dll"));
        ASSERT_FALSE(Loaded(L"Dravik.dll"));
    }
    void TearDown() override {
        EXPECT_FALSE(Loaded(L"Tessik.dll")) << "a library stayed loaded";
        EXPECT_FALSE(Loaded(L"Dravik.dll")) << "a library stayed loaded";
    }

    // A fresh folder named after the test holding the given parts as Tessik.dll / Dravik.dll.
    std::wstring Folder(const wchar_t* tessikPart, const wchar_t* dravikPart) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info->name();
        std::replace(name.begin(), name.end(), '/', '_');  // a parameterised test's name
        std::wstring folder =
            TestFolder() + L"\\scenarios\\" + std::wstring(name.begin(), name.end());
        CreateDirectoryW((TestFolder() + L"\\scenarios").c_str(), nullptr);
        CreateDirectoryW(folder.c_str(), nullptr);
        for (const wchar_t* target : {L"\\Tessik.dll", L"\\Dravik.dll"}) {
            DeleteFileW((folder + target).c_str());
        }
        if (tessikPart != nullptr) {
            EXPECT_TRUE(
                CopyFileW(Part(tessikPart).c_str(), (folder + L"\\Tessik.dll").c_str(), FALSE));
        }
        if (dravikPart != nullptr) {
            EXPECT_TRUE(
                CopyFileW(Part(dravikPart).c_str(), (folder + L"\\Dravik.dll").c_str(), FALSE));
        }
        return folder;
    }
};

TEST_F(DeviceConnectionTest, MissingTessikIsReportedAndDravikNeverTried) {
    DeviceConnection connection(Folder(nullptr, L"Dravik.dll"));
    EXPECT_EQ(connection.Connect(), ConnectResult::TessikNotLoaded);
    EXPECT_FALSE(Loaded(L"Dravik.dll"));
}

TEST_F(DeviceConnectionTest, MissingDravikIsReportedBeforeAnyTransportOperation) {
    DeviceConnection connection(Folder(L"TessikSimulator.dll", nullptr));
    EXPECT_EQ(connection.Connect(), ConnectResult::DravikNotLoaded);
    EXPECT_TRUE(Loaded(L"Tessik.dll"));  // kept until Release
    EXPECT_EQ(SimulatorRecord().opens, 0u);
    EXPECT_FALSE(connection.StartStreaming());
    connection.Release();
}

TEST_F(DeviceConnectionTest, MissingExportsAndEmptyFactoriesAreReported) {
    {
        DeviceConnection connection(Folder(L"probe_plain.dll", L"Dravik.dll"));
        EXPECT_EQ(connection.Connect(), ConnectResult::TransportFactoryMissing);
        EXPECT_FALSE(Loaded(L"Dravik.dll"));
    }
    {
        DeviceConnection connection(Folder(L"TessikSimulator.dll", L"probe_plain.dll"));
        EXPECT_EQ(connection.Connect(), ConnectResult::RequestFactoryMissing);
        EXPECT_TRUE(Loaded(L"Dravik.dll"));
        EXPECT_EQ(SimulatorRecord().opens, 0u);
    }
    {
        // A factory that creates no object ends the attempt too.
        DeviceConnection connection(Folder(L"probe_factory.dll", L"Dravik.dll"));
        EXPECT_EQ(connection.Connect(), ConnectResult::NoTransport);
    }
}

// The simulator behind our own Tessik.dll, and behind a transport object laid out in C as
// another compiler lays it out: through either, Palvex and Dravik open, time and read alike.
class SimulatorTessikTest : public DeviceConnectionTest,
                            public ::testing::WithParamInterface<const wchar_t*> {};

INSTANTIATE_TEST_SUITE_P(Libraries, SimulatorTessikTest,
                         ::testing::Values(L"TessikSimulator.dll", L"ForeignTessik.dll"),
                         [](const auto& info) {
                             return std::wstring(info.param) == L"ForeignTessik.dll" ? "ForeignC"
                                                                                     : "Ours";
                         });

TEST_P(SimulatorTessikTest, OpensTheAdapterWithItsIdsAndTheTransferLimit) {
    DeviceConnection connection(Folder(GetParam(), L"Dravik.dll"));
    ASSERT_EQ(connection.Connect(), ConnectResult::Connected);
    const SimulatorStatistics record = SimulatorRecord();
    EXPECT_EQ(record.opens, 1u);
    EXPECT_EQ(record.lastVendorId, 0x1D7F);
    EXPECT_EQ(record.lastProductId, 0x0002);
    EXPECT_EQ(record.timeoutMillis, 2000u);
    connection.Release();
}

// Refused opens are told apart from granted ones by the answer's one byte alone.
TEST_P(SimulatorTessikTest, MisconfiguredSimulatorRefusesToOpen) {
    SetEnvironmentVariableW(L"TESSIK_SIM_CHANNELS", L"99");
    DeviceConnection connection(Folder(GetParam(), L"Dravik.dll"));
    EXPECT_EQ(connection.Connect(), ConnectResult::AdapterNotOpened);
    SetEnvironmentVariableW(L"TESSIK_SIM_CHANNELS", nullptr);
    // The configuration is read on every Open.
    EXPECT_EQ(connection.Connect(), ConnectResult::Connected);
    connection.Release();
}

TEST_F(DeviceConnectionTest, SimulatorSettingsOfAnyLengthAreReadWhole) {
    // Thirty touches of channel 1, the first at frame 1: a script of over 400 characters.
    std::wstring script = L"1:1:10:500";
    for (int touch = 1; touch < 30; ++touch) {
        script += L",1:" + std::to_wstring(100 * touch) + L":10:" + std::to_wstring(1000 + touch);
    }
    ASSERT_GT(script.size(), 400u);
    SetEnvironmentVariableW(L"TESSIK_SIM_CHANNELS", L"1");
    SetEnvironmentVariableW(L"TESSIK_SIM_TOUCH", script.c_str());
    DeviceConnection connection(Folder(L"TessikSimulator.dll", L"Dravik.dll"));
    ASSERT_EQ(connection.Connect(), ConnectResult::Connected);
    TouchSampleStore store;
    ASSERT_TRUE(connection.ReadChannelLayout(store));  // frame 0
    ASSERT_TRUE(connection.ReadFrame(store));
    EXPECT_NEAR(store.Channel(0).Series(SampleQuantity::Difference).Last(), 500, kChipJitter + 1);

    // Malformed at its far end, or long garbage: refused like a short bad value.
    for (const std::wstring& bad : {script + L",1:5", std::wstring(5000, L'x')}) {
        SetEnvironmentVariableW(L"TESSIK_SIM_TOUCH", bad.c_str());
        EXPECT_EQ(connection.Connect(), ConnectResult::AdapterNotOpened) << bad.size();
    }
    SetEnvironmentVariableW(L"TESSIK_SIM_TOUCH", nullptr);
    SetEnvironmentVariableW(L"TESSIK_SIM_CHANNELS", nullptr);
    EXPECT_EQ(connection.Connect(), ConnectResult::Connected);
    connection.Release();
}

// A Tessik.dll built for the other kind of Windows does not load, and its diagnosis names the
// package that fits; so for libraries that lack a library they need, or the factory, or are
// missing themselves.
TEST_F(DeviceConnectionTest, TheDiagnosisTellsWhyTessikCannotBeUsed) {
    const bool program64 = sizeof(void*) == 8;
    const std::wstring folder = Folder(nullptr, L"Dravik.dll");
    const auto otherKind =
        BuildPeImage(program64 ? kMachineI386 : kMachineAmd64, {"KERNEL32.dll"}, {"GetUsbHidObj"});
    std::FILE* file = _wfopen((folder + L"\\Tessik.dll").c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(otherKind.data(), 1, otherKind.size(), file), otherKind.size());
    std::fclose(file);
    {
        DeviceConnection connection(folder);
        EXPECT_EQ(connection.Connect(), ConnectResult::TessikNotLoaded);
    }
    EXPECT_EQ(DiagnoseLibrary(folder, L"Tessik.dll", "GetUsbHidObj").problem,
              program64 ? LibraryProblem::Built32Bit : LibraryProblem::Built64Bit);

    const struct {
        const wchar_t* part;
        LibraryProblem problem;
        const wchar_t* detail;
    } cases[] = {
        {nullptr, LibraryProblem::NotInFolder, L""},
        {L"ForeignTessik.dll", LibraryProblem::None, L""},
        {L"Dravik.dll", LibraryProblem::FactoryMissing, L""},
        {L"probe_dependent.dll", LibraryProblem::DependencyMissing, L"probe_dependency.dll"},
    };
    for (const auto& test : cases) {
        const LibraryDiagnosis d =
            DiagnoseLibrary(Folder(test.part, nullptr), L"Tessik.dll", "GetUsbHidObj");
        EXPECT_EQ(d.problem, test.problem) << (test.part ? test.part : L"none");
        EXPECT_EQ(d.dependency, test.detail);
    }
    EXPECT_FALSE(Loaded(L"Tessik.dll")) << "the diagnosis keeps nothing loaded";
}

TEST_F(DeviceConnectionTest, ReleaseUnloadsDravikBeforeTessik) {
    DeviceConnection connection(Folder(L"probe_factory.dll", L"probe_plain.dll"));
    // Both loaded, GetRequestModule missing.
    EXPECT_EQ(connection.Connect(), ConnectResult::RequestFactoryMissing);
    EXPECT_TRUE(connection.Release());
    wchar_t log[256] = {};
    GetEnvironmentVariableW(L"PALVEX_UNLOAD_LOG", log, 256);
    EXPECT_STREQ(log, L"Dravik.dll;Tessik.dll;");

    SetEnvironmentVariableW(L"PALVEX_UNLOAD_LOG", nullptr);
    DeviceConnection never;
    EXPECT_TRUE(never.Release());
    EXPECT_EQ(GetEnvironmentVariableW(L"PALVEX_UNLOAD_LOG", log, 256), 0u);
}

TEST_F(DeviceConnectionTest, ReconnectingKeepsEachLibraryLoadedOnce) {
    DeviceConnection connection(Folder(L"TessikSimulator.dll", L"Dravik.dll"));
    ASSERT_EQ(connection.Connect(), ConnectResult::Connected);
    ASSERT_EQ(connection.Connect(), ConnectResult::Connected);
    EXPECT_EQ(SimulatorRecord().opens, 1u);  // each Open reconfigures the simulator
    connection.Release();                    // TearDown checks that both are gone
}

TEST_F(DeviceConnectionTest, LibrariesInTheCurrentDirectoryAreNotLoaded) {
    const std::wstring planted = Folder(L"TessikSimulator.dll", L"Dravik.dll");
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(planted.c_str()));
    {
        DeviceConnection fromProgramFolder;  // the test program's folder has neither library
        EXPECT_EQ(fromProgramFolder.Connect(), ConnectResult::TessikNotLoaded);
        DeviceConnection fromEmptyFolder(TestFolder() + L"\\parts\\none");
        EXPECT_EQ(fromEmptyFolder.Connect(), ConnectResult::TessikNotLoaded);
    }
    SetCurrentDirectoryW(previous);
}

TEST_P(SimulatorTessikTest, ReadsTheLayoutAndFramesFromTheSimulator) {
    SetEnvironmentVariableW(L"TESSIK_SIM_CHANNELS", L"4");
    SetEnvironmentVariableW(L"TESSIK_SIM_SEED", L"3");
    DeviceConnection connection(Folder(GetParam(), L"Dravik.dll"));
    TouchSampleStore store;
    EXPECT_FALSE(connection.ReadChannelLayout(store));  // not connected yet
    ASSERT_EQ(connection.Connect(), ConnectResult::Connected);
    ASSERT_TRUE(connection.StartStreaming());
    ASSERT_TRUE(connection.ReadChannelLayout(store));
    ASSERT_TRUE(connection.StopStreaming());
    ASSERT_EQ(connection.ChannelCount(), 4);
    ASSERT_EQ(store.ChannelCount(), 4u);

    SimulatedChip twin(4, -1, 3);
    twin.NextFrame();
    ASSERT_TRUE(connection.StartStreaming());
    for (int frame = 0; frame < 20; ++frame) {
        ASSERT_TRUE(connection.ReadFrame(store));
        twin.NextFrame();
        for (std::uint32_t c = 0; c < 4; ++c) {
            const ChannelSamples& channel = store.Channel(c);
            EXPECT_EQ(channel.Series(SampleQuantity::Baseline).Last(),
                      twin.Reading(int(c)).baseline);
            EXPECT_EQ(channel.Series(SampleQuantity::Filtered).Last(),
                      twin.Reading(int(c)).filtered);
            EXPECT_EQ(channel.Series(SampleQuantity::Noise).Last(), twin.Reading(int(c)).noise);
        }
    }
    ASSERT_TRUE(connection.StopStreaming());
    EXPECT_EQ(store.Channel(0).SampleCount(), kLeadingZeroSamples + 20);
    EXPECT_EQ(SimulatorRecord().protocolErrors, 0u);
    connection.Release();
    SetEnvironmentVariableW(L"TESSIK_SIM_CHANNELS", nullptr);
    SetEnvironmentVariableW(L"TESSIK_SIM_SEED", nullptr);
}

}  // namespace
