// palvex-capture: records the touch chip without a window, or reads back a recording that
// Palvex exported, and judges every key by its noise, touch delta and SNR. Made for
// production-line scripts: one-line errors on standard error and telling exit codes.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "capture/CaptureFiles.h"
#include "capture/CaptureOptions.h"
#include "capture/ConsoleInterrupt.h"
#include "capture/ConsoleText.h"
#include "capture/DeviceListing.h"
#include "capture/RecordingIntoKeys.h"
#include "evaluation/HtmlReport.h"
#include "evaluation/KeyFigures.h"
#include "capture/LiveCapture.h"
#include "capture/LogFile.h"
#include "capture/ProductionLog.h"
#include "capture/RecordingFile.h"
#include "capture/SummaryCompare.h"
#include "evaluation/SummaryReport.h"
#include "capture/SystemLanguage.h"
#include "device/connection/DeviceConnection.h"
#include "device/recording/RecordingSource.h"

namespace {

enum ExitCode : int {
    kAllPass = 0,
    kKeyFails = 1,  // a channel fails or shows no touch
    kFailure = 2,   // no adapter, a lost link, a file that cannot be read or written, bad usage
};

bool ReadRecording(const std::string& path, RecordingKeys& keys) {
    const RecordingSource source = OpenRecordingSource(FromUtf8(path));
    if (source.file == nullptr) {
        ReportError(path + " cannot be read");
        return false;
    }
    RecordingReader reader(source.file.get(), path);
    if (!ReadRecordingIntoKeys(reader, keys)) {
        ReportError(reader.Error());
        return false;
    }
    return true;
}

// How a capture went: every frame until a limit (Complete), or frames until the link was lost
// or the console interrupted it (Cut: the frames received are kept and judged, exit code 2), or
// no usable recording at all (Failed).
enum class CaptureEnd { Complete, Cut, Failed };

CaptureEnd Capture(const CaptureOptions& options, RecordingKeys& keys) {
    RecordingFile out;
    if (!options.outPath.empty() && !out.Open(FromUtf8(options.outPath))) {
        ReportError(options.outPath + " " + out.Error());
        return CaptureEnd::Failed;
    }
    std::uint32_t channels = 0;
    bool written = true;
    bool interrupted = false;
    auto onLayout = [&](std::uint32_t count) {
        channels = count;
        keys.Reset(count);
        written = options.outPath.empty() || out.WriteHeader(count);
        return written;
    };
    auto onFrame = [&](const std::int32_t* values) {
        keys.Add(values);
        written = options.outPath.empty() || out.WriteRow(values, channels);
        interrupted = ConsoleInterrupt::Requested();
        return written && !interrupted;
    };
    DeviceConnection device;
    const ConsoleInterrupt interrupt;
    const CaptureOutcome outcome =
        CaptureFrames(device, {options.seconds, options.frames}, onLayout, onFrame);
    // Frames received before a lost link or an interruption are kept; a recording without
    // frames, or one whose writing failed, leaves an earlier file of that name alone.
    if (!options.outPath.empty() && written && !out.Close()) {
        written = false;
    }
    if (!written) {
        ReportError(options.outPath + " " + out.Error() +
                    (out.KeptPath().empty()
                         ? std::string()
                         : "; the recording is kept as " + ToUtf8(out.KeptPath())));
    }
    for (const std::string& error : outcome.errors) {
        ReportError(error);
    }
    if (interrupted) {
        ReportError("interrupted after " + std::to_string(outcome.frames) + " frames");
    }
    if (!written || (!outcome.linkOk && outcome.frames == 0)) {
        return CaptureEnd::Failed;
    }
    if (!options.outPath.empty() && out.Rows() == 0) {
        ReportError("no frame was recorded: " + options.outPath + " was left as it was");
        return CaptureEnd::Failed;
    }
    if (!outcome.linkOk || interrupted) {
        return CaptureEnd::Cut;
    }
    std::fprintf(stderr, "palvex-capture: %llu frames of %u channels in %.1f s\n",
                 static_cast<unsigned long long>(outcome.frames), channels, outcome.seconds);
    return CaptureEnd::Complete;
}

ReportLanguage Language(const CaptureOptions& options) {
    return options.language.value_or(SystemReportLanguage());
}

// A summary CSV is a line per channel: anything larger than this is not one.
constexpr std::size_t kMaxSummaryBytes = 1 << 20;

bool ReadEarlierSummary(const std::string& path, std::vector<EarlierFigures>& channels) {
    std::FILE* file = ::_wfopen(FromUtf8(path).c_str(), L"rb");
    if (file == nullptr) {
        ReportError(path + " cannot be read");
        return false;
    }
    std::string text(kMaxSummaryBytes + 1, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file));
    const bool read = std::ferror(file) == 0;
    std::fclose(file);
    std::string error;
    if (!read || text.size() > kMaxSummaryBytes) {
        ReportError(path + (read ? " is not a summary CSV: larger than 1 MB" : " cannot be read"));
        return false;
    }
    if (!ParseSummaryCsv(text, path, channels, error)) {
        ReportError(error);
        return false;
    }
    return true;
}

