#pragma once
// The command line of palvex-capture.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "evaluation/KeyFigures.h"
#include "evaluation/ReportLanguage.h"

struct CaptureOptions {
    bool help = false;
    bool devices = false;  // list the HID devices instead of capturing
    // Live capture: stops at whichever limit comes first.
    std::optional<double> seconds;
    std::optional<std::uint64_t> frames;
    std::string outPath;  // the recording in Palvex's export format
    // Offline: judge a file that Palvex exported instead of capturing.
    std::string fromPath;
    bool summary = false;
    std::string summaryCsvPath;
    std::string comparePath;  // a summary CSV written earlier, to set the figures against
    std::string reportPath;   // the HTML report
    // The production log: one line per channel appended to appendPath, marked with label.
    std::string appendPath;
    std::string label;
    JudgeSettings judge;
    // The printed table's and the report's language; without --lang the system's.
    std::optional<ReportLanguage> language;
};

struct ParsedOptions {
    CaptureOptions options;
    std::string error;  // one line; empty when the command line is good
};

// Parses the arguments after the program name; "--name value" and "--name=value" both work.
ParsedOptions ParseCaptureOptions(const std::vector<std::string>& arguments);

// A file that the command line names, with the option that names it.
struct NamedFile {
    const char* option;
    std::string path;
};
// The files read or written: --from, --out, --summary-csv, --report and --append, those given.
// Each must be a file of its own, which only the system can tell (one file has many names).
std::vector<NamedFile> FilesOf(const CaptureOptions& options);

// The --help text: every option, the exit codes and an example.
std::string CaptureUsage();
