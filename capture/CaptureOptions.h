#pragma once
// The command line of palvex-capture.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "capture/KeyFigures.h"

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
};

struct ParsedOptions {
    CaptureOptions options;
    std::string error;  // one line; empty when the command line is good
};

// Parses the arguments after the program name; "--name value" and "--name=value" both work.
ParsedOptions ParseCaptureOptions(const std::vector<std::string>& arguments);

// The --help text: every option, the exit codes and an example.
std::string CaptureUsage();