// Appends the figures' lines to the production log, in the columns of the log's own version;
// without figures it only makes sure that the log can be written, before a capture that would
// be lost otherwise.
bool AppendLog(const CaptureOptions& options, const std::vector<KeyFigures>& figures,
               const std::string& utcTime) {
    std::string error;
    const auto recordsFor = [&](std::size_t edition) {
        return FormatLogRecords(figures, options.label, utcTime, edition);
    };
    if (!AppendToLog(FromUtf8(options.appendPath), ProductionLogHeaders(), recordsFor, error)) {
        ReportError(options.appendPath + " " + error);
        return false;
    }
    return true;
}

// The outputs beyond the summary: the comparison, the report and the production log.
bool WriteFurtherOutputs(const CaptureOptions& options, const RecordingKeys& keys,
                         const std::vector<KeyFigures>& figures,
                         const std::vector<EarlierFigures>& earlier) {
    const std::string now = FormatUtcTime(std::chrono::system_clock::now());
    if (!options.comparePath.empty()) {
        std::fputs(("compared with " + options.comparePath + "\n").c_str(), stdout);
        std::fputs(FormatComparison(earlier, figures).c_str(), stdout);
    }
    if (!options.reportPath.empty()) {
        const std::string source = options.fromPath.empty() ? "live capture" : options.fromPath;
        const ReportHeading heading = {source, now, options.judge, Language(options)};
        if (!WriteTextFile(options.reportPath, FormatHtmlReport(keys, figures, heading))) {
            return false;
        }
    }
    return options.appendPath.empty() || AppendLog(options, figures, now);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    ::SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(ToUtf8(argv[i]));
    }
    const ParsedOptions parsed = ParseCaptureOptions(arguments);
    if (!parsed.error.empty()) {
        ReportError(parsed.error + " (see --help)");
        return kFailure;
    }
    const CaptureOptions& options = parsed.options;
    if (options.help) {
        std::fputs(CaptureUsage().c_str(), stdout);
        return kAllPass;
    }
    if (options.devices) {
        const HidSurvey survey =
            SurveyHidInterfaces(WindowsHidSystem(), {kAdapterVendorId, kAdapterProductId});
        std::fputs(FormatDeviceListing(survey).c_str(), stdout);
        return survey.verdict == AdapterSearchResult::Found ? kAllPass : kFailure;
    }

    if (!EachFileItsOwn(options) || !TargetsCanBeReplaced(options)) {
        return kFailure;
    }
    std::vector<EarlierFigures> earlier;
    if ((!options.comparePath.empty() && !ReadEarlierSummary(options.comparePath, earlier)) ||
        (!options.appendPath.empty() && !AppendLog(options, {}, {}))) {
        return kFailure;
    }
    RecordingKeys keys;
    const CaptureEnd end =
        options.fromPath.empty()
            ? Capture(options, keys)
            : (ReadRecording(options.fromPath, keys) ? CaptureEnd::Complete : CaptureEnd::Failed);
    if (end == CaptureEnd::Failed) {
        return kFailure;
    }

    const std::vector<KeyFigures> figures = JudgeRecording(keys, options.judge);
    if (options.summary) {
        std::fputs(FormatSummaryTable(figures, options.judge, Language(options)).c_str(), stdout);
    }
    // The files that stand for a whole test (the summary, the report, the log) get no figures
    // of a capture that was cut short.
    if (end == CaptureEnd::Cut) {
        return kFailure;
    }
    if (!options.summaryCsvPath.empty() &&
        !WriteTextFile(options.summaryCsvPath, FormatSummaryCsv(figures))) {
        return kFailure;
    }
    if (!WriteFurtherOutputs(options, keys, figures, earlier)) {
        return kFailure;
    }
    return AllKeysPass(figures) ? kAllPass : kKeyFails;
}
