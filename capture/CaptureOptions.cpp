#include "capture/CaptureOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

bool ParseDouble(const std::string& text, double& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && *end == '\0' && std::isfinite(value);
}

bool ParseCount(const std::string& text, std::uint64_t& value) {
    if (text.empty() || text[0] < '0' || text[0] > '9') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtoull(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0';
}

// The checks that need the whole command line.
std::string CheckCombination(const CaptureOptions& o) {
    bool live = o.fromPath.empty();
    if (!live && (o.seconds || o.frames || !o.outPath.empty())) {
        return "--from judges a file: it cannot be combined with --seconds, --frames or --out";
    }
    if (live && !o.seconds && !o.frames) {
        return "give --seconds S or --frames N (or --from FILE.csv)";
    }
    if (!o.summary && o.summaryCsvPath.empty() && (!live || o.outPath.empty())) {
        return live ? "nothing to do: give --out, --summary or --summary-csv"
                    : "nothing to do: give --summary or --summary-csv";
    }
    return {};
}

}  // namespace

ParsedOptions ParseCaptureOptions(const std::vector<std::string>& arguments) {
    ParsedOptions parsed;
    CaptureOptions& o = parsed.options;
    auto fail = [&parsed](const std::string& what) {
        parsed.error = what;
        return parsed;
    };

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> inlineValue;
        if (std::size_t equals = name.find('=');
            name.rfind("--", 0) == 0 && equals != std::string::npos) {
            inlineValue = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "--help" || name == "-h") {
            o.help = true;
            continue;
        }
        if (name == "--summary") {
            o.summary = true;
            continue;
        }
        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return fail(name.rfind("--", 0) == 0 ? name + " needs a value"
                                                 : "unknown argument " + name);
        }

        double number = 0.0;
        std::uint64_t count = 0;
        if (name == "--seconds") {
            if (!ParseDouble(value, number) || number <= 0.0) {
                return fail("--seconds needs a positive number of seconds, not \"" + value + "\"");
            }
            o.seconds = number;
        } else if (name == "--frames") {
            if (!ParseCount(value, count) || count == 0) {
                return fail("--frames needs a positive whole number, not \"" + value + "\"");
            }
            o.frames = count;
        } else if (name == "--threshold") {
            if (!ParseDouble(value, number)) {
                return fail("--threshold needs a number, not \"" + value + "\"");
            }
            o.judge.threshold = number;
        } else if (name == "--min-snr") {
            if (!ParseDouble(value, number) || number < 0.0) {
                return fail("--min-snr needs a number of at least 0, not \"" + value + "\"");
            }
            o.judge.minSnr = number;
        } else if (name == "--out" || name == "--summary-csv" || name == "--from") {
            if (value.empty()) {
                return fail(name + " needs a file name");
            }
            (name == "--out"    ? o.outPath
             : name == "--from" ? o.fromPath
                                : o.summaryCsvPath) = value;
        } else {
            return fail("unknown option " + name);
        }
    }
    if (!o.help) {
        parsed.error = CheckCombination(o);
    }
    return parsed;
}

std::string CaptureUsage() {
    return "usage: palvex-capture (--seconds S | --frames N) [--out FILE.csv] [--summary]\n"
           "                      [--summary-csv FILE] [--threshold T] [--min-snr X]\n"
           "       palvex-capture --from FILE.csv (--summary | --summary-csv FILE) [...]\n"
           "\n"
           "Records the touch chip through the adapter, as Palvex does, and judges every key\n"
           "by its noise and touch delta.\n"
           "\n"
           "  --seconds S        receive for S seconds\n"
           "  --frames N         receive N frames (with --seconds: whichever comes first)\n"
           "  --out FILE         write the recording as Palvex's export (\"导出数据\") writes it\n"
           "  --summary          print one line per channel: baseline mean, noise (peak-to-peak\n"
           "                     of the quiet differences), touch delta, SNR and pass or fail\n"
           "  --summary-csv FILE write the same table as CSV\n"
           "  --from FILE.csv    judge a file that Palvex exported instead of capturing\n"
           "  --threshold T      a difference at or above T counts as touched (default: the\n"
           "                     median plus 10 x 1.4826 x the median absolute deviation,\n"
           "                     at least 1 above the median, per channel)\n"
           "  --min-snr X        pass mark for the SNR (default 5)\n"
           "  --help             this text\n"
           "\n"
           "Exit codes: 0 every channel passes; 1 a channel fails or shows no touch;\n"
           "2 no adapter, a lost link, a file that cannot be read or written, or a bad\n"
           "command line.\n"
           "\n"
           "Example: palvex-capture --seconds 10 --out keys.csv --summary\n";
}
