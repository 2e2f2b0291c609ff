// Usage: capture_bench [frames] [recording path]
// Captures frames (default 1,000,000) from the simulator with 32 channels and no report delay,
// streaming them into the recording and into the key figures exactly as palvex-capture does;
// prints the frame rate and the private bytes along the way, the time to judge every key and
// to write the HTML report and its size, then reads the recording back as --from does and
// prints its rate in MB/s.

#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "capture/RecordingIntoKeys.h"
#include "evaluation/HtmlReport.h"
#include "evaluation/KeyFigures.h"
#include "capture/LiveCapture.h"
#include "capture/RecordingFile.h"
#include "device/connection/DeviceConnection.h"

namespace {

using Clock = std::chrono::steady_clock;

std::wstring SimulatorFolder() {
    const std::wstring folder =
        DeviceConnection::ProgramFolder() + PALVEX_SIMULATOR_FOLDER_FROM_BENCH;
    wchar_t full[MAX_PATH] = {};
    ::GetFullPathNameW(folder.c_str(), MAX_PATH, full, nullptr);
    return full;
}

double PrivateMegabytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(),
                           reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
    // Wine leaves PrivateUsage at 0; the commit charge is the same figure there.
    const SIZE_T bytes =
        counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
    return bytes / 1048576.0;
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::uint64_t frames = argc > 1 ? std::wcstoull(argv[1], nullptr, 10) : 1000000;
    const std::wstring recording =
        argc > 2 ? argv[2] : std::wstring(L"Z:\\dev\\shm\\palvex-capture-bench.csv");
    ::SetEnvironmentVariableW(L"TESSIK_SIM_CHANNELS", L"32");
    ::SetEnvironmentVariableW(L"TESSIK_SIM_REPORT_DELAY_US", L"0");

    DeviceConnection device(SimulatorFolder());
    RecordingFile file;
    if (!file.Open(recording)) {
        std::fprintf(stderr, "recording %s\n", file.Error().c_str());
        return 2;
    }
    RecordingKeys keys;
    std::uint32_t channels = 0;
    std::uint64_t seen = 0;
    std::uint64_t nextReport = 10000;
    const double startMegabytes = PrivateMegabytes();
    auto onLayout = [&](std::uint32_t count) {
        channels = count;
        keys.Reset(count);
        return file.WriteHeader(count);
    };
    auto onFrame = [&](const std::int32_t* values) {
        keys.Add(values);
        if (++seen == nextReport) {
            std::printf("after %9llu frames: private bytes %7.1f MB\n",
                        static_cast<unsigned long long>(seen), PrivateMegabytes());
            nextReport *= 10;
        }
        return file.WriteRow(values, channels);
    };
    const CaptureOutcome outcome = CaptureFrames(device, {{}, frames}, onLayout, onFrame);
    if (!file.Close() || !outcome.linkOk) {
        std::string errors;
        for (const std::string& error : outcome.errors) {
            errors += error + " ";
        }
        std::fprintf(stderr, "capture failed: %s%s\n", errors.c_str(), file.Error().c_str());
        return 2;
    }
    std::printf("capture: %llu frames of %u channels in %.2f s = %.0f frames/s\n",
                static_cast<unsigned long long>(outcome.frames), channels, outcome.seconds,
                outcome.frames / outcome.seconds);
    std::printf("private bytes: %.1f MB before, %.1f MB after the capture\n", startMegabytes,
                PrivateMegabytes());

    Clock::time_point start = Clock::now();
    const std::vector<KeyFigures> figures = JudgeRecording(keys, {});
    const double judging = SecondsSince(start);
    start = Clock::now();
    const std::string report = FormatHtmlReport(keys, figures, {"bench", "now", {}});
    std::printf("judging %u keys: %.2f s; HTML report: %.2f s, %.2f MB\n", channels, judging,
                SecondsSince(start), report.size() / 1048576.0);

    std::FILE* input = ::_wfopen(recording.c_str(), L"rb");
    if (input == nullptr) {
        return 2;
    }
    start = Clock::now();
    RecordingReader reader(input, "recording");
    RecordingKeys offline;
    const bool read = ReadRecordingIntoKeys(reader, offline);
    const double seconds = SecondsSince(start);
    const long long bytes = _ftelli64(input);
    std::fclose(input);
    ::DeleteFileW(recording.c_str());
    if (!read) {
        std::fprintf(stderr, "%s\n", reader.Error().c_str());
        return 2;
    }
    std::printf("--from: %.1f MB in %.2f s = %.0f MB/s\n", bytes / 1048576.0, seconds,
                bytes / 1048576.0 / seconds);
    return 0;
}
