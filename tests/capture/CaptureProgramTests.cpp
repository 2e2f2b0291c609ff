// palvex-capture as a script runs it: the built program from the simulator folder, with the
// simulator's scripted touches, its exit codes, its one-line errors and its files.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/capture/CaptureRunner.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The figures of one summary line, as the table prints them ("-" where a figure has no
// meaning); a verdict of two words reads as its first.
struct SummaryFigures {
    std::string channel, samples, baseline, noise, delta, snr, rms, quiet, touches, finger,
        noiseThreshold, hysteresis, weakestDelta, weakestSnr, verdict;
};

SummaryFigures FiguresOf(const std::string& line) {
    SummaryFigures f;
    std::istringstream(line) >> f.channel >> f.samples >> f.baseline >> f.noise >> f.delta >>
        f.snr >> f.rms >> f.quiet >> f.touches >> f.finger >> f.noiseThreshold >> f.hysteresis >>
        f.weakestDelta >> f.weakestSnr >> f.verdict;
    return f;
}

// The summary line of channel (1-based) in the printed table.
std::string SummaryLine(const std::string& table, int channel) {
    std::istringstream lines(table);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(std::to_string(channel) + " ", 0) == 0) {
            return line;
        }
    }
    return {};
}

// The build's hardware folder: the real HID transport, which finds no adapter on this machine.
std::wstring HardwareFolder() {
    std::wstring hardware = SimulatorFolder();
    return hardware.replace(hardware.rfind(L"simulator"), 9, L"hardware");
}

class CaptureProgramTest : public ::testing::Test {
  protected:
    // Two keys: channel 1 touched by 60 counts, channel 2 by 90, both for 300 of 3000 frames,
    // with the chip's jitter of -3 to 3: noise 6, SNR 10 and 15.
    ScopedEnvironment environment_{{{L"TESSIK_SIM_CHANNELS", L"2"},
                                    {L"TESSIK_SIM_REPORT_DELAY_US", L"0"},
                                    {L"TESSIK_SIM_TOUCH", L"1:1000:300:60,2:2000:300:90"}}};
    std::wstring folder_ = TempFolder();
};

