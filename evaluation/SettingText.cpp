#include "evaluation/SettingText.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

bool IsPlainDecimal(std::string_view text, bool real) {
    std::size_t at = real && !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
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

}  // namespace

std::optional<double> ParsePlainReal(std::string_view text) {
    if (!IsPlainDecimal(text, true)) {
        return std::nullopt;
    }
    const std::string terminated(text);
    errno = 0;
    const double value = std::strtod(terminated.c_str(), nullptr);
    if (errno != 0 || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint64_t> ParsePlainCount(std::string_view text) {
    if (!IsPlainDecimal(text, false)) {
        return std::nullopt;
    }
    const std::string terminated(text);
    errno = 0;
    const unsigned long long value = std::strtoull(terminated.c_str(), nullptr, 10);
    if (errno != 0) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParsePassMark(std::string_view text) {
    const std::optional<double> mark = ParsePlainReal(text);
    if (!mark || *mark < 0.0) {
        return std::nullopt;
    }
    return mark;
}

std::optional<std::uint32_t> ParseMinTouchFrames(std::string_view text) {
    const std::optional<std::uint64_t> frames = ParsePlainCount(text);
    if (!frames || *frames == 0 || *frames > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*frames);
}
