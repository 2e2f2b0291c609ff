#include "capture/CaptureOptions.h"

#include "evaluation/SettingText.h"

namespace {

bool ParseDouble(const std::string& text, double& value) {
    const std::optional<double> parsed = ParsePlainReal(text);
    value = parsed.value_or(0.0);
    return parsed.has_value();
}

bool ParseCount(const std::string& text, std::uint64_t& value) {
    const std::optional<std::uint64_t> parsed = ParsePlainCount(text);
    value = parsed.value_or(0);
    return parsed.has_value();
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
    if (o.label.empty() != o.appendPath.empty()) {
        return "--label NAME and --append LOG.csv go together";
    }
    if (o.label.find_first_of(",\"\r\n\t") != std::string::npos) {
        return "--label cannot hold commas, quotes, tabs or line breaks: it is a field of the log";
    }
    if (o.label.find_first_of("=+-@") == 0) {
        return "--label cannot begin with =, +, - or @: a spreadsheet opening the log would take "
               "it for a formula";
    }
    if (!o.summary && o.summaryCsvPath.empty() && o.comparePath.empty() && o.reportPath.empty() &&
        o.appendPath.empty() && (!live || o.outPath.empty())) {
        return live ? "nothing to do: give --out, --summary, --summary-csv, --compare, --report "
                      "or --append"
                    : "nothing to do: give --summary, --summary-csv, --compare, --report or "
                      "--append";
    }
    return {};
}

}  // namespace

std::vector<NamedFile> FilesOf(const CaptureOptions& o) {
    std::vector<NamedFile> files;
    for (const NamedFile& file :
         {NamedFile{"--from", o.fromPath}, NamedFile{"--out", o.outPath},
          NamedFile{"--summary-csv", o.summaryCsvPath}, NamedFile{"--report", o.reportPath},
          NamedFile{"--append", o.appendPath}}) {
        if (!file.path.empty()) {
            files.push_back(file);
        }
    }
    return files;
}

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
        if (name == "--help" || name == "-h" || name == "--summary" || name == "--devices") {
            if (inlineValue) {
                return fail(name + " takes no value");
            }
            (name == "--summary" ? o.summary : name == "--devices" ? o.devices : o.help) = true;
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
            const std::optional<double> mark = ParsePassMark(value);
            if (!mark) {
                return fail("--min-snr needs a number of at least 0, not \"" + value + "\"");
            }
            o.judge.minSnr = *mark;
        } else if (name == "--min-touch-frames") {
            const std::optional<std::uint32_t> frames = ParseMinTouchFrames(value);
            if (!frames) {
                return fail("--min-touch-frames needs a positive whole number, not \"" + value +
                            "\"");
            }
            o.judge.minTouchFrames = *frames;
        } else if (name == "--noise") {
            if (value != "pp" && value != "rms") {
                return fail("--noise needs pp or rms, not \"" + value + "\"");
            }
            o.judge.noise = value == "rms" ? NoiseStatistic::Rms : NoiseStatistic::PeakToPeak;
        } else if (name == "--lang") {
            o.language = ParseReportLanguage(value);
            if (!o.language) {
                return fail("--lang needs zh or en, not \"" + value + "\"");
            }
        } else if (name == "--label") {
            if (value.empty()) {
                return fail("--label needs a name");
            }
            o.label = value;
        } else if (name == "--out" || name == "--summary-csv" || name == "--from" ||
                   name == "--compare" || name == "--report" || name == "--append") {
            if (value.empty()) {
                return fail(name + " needs a file name");
            }
            (name == "--out"       ? o.outPath
             : name == "--from"    ? o.fromPath
             : name == "--compare" ? o.comparePath
             : name == "--report"  ? o.reportPath
             : name == "--append"  ? o.appendPath
                                   : o.summaryCsvPath) = value;
        } else {
            return fail("unknown option " + name);
        }
    }
    if (o.devices && arguments.size() > 1) {
        return fail("--devices lists the HID devices and does nothing else: give it alone");
    }
    if (!o.help && !o.devices) {
        parsed.error = CheckCombination(o);
    }
    return parsed;
}