TEST_F(CaptureProgramTest, ScriptedTouchesPassWithTheirTrueFigures) {
    ProgramRun run = RunCapture(L"--frames 3000 --summary --lang en");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    const SummaryFigures one = FiguresOf(SummaryLine(run.out, 1));
    EXPECT_EQ(one.samples, "3000");
    EXPECT_EQ(one.noise, "6");
    EXPECT_EQ(one.touches, "1");
    EXPECT_NEAR(std::stod(one.delta), 60.0, 0.5);
    EXPECT_NEAR(std::stod(one.snr), 10.0, 0.1);
    EXPECT_EQ(one.finger, "48");
    EXPECT_EQ(one.verdict, "pass");
    EXPECT_NE(SummaryLine(run.out, 2).find("pass"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("3000 frames of 2 channels"), std::string::npos) << run.err;

    // A pass mark above channel 1's ratio but below channel 2's fails channel 1 alone.
    run = RunCapture(L"--frames 3000 --summary --min-snr 12 --lang en");
    EXPECT_EQ(run.exitCode, 1u) << run.err;
    EXPECT_NE(SummaryLine(run.out, 1).find("fail"), std::string::npos) << run.out;
    EXPECT_NE(SummaryLine(run.out, 2).find("pass"), std::string::npos) << run.out;
}

TEST_F(CaptureProgramTest, RampsLongTouchesAndAQuieterChipMatchTheScript) {
    // Jitter -1 to 1 (noise 2): channel 1 touched by 30 with ramps of 40 frames, channel 2 by
    // 12 (SNR 6) for two thirds of the recording, channel 3 never.
    ScopedEnvironment environment({{L"TESSIK_SIM_CHANNELS", L"3"},
                                   {L"TESSIK_SIM_JITTER", L"1"},
                                   {L"TESSIK_SIM_TOUCH", L"1:500:400:30:40,2:500:2000:12"}});
    const ProgramRun run = RunCapture(L"--frames 3000 --summary --lang en");
    EXPECT_EQ(run.exitCode, 1u) << run.err;
    const SummaryFigures ramp = FiguresOf(SummaryLine(run.out, 1));
    const SummaryFigures long_ = FiguresOf(SummaryLine(run.out, 2));
    const SummaryFigures quiet = FiguresOf(SummaryLine(run.out, 3));
    EXPECT_EQ(ramp.noise, "2") << run.out;
    EXPECT_NEAR(std::stod(ramp.delta), 30.0, 1.5) << run.out;
    EXPECT_EQ(ramp.verdict, "pass") << run.out;
    EXPECT_EQ(long_.noise, "2") << run.out;
    EXPECT_NEAR(std::stod(long_.delta), 12.0, 0.6) << run.out;
    EXPECT_EQ(long_.verdict, "pass") << run.out;
    EXPECT_EQ(quiet.noise, "2") << run.out;
    EXPECT_EQ(quiet.touches, "0") << run.out;
    EXPECT_NE(SummaryLine(run.out, 3).find("no touch"), std::string::npos) << run.out;
}

TEST_F(CaptureProgramTest, LightAndFirmTouchesABrushAndATouchCutByTheEndMatchTheScript) {
    // Channel 1: light touches of 60 and firm ones of 240 by turns, and a fifth touch that the
    // end of the recording cuts after 3 frames; channel 2: touches of 120 with a brush of 3
    // frames between them. The jitter is -3 to 3: noise 6.
    ScopedEnvironment environment({{L"TESSIK_SIM_TOUCH",
                                    L"1:200:300:60,1:800:300:240,1:1400:300:60,1:2000:300:240,"
                                    L"1:2998:100:240,2:300:300:120,2:1000:3:120,2:1500:300:120"},
                                   {L"TESSIK_SIM_JITTER", L"3"}});
    const ProgramRun run = RunCapture(L"--frames 3000 --summary --lang en");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    const SummaryFigures byTurns = FiguresOf(SummaryLine(run.out, 1));
    EXPECT_EQ(byTurns.noise, "6") << run.out;
    EXPECT_EQ(byTurns.touches, "4") << run.out;
    EXPECT_NEAR(std::stod(byTurns.delta), 60.0, 0.5) << run.out;  // the lower middle one
    EXPECT_NEAR(std::stod(byTurns.weakestDelta), 60.0, 0.5) << run.out;
    EXPECT_NEAR(std::stod(byTurns.snr), 10.0, 0.1) << run.out;
    EXPECT_EQ(byTurns.verdict, "pass") << run.out;
    const SummaryFigures brushed = FiguresOf(SummaryLine(run.out, 2));
    EXPECT_EQ(brushed.noise, "6") << run.out;
    EXPECT_EQ(brushed.touches, "2") << run.out;
    EXPECT_NEAR(std::stod(brushed.delta), 120.0, 0.5) << run.out;
    EXPECT_EQ(brushed.verdict, "pass") << run.out;

    // The table in the language asked for, whatever the system's.
    const ProgramRun chinese = RunCapture(L"--frames 3000 --summary --lang zh");
    EXPECT_EQ(chinese.exitCode, 0u) << chinese.err;
    EXPECT_EQ(chinese.out.rfind("通道 ", 0), 0u) << chinese.out;
    EXPECT_EQ(FiguresOf(SummaryLine(chinese.out, 1)).verdict, "合格") << chinese.out;
    EXPECT_EQ(FiguresOf(SummaryLine(chinese.out, 1)).delta, byTurns.delta) << chinese.out;
}

TEST_F(CaptureProgramTest, AKeyThatIsNeverTouchedFails) {
    ProgramRun run = RunCapture(L"--frames 900 --summary --lang en");  // both touches come later
    EXPECT_EQ(run.exitCode, 1u) << run.err;
    EXPECT_NE(SummaryLine(run.out, 1).find("no touch"), std::string::npos) << run.out;
}

TEST_F(CaptureProgramTest, OfflineSummaryOfTheRecordingEqualsTheLiveOne) {
    const std::wstring recording = folder_ + L"按键 录音.csv";
    const std::wstring liveCsv = folder_ + L"live.csv";
    const std::wstring offlineCsv = folder_ + L"offline.csv";
    ProgramRun live = RunCapture(L"--frames 3000 --summary --out \"" + recording +
                                 L"\" --summary-csv \"" + liveCsv + L"\"");
    ASSERT_EQ(live.exitCode, 0u) << live.err;
    ProgramRun offline = RunCapture(L"--from \"" + recording + L"\" --summary --summary-csv \"" +
                                    offlineCsv + L"\"");
    ASSERT_EQ(offline.exitCode, 0u) << offline.err;
    EXPECT_EQ(offline.out, live.out);
    EXPECT_EQ(ReadFileBytes(offlineCsv), ReadFileBytes(liveCsv));
    EXPECT_EQ(ReadFileBytes(liveCsv).rfind("channel,samples,baseline_mean,noise_pp,touch_delta,snr,"
                                           "result,noise_rms,quiet_frames,touches,finger_"
                                           "threshold,noise_threshold,hysteresis,weakest_delta,"
                                           "weakest_snr\r\n1,3000,",
                                           0),
              0u);
}

TEST_F(CaptureProgramTest, EveryFailureHasItsExitCodeAndOneLine) {
    struct Case {
        std::map<std::wstring, std::wstring> environment;
        std::wstring arguments;
        DWORD exitCode;
        std::string message;
    };
    const std::wstring csv = folder_ + L"bad.csv";
    ASSERT_TRUE(WriteFileBytes(csv, "x,1 a,1 b,1 c,1 d,\r\n1,2,3,oops,5,\r\n"));
    const Case cases[] = {
        {{{L"TESSIK_SIM_FAULT", L"disconnect"}, {L"TESSIK_SIM_FAULT_REQUEST", L"start"}},
         L"--frames 10 --summary",
         2,
         "palvex-capture: no answer from the chip"},
        {{{L"TESSIK_SIM_FAULT", L"silent"}, {L"TESSIK_SIM_FAULT_REQUEST", L"layout"}},
         L"--frames 10 --summary",
         2,
         "palvex-capture: channel initialisation failed"},
        {{{L"TESSIK_SIM_FAULT", L"disconnect"}, {L"TESSIK_SIM_FAULT_AFTER", L"50"}},
         L"--frames 1000 --summary",
         2,
         "palvex-capture: link to the adapter lost after"},
        {{},
         L"--frames 10 --out \"" + folder_ + L"no such folder\\x.csv\"",
         2,
         "x.csv cannot be written: "},
        {{},
         L"--from \"" + csv + L"\" --summary",
         2,
         "bad.csv, line 2: difference value \"oops\" of channel 1"},
        {{}, L"--from \"" + folder_ + L"missing.csv\" --summary", 2, "missing.csv cannot be read"},
        {{}, L"--frames 10", 2, "nothing to do"},
        {{},
         L"--frames 10 --summary --compare \"" + folder_ + L"missing.csv\"",
         2,
         "missing.csv cannot be read"},
        {{},
         L"--frames 10 --summary --compare \"" + csv + L"\"",
         2,
         "bad.csv, line 1: not a summary CSV of palvex-capture"},
        {{},
         L"--frames 10 --label a --append \"" + folder_ + L"no such folder\\log.csv\"",
         2,
         "log.csv cannot be opened for appending"},
    };
    for (const Case& c : cases) {
        ScopedEnvironment environment(c.environment);
        ProgramRun run = RunCapture(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.message << ": " << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    }
}

TEST_F(CaptureProgramTest, CompareReportAndALogThatStationsShare) {
    const std::wstring recording = folder_ + L"stations.csv";
    const std::wstring before = folder_ + L"before.csv";
    const std::wstring report = folder_ + L"报告 1.html";
    const std::wstring log = folder_ + L"production log.csv";
    ::DeleteFileW(log.c_str());
    ASSERT_EQ(
        RunCapture(L"--frames 3000 --out \"" + recording + L"\" --summary-csv \"" + before + L"\"")
            .exitCode,
        0u);
    ProgramRun run =
        RunCapture(L"--from \"" + recording + L"\" --min-snr 12 --lang en --compare \"" + before +
                   L"\" --report \"" + report + L"\"");
    EXPECT_EQ(run.exitCode, 1u) << run.err;
    EXPECT_NE(run.out.find("pass  changed"), std::string::npos) << run.out;  // channel 1 fails
    EXPECT_NE(run.out.find("pass  same"), std::string::npos) << run.out;
    const std::string page = ReadFileBytes(report);
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.find("channel 1: fail"), std::string::npos);

    // Stations append at once: one header, every station's lines whole and together.
    constexpr int kStations = 6;
    std::vector<std::wstring> commands;
    for (int s = 0; s < kStations; ++s) {
        commands.push_back(L"--from \"" + recording + L"\" --label station-" + std::to_wstring(s) +
                           L" --append \"" + log + L"\"");
    }
    for (const ProgramRun& station : RunCapturesAtOnce(commands)) {
        EXPECT_EQ(station.exitCode, 0u) << station.err;
    }
    ASSERT_EQ(RunCapture(commands[0]).exitCode, 0u);  // and once more onto the existing log
    std::istringstream lines(ReadFileBytes(log));
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line.rfind("time,label,channel,samples,", 0), 0u) << line;
    std::map<std::string, int> linesOf;
    std::string previous;
    int records = 0;
    while (std::getline(lines, line)) {
        ++records;
        const std::size_t comma = line.find(',');
        const std::string label = line.substr(comma + 1, line.find(',', comma + 1) - comma - 1);
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 16) << line;
        EXPECT_EQ(line.substr(comma - 1, 1), "Z") << line;
        EXPECT_EQ(line.back(), '\r') << line;
        const int nth = ++linesOf[label];
        EXPECT_TRUE(nth % 2 == 1 || label == previous) << "apart from its first: " << line;
        previous = label;
    }
    EXPECT_EQ(records, 2 * (kStations + 1));
    EXPECT_EQ(linesOf.size(), static_cast<std::size_t>(kStations));
}

