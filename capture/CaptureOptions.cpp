#include "capture/CaptureOptions.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

// Plain decimal only: digits, and for a real number a sign and one decimal point. The C library
// would also take leading blanks, hexadecimal, exponents and "inf", which a script hardly
// means and would then be run with a value it did not write.
bool IsPlainDecimal(const std::string& text, bool real) {
    std::size_t at = real && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    bool digits = false;
    bool point = false;
    for (; at < text.size(); ++at) {
        if (text[at] >= '0' && text[at] <= '9') {
            digits = true;
        } else if (real && text[at] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

bool ParseDouble(const std::string& text, double& value) {
    if (!IsPlainDecimal(text, true)) {
        return false;
    }
    errno = 0;
    value = std::strtod(text.c_str(), nullptr);
    return errno == 0 && std::isfinite(value);
}

bool ParseCount(const std::string& text, std::uint64_t& value) {
    if (!IsPlainDecimal(text, false)) {
        return false;
    }
    errno = 0;
    value = std::strtoull(text.c_str(), nullptr, 10);
    return errno == 0;
}

// Whether two names given on the command line are one file to Windows: letters in any case,
// either slash, and "." folders on the way.
bool SameFile(const std::string& a, const std::string& b) {
    auto normal = [](const std::string& path) {
        std::string name;
        for (char c : path) {
            name +=
                c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        for (std::size_t at; (at = name.find("\\.\\")) != std::string::npos;) {
            name.erase(at, 2);
        }
        return name.rfind(".\\", 0) == 0 ? name.substr(2) : name;
    };
    return !a.empty() && !b.empty() && normal(a) == normal(b);
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
    if (SameFile(o.outPath, o.summaryCsvPath) || SameFile(o.fromPath, o.summaryCsvPath)) {
        return std::string(live ? "--out" : "--from") +
               " and --summary-csv name the same file: give two files";
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
        if (name == "--help" || name == "-h" || name == "--summary") {
            if (inlineValue) {
                return fail(name + " takes no value");
            }
            (name == "--summary" ? o.summary : o.help) = true;
            continue;
        }
        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < arguments.size() && arguments[i + 1].rfind("--", 0) == 0) {
            // "--from --summary" forgot the file; "--out=--x.csv" still names such a file.
            return fail(name + " needs a value, not the option " + arguments[i + 1]);
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