std::string CaptureUsage() {
    return "usage: palvex-capture (--seconds S | --frames N) [--out FILE.csv] [outputs] [rules]\n"
           "       palvex-capture --from FILE.csv [outputs] [rules]\n"
           "       palvex-capture --devices\n"
           "\n"
           "Records the touch chip through the adapter, as Palvex does, and judges every key\n"
           "by its noise and touch delta.\n"
           "\n"
           "  --seconds S        receive for S seconds\n"
           "  --frames N         receive N frames (with --seconds: whichever comes first)\n"
           "  --out FILE         write the recording as Palvex's export (\"导出数据\") writes it\n"
           "  --from FILE.csv    judge a file that Palvex exported instead of capturing\n"
           "\n"
           "Outputs (at least one):\n"
           "  --summary          print one line per channel: baseline mean, noise (pp and rms),\n"
           "                     touch delta, SNR, quiet frames, touches, suggested thresholds,\n"
           "                     the weakest touch's delta and SNR, and the verdict\n"
           "  --summary-csv FILE write the same figures as CSV\n"
           "  --compare OLD.csv  set the figures against a summary CSV written earlier: old and\n"
           "                     new noise, delta and SNR per channel, and whether the verdict\n"
           "                     changed\n"
           "  --report FILE.html a page to hand on: per channel the difference over the whole\n"
           "                     recording with its quiet band, touches and finger threshold\n"
           "  --label NAME --append LOG.csv\n"
           "                     append one line per channel (UTC time, NAME, the figures) to\n"
           "                     a production log; it is never rewritten, a log of an earlier\n"
           "                     version keeps its columns, and a file whose first line is\n"
           "                     not a log's header is refused\n"
           "  --lang zh|en       the language of the printed table and the report (default:\n"
           "                     the system's, Chinese on a Chinese Windows); CSV column names\n"
           "                     and the verdicts in CSV files stay English for programs\n"
           "\n"
           "Files: each file named must be a file of its own; every file to be replaced is\n"
           "checked before the capture and replaced only when completely written. Ctrl+C ends\n"
           "a capture as a lost link does: the frames so far are kept and judged, exit code 2.\n"
           "\n"
           "How a key is judged (differences in counts of the chip; P is the quiet band's\n"
           "peak-to-peak, and 2 x P, the height of the weakest touch that is always found,\n"
           "is the distance the brush, levels and no quiet rules measure with):\n"
           "  quiet band   the key's resting level: the lower of two clusters of the values\n"
           "               (the split that best separates their means), first its middle 80 %,\n"
           "               then measured again without the touches, their edges and the brushes:\n"
           "               top Q, peak-to-peak P, mean M; clearance c = max(P/2, 1)\n"
           "  touch        a run of frames above Q that holds at least --min-touch-frames N\n"
           "               frames above Q + c (default N = 5): a finger rests for many frames, a\n"
           "               spike does not; it ends only when the difference is back in the band,\n"
           "               so its own jitter does not split it. Any touch of at least 2 x P\n"
           "               above M is found (noise 6: a touch of 12)\n"
           "  edges        the frames of a run more than c below its median, and those beside it\n"
           "               still above M, count neither as quiet nor as touched: a rise and a\n"
           "               fall are neither\n"
           "  brush        a run with fewer than N frames above Q + c (a brush, a spike, a touch\n"
           "               cut by the recording's start or end): its frames more than\n"
           "               2 x max(P, 1) above Q (with --threshold: at or above T), as high\n"
           "               as a touch that would be found, count neither as quiet nor as\n"
           "               touched, so they never widen the band (noise 6, Q = 3: above 15);\n"
           "               lower frames are the resting jitter and stay quiet\n"
           "  levels       touches of different strengths are all touches: when N quiet frames\n"
           "               in a row lie more than 2 x P' above Q', the top of the middle 80 % of\n"
           "               the lower cluster of the quiet values (P' its peak-to-peak), the band\n"
           "               held light touches too; that core becomes the band, which is kept\n"
           "               when it comes out narrower (rest 0, touches of 60 and 240: noise 6)\n"
           "  noise        pp: highest minus lowest quiet difference; rms: their root mean\n"
           "               square deviation from M; both are shown\n"
           "  delta        per touch its mean difference minus M; the summary shows the median\n"
           "               touch's (of an even number the lower middle one: a verdict never\n"
           "               rests on a touch stronger than half of them) and the weakest's\n"
           "  SNR          delta / max(noise, 1): the chip counts in whole steps, so a noise of 0\n"
           "               is below one count; the verdict uses the median touch's SNR, and the\n"
           "               weakest touch's is shown beside it\n"
           "  --noise pp|rms     the noise the SNR divides by (default pp)\n"
           "  --threshold T      a run must reach T instead of Q + c, and ends below T - c\n"
           "  --min-snr X        pass mark for the SNR (default 5, the usual 5:1)\n"
           "  thresholds   suggested for the chip, in counts above the quiet level: finger 80 %,\n"
           "               noise 40 %, hysteresis 10 % of the median delta, rounded\n"
           "  no touch     no run rose clear of the band: the noise is still shown\n"
           "  no quiet     no frame rests: every frame belongs to a touch or its edges, or the\n"
           "               recording holds a single level at least 2 x max(P, 1) from zero.\n"
           "               The chip's baseline keeps a resting key's difference near zero, and\n"
           "               a level that far above a resting zero would be found as a touch: a\n"
           "               finger resting all along or a baseline that never settled (300 with\n"
           "               P = 6 is far; 11 with P = 6 is near, a quiet key: no touch). Of two\n"
           "               levels the lower is the rest, even a little above zero\n"
           "\n"
           "  --devices          list the HID devices that Windows shows and say which one Palvex\n"
           "                     would open, or why none fits (exit code 0 found, 2 not)\n"
           "  --help             this text\n"
           "\n"
           "Exit codes: 0 every channel passes; 1 a channel fails, shows no touch or no quiet;\n"
           "2 no adapter, a lost link, a file that cannot be read or written, or a bad\n"
           "command line.\n"
           "\n"
           "Example: palvex-capture --seconds 10 --out keys.csv --summary --report keys.html\n";
}