TEST_F(CaptureProgramTest, WithoutAnAdapter) {
    ProgramRun run = RunCapture(L"--frames 10 --summary", HardwareFolder());
    EXPECT_EQ(run.exitCode, 2u);
    // The reason comes from the HID devices the system shows, whichever Tessik.dll is there.
    EXPECT_EQ(run.err,
              "palvex-capture: no adapter: the touch-key debugging adapter could not be "
              "opened. No adapter 1D7F:0002 was found.\r\n");
}

TEST_F(CaptureProgramTest, AnEarlierFileStaysUntilFramesReplaceIt) {
    const std::wstring keys = folder_ + L"keep\\keys.csv";
    const std::wstring figures = folder_ + L"keep\\figures.csv";
    ::CreateDirectoryW((folder_ + L"keep").c_str(), nullptr);
    const std::wstring files = L"--out \"" + keys + L"\" --summary-csv \"" + figures + L"\"";
    auto folderHolds = [&] {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found{};
        HANDLE search = ::FindFirstFileW((folder_ + L"keep\\*").c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more;
             more = ::FindNextFileW(search, &found)) {
            if (found.cFileName[0] != L'.') {
                names.push_back(found.cFileName);
            }
        }
        ::FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::wstring> both = {L"figures.csv", L"keys.csv"};
    ASSERT_TRUE(WriteFileBytes(keys, "earlier recording"));
    ASSERT_TRUE(WriteFileBytes(figures, "earlier figures"));

    // No adapter, or no frame: both files as they were, nothing left beside them.
    EXPECT_EQ(RunCapture(L"--frames 10 " + files, HardwareFolder()).exitCode, 2u);
    {
        ScopedEnvironment layoutFails(
            {{L"TESSIK_SIM_FAULT", L"read-fails"}, {L"TESSIK_SIM_FAULT_REQUEST", L"layout"}});
        EXPECT_EQ(RunCapture(L"--frames 10 " + files).exitCode, 2u);
    }
    EXPECT_EQ(ReadFileBytes(keys), "earlier recording");
    EXPECT_EQ(ReadFileBytes(figures), "earlier figures");
    EXPECT_EQ(folderHolds(), both);

    // The link lost after k frames: the recording holds those k frames as whole lines.
    ScopedEnvironment unplugged(
        {{L"TESSIK_SIM_FAULT", L"disconnect"}, {L"TESSIK_SIM_FAULT_AFTER", L"41"}});
    const ProgramRun run = RunCapture(L"--frames 1000 " + files);
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_NE(run.err.find("link to the adapter lost after 40 frames"), std::string::npos)
        << run.err;
    const std::string recording = ReadFileBytes(keys);
    EXPECT_EQ(std::count(recording.begin(), recording.end(), '\n'), 41) << recording;
    EXPECT_NE(recording.find("\r\n40,"), std::string::npos);
    EXPECT_TRUE(recording.ends_with(",\r\n"));
    EXPECT_EQ(ReadFileBytes(figures), "earlier figures");  // no figures of a lost capture
    EXPECT_EQ(folderHolds(), both);
}

TEST_F(CaptureProgramTest, NamesOfOneFileAndTargetsThatCannotBeReplacedAreRefusedFirst) {
    // Run where there is no adapter: a refusal must come before the adapter is opened.
    const std::wstring f = folder_ + L"first\\";
    ::CreateDirectoryW(f.c_str(), nullptr);
    ::CreateDirectoryW((f + L"sub").c_str(), nullptr);
    ::CreateDirectoryW((f + L"logs").c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(f + L"logs\\inside.csv", "inside"));
    ASSERT_TRUE(WriteFileBytes(f + L"rec.csv", "the recording"));
    ASSERT_TRUE(WriteFileBytes(f + L"read-only.csv", "read-only"));
    ::SetFileAttributesW((f + L"read-only.csv").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(WriteFileBytes(f + L"held.html", "held"));
    HANDLE holder = ::CreateFileW((f + L"held.html").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const std::wstring rec = L"--from \"" + f + L"rec.csv\" ";
    const struct {
        std::wstring arguments;
        std::string line;
    } cases[] = {
        {rec + L"--summary-csv \"" + f + L"sub\\..\\rec.csv\"",
         "--from and --summary-csv name the same file: give two files"},
        {rec + L"--report \"" + f + L"REC.CSV.\"",
         "--from and --report name the same file: give two files"},
        {rec + L"--label a --append \"" + f + L"rec.csv \"",
         "--from and --append name the same file: give two files"},
        {L"--frames 9 --out \"" + f + L"new.csv\" --summary-csv \"" + f + L"sub\\..\\NEW.csv\"",
         "--out and --summary-csv name the same file: give two files"},
        {L"--frames 9 --out \"" + f + L"logs\"",
         "logs cannot be written: it is a folder, give a file name"},
        {L"--frames 9 --out \"" + f + L"new.csv\" --summary-csv \"" + f + L"read-only.csv\"",
         "read-only.csv cannot be written: "},
        {L"--frames 9 --summary --report \"" + f + L"held.html\"", "held.html cannot be written: "},
    };
    for (const auto& c : cases) {
        const ProgramRun run = RunCapture(c.arguments, HardwareFolder());
        EXPECT_EQ(run.exitCode, 2u) << run.err;
        EXPECT_NE(run.err.find(c.line), std::string::npos) << c.line << ": " << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    }
    ::CloseHandle(holder);
    ::SetFileAttributesW((f + L"read-only.csv").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(f + L"rec.csv"), "the recording");
    EXPECT_EQ(ReadFileBytes(f + L"read-only.csv"), "read-only");
    EXPECT_EQ(ReadFileBytes(f + L"held.html"), "held");
    EXPECT_EQ(ReadFileBytes(f + L"logs\\inside.csv"), "inside");
    EXPECT_EQ(::GetFileAttributesW((f + L"new.csv").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CaptureProgramTest, TheLogTakesOnlyItsOwnLinesEachOnALineOfItsOwn) {
    const std::wstring recording = folder_ + L"for the log.csv";
    const std::wstring log = folder_ + L"unfinished log.csv";
    const std::wstring summary = folder_ + L"not a log.csv";
    ASSERT_EQ(RunCapture(L"--frames 3000 --out \"" + recording + L"\"").exitCode, 0u);
    // A log that an earlier version began: it keeps getting lines of its own 15 columns.
    const std::string header =
        "time,label,channel,samples,baseline_mean,noise_pp,noise_rms,quiet_frames,touches,"
        "touch_delta,snr,finger_threshold,noise_threshold,hysteresis,result\r\n";
    ASSERT_TRUE(WriteFileBytes(log, header + "2024-05-01T08:30:05Z,cut,1,100"));
    ASSERT_TRUE(WriteFileBytes(summary, "channel,samples,baseline_mean\r\n"));
    const std::wstring from = L"--from \"" + recording + L"\" --label board-1 --append ";

    ProgramRun run = RunCapture(from + L"\"" + log + L"\"");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    const std::string lines = ReadFileBytes(log);
    EXPECT_EQ(lines.find(header + "2024-05-01T08:30:05Z,cut,1,100\r\n"), 0u) << lines;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 4) << lines;  // header, cut, 2 keys
    EXPECT_EQ(std::count(lines.begin(), lines.end(), ','), 14 + 3 + 2 * 14) << lines;

    run = RunCapture(from + L"\"" + summary + L"\"");
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_NE(run.err.find("not a log.csv is not a production log of palvex-capture"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(ReadFileBytes(summary), "channel,samples,baseline_mean\r\n");
}

TEST_F(CaptureProgramTest, WithoutTheTransportLibrary) {
    const std::wstring lonely = folder_ + L"lonely\\";
    ::CreateDirectoryW(lonely.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW((SimulatorFolder() + L"palvex-capture.exe").c_str(),
                            (lonely + L"palvex-capture.exe").c_str(), FALSE));
    ProgramRun run = RunCapture(L"--frames 10 --summary", lonely);
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_NE(run.err.find("palvex-capture: Sorvel: tessik 未加载!!! Tessik.dll is not in the "
                           "program's folder.\r\n"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("palvex-capture: no adapter"), std::string::npos) << run.err;
}

}  // namespace
