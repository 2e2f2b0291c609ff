// palvex-capture: records the touch chip without a window, or reads back a recording that
// Palvex exported, and judges every key by its noise, touch delta and SNR. Made for
// production-line scripts: one-line errors on standard error and telling exit codes.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "device/FileReplacement.h"
#include "capture/CaptureOptions.h"
#include "capture/ConsoleText.h"
#include "capture/ExportKeys.h"
#include "capture/HtmlReport.h"
#include "capture/KeyFigures.h"
#include "capture/LiveCapture.h"
#include "capture/LogFile.h"
#include "capture/ProductionLog.h"
#include "capture/RecordingFile.h"
#include "capture/SummaryCompare.h"
#include "capture/SummaryReport.h"
#include "device/DeviceConnection.h"
#include "device/RecordingSource.h"

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
    ExportReader reader(source.file.get(), path);
    if (!ReadExportIntoKeys(reader, keys)) {
        ReportError(reader.Error());
        return false;
    }
    return true;
}

bool Capture(const CaptureOptions& options, RecordingKeys& keys) {
    RecordingFile out;
    if (!options.outPath.empty() && !out.Open(FromUtf8(options.outPath))) {
        ReportError(options.outPath + " " + out.Error());
        return false;
    }
    std::uint32_t channels = 0;
    bool written = true;
    auto onLayout = [&](std::uint32_t count) {
        channels = count;
        keys.Reset(count);
        written = options.outPath.empty() || out.WriteHeader(count);
        return written;
    };
    auto onFrame = [&](const std::int32_t* values) {
        keys.Add(values);
        written = options.outPath.empty() || out.WriteRow(values, channels);
        return written;
    };
    DeviceConnection device;
    const CaptureOutcome outcome =
        CaptureFrames(device, {options.seconds, options.frames}, onLayout, onFrame);
    // Frames received before a lost link are kept; a recording without frames, or one whose
    // writing failed, leaves an earlier file of that name alone.
    if (!options.outPath.empty() && written && !out.Close()) {
        written = false;
    }
    if (!written) {
        ReportError(options.outPath + " " + out.Error());
    }
    if (!outcome.linkOk) {
        for (const std::string& error : outcome.errors) {
            ReportError(error);
        }
        return false;
    }
    if (written && !options.outPath.empty() && out.Rows() == 0) {
        ReportError("no frame was recorded: " + options.outPath + " was left as it was");
        return false;
    }
    std::fprintf(stderr, "palvex-capture: %llu frames of %u channels in %.1f s\n",
                 static_cast<unsigned long long>(outcome.frames), channels, outcome.seconds);
    return written;
}

// Written beside path and put in its place when complete, like the recording.
bool WriteTextFile(const std::string& path, const std::string& text) {
    ReplacementFile replacement(FromUtf8(path));
    std::FILE* file =
        replacement.Created() ? ::_wfopen(replacement.Path().c_str(), L"wt") : nullptr;
    if (file == nullptr) {
        ReportError(path + " cannot be created");
        return false;
    }
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = std::fclose(file) == 0 && written;
    if (!written) {
        ReportError(path + " cannot be written");
        return false;
    }
    if (const DWORD error = replacement.Commit()) {
        ReportError(path + " cannot be replaced (system error " + std::to_string(error) + ")");
        return false;
    }
    return true;
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

// Appends records to the production log; with none it only makes sure that the log can be
// written, before a capture that would be lost otherwise.
bool AppendLog(const CaptureOptions& options, const std::string& records) {
    std::string error;
    if (!AppendToLog(FromUtf8(options.appendPath), kProductionLogHeader, records, error)) {
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
        if (!WriteTextFile(options.reportPath,
                           FormatHtmlReport(keys, figures, {source, now, options.judge}))) {
            return false;
        }
    }
    return options.appendPath.empty() ||
           AppendLog(options, FormatLogRecords(figures, options.label, now));
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

    std::vector<EarlierFigures> earlier;
    if ((!options.comparePath.empty() && !ReadEarlierSummary(options.comparePath, earlier)) ||
        (!options.appendPath.empty() && !AppendLog(options, {}))) {
        return kFailure;
    }
    RecordingKeys keys;
    const bool recorded =
        options.fromPath.empty() ? Capture(options, keys) : ReadRecording(options.fromPath, keys);
    if (!recorded) {
        return kFailure;
    }

    const std::vector<KeyFigures> figures = keys.Judge(options.judge);
    if (options.summary) {
        std::fputs(FormatSummaryTable(figures, options.judge).c_str(), stdout);
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
