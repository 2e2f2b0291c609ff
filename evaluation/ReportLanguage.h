#pragma once
// The language of what palvex-capture shows people: its printed tables and the HTML report.
// What programs read (the column names of the CSV files, the verdicts in them) stays English.

#include <optional>
#include <string_view>

enum class ReportLanguage { English, Chinese };

// One text in both languages.
struct ReportText {
    const char* english;
    const char* chinese;
    const char* In(ReportLanguage language) const {
        return language == ReportLanguage::Chinese ? chinese : english;
    }
};

// "en" or "zh", as --lang takes it; nothing for anything else.
inline std::optional<ReportLanguage> ParseReportLanguage(std::string_view name) {
    if (name == "en") {
        return ReportLanguage::English;
    }
    if (name == "zh") {
        return ReportLanguage::Chinese;
    }
    return std::nullopt;
}
