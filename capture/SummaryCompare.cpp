#include "capture/SummaryCompare.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>

#include "evaluation/SummaryReport.h"
#include "device/store/TouchSampleStore.h"

namespace {

// Where the figures compared stand: among the first columns, which every version of the
// summary CSV begins with.
const std::string kFirstColumns = SummaryHeader(kFirstSummaryColumns);
constexpr std::size_t kFirstColumnCount = kFirstSummaryColumns;
const std::size_t kNoise = SummaryColumnIndex(&SummaryCells::noise);
const std::size_t kDelta = SummaryColumnIndex(&SummaryCells::delta);
const std::size_t kSnr = SummaryColumnIndex(&SummaryCells::snr);
const std::size_t kVerdict = SummaryColumnIndex(&SummaryCells::verdict);

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t begin = 0;;) {
        const std::size_t comma = line.find(',', begin);
        fields.push_back(line.substr(begin, comma - begin));
        if (comma == std::string_view::npos) {
            return fields;
        }
        begin = comma + 1;
    }
}

// No figure of a 32-bit chip comes near this; a larger one is not a figure of palvex-capture.
constexpr double kLargestFigure = 1e10;
// The longest field of a summary that palvex-capture wrote, with room to spare.
constexpr std::size_t kLongestField = 32;

// A plain decimal as the summary writes it, finite and within the figures' range: no
// exponents, "inf" or "nan".
bool IsNumberOrEmpty(std::string_view field) {
    if (field.empty()) {
        return true;
    }
    const std::size_t digits = field[0] == '-' ? 1 : 0;
    const std::size_t point = field.find('.');
    if (field.find_first_not_of("0123456789.", digits) != std::string_view::npos ||
        field.size() == digits || field[digits] == '.' ||
        (point != std::string_view::npos && field.find('.', point + 1) != std::string_view::npos)) {
        return false;
    }
    const double value = std::strtod(std::string(field).c_str(), nullptr);
    return std::isfinite(value) && std::fabs(value) <= kLargestFigure;
}

bool IsVerdict(std::string_view field) {
    for (KeyVerdict v : {KeyVerdict::Pass, KeyVerdict::Fail, KeyVerdict::NoTouch,
                         KeyVerdict::NoQuiet, KeyVerdict::NoData}) {
        if (field == VerdictText(v)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool ParseSummaryCsv(std::string_view text, const std::string& name,
                     std::vector<EarlierFigures>& channels, std::string& error) {
    std::uint64_t lineNumber = 0;
    auto fail = [&](const std::string& what) {
        error = name + ", line " + std::to_string(lineNumber) + ": " + what;
        return false;
    };
    channels.clear();
    for (std::size_t begin = 0; begin < text.size();) {
        std::size_t end = text.find('\n', begin);
        end = end == std::string_view::npos ? text.size() : end;
        std::string_view line = text.substr(begin, end - begin);
        begin = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (lineNumber == 1) {
            if (line.substr(0, kFirstColumns.size()) != kFirstColumns) {
                return fail("not a summary CSV of palvex-capture (its header must begin with " +
                            std::string(kFirstColumns) + ")");
            }
            continue;
        }
        const std::vector<std::string_view> f = Fields(line);
        for (std::string_view field : f) {
            if (field.size() > kLongestField) {
                return fail("a field longer than " + std::to_string(kLongestField) +
                            " characters is not a figure");
            }
        }
        const std::string channel(f[0]);
        char* stop = nullptr;
        const unsigned long number = std::strtoul(channel.c_str(), &stop, 10);
        if (f.size() < kFirstColumnCount || channel.empty() || channel[0] < '1' ||
            channel[0] > '9' || *stop != '\0' || number > kMaxTouchChannels ||
            !IsNumberOrEmpty(f[kNoise]) || !IsNumberOrEmpty(f[kDelta]) ||
            !IsNumberOrEmpty(f[kSnr]) || !IsVerdict(f[kVerdict])) {
            return fail("not a line of channel figures");
        }
        for (const EarlierFigures& before : channels) {
            if (before.channel == number) {
                return fail("channel " + channel + " appears a second time");
            }
        }
        channels.push_back({static_cast<std::uint32_t>(number), std::string(f[kNoise]),
                            std::string(f[kDelta]), std::string(f[kSnr]),
                            std::string(f[kVerdict])});
    }
    if (lineNumber == 0) {
        return fail("the file is empty");
    }
    return true;
}

std::string FormatComparison(const std::vector<EarlierFigures>& earlier,
                             const std::vector<KeyFigures>& now) {
    struct Row {
        const EarlierFigures* before = nullptr;
        std::optional<SummaryCells> after;
    };
    std::map<std::uint32_t, Row> rows;
    for (const EarlierFigures& e : earlier) {
        rows[e.channel].before = &e;
    }
    for (const KeyFigures& key : now) {
        rows[key.channel + 1].after = CellsOf(key);
    }
    const char* const format = "%-7s %6s %6s %9s %9s %8s %8s %9s %9s  %s\n";
    // Sized for the longest fields: a line is never cut.
    std::vector<char> line(64 + 9 * (kLongestField + 1));
    std::snprintf(line.data(), line.size(), format, "channel", "noise", "was", "delta", "was",
                  "snr", "was", "result", "was", "verdict");
    std::string table = line.data();
    const EarlierFigures none;
    for (const auto& [channel, row] : rows) {
        const EarlierFigures& b = row.before != nullptr ? *row.before : none;
        const SummaryCells a = row.after.value_or(SummaryCells{});
        const char* change = row.before == nullptr    ? "new"
                             : !row.after             ? "gone"
                             : a.verdict == b.verdict ? "same"
                                                      : "changed";
        std::snprintf(line.data(), line.size(), format, std::to_string(channel).c_str(),
                      a.noise.c_str(), b.noise.c_str(), a.delta.c_str(), b.delta.c_str(),
                      a.snr.c_str(), b.snr.c_str(), a.verdict.c_str(), b.verdict.c_str(), change);
        table += line.data();
    }
    return table;
}
