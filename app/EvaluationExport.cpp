#include "app/EvaluationExport.h"

#include "app/SavedFile.h"
#include "evaluation/SummaryReport.h"
#include "evaluation/WindowsLineEnds.h"

#include <string>

namespace {

SaveFileOptions Options(const wchar_t* description, const wchar_t* extension, const wchar_t* name) {
    SaveFileOptions options;
    options.filterDescription = description;
    options.filterPattern = std::wstring(L"*.") + extension;
    options.defaultExtension = extension;
    options.fileName = name;
    options.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    return options;
}

bool AnyName(const std::wstring&) {
    return true;
}

// The whole text as one write, with the line ends palvex-capture writes: a report of a million
// frames is still a few hundred kilobytes.
std::function<bool(ReplacementFile&)> Writing(const std::string& text) {
    return [lines = WithWindowsLineEnds(text)](ReplacementFile& file) {
        return file.Write(lines) == ERROR_SUCCESS;
    };
}

}  // namespace

void ExportKeyReport(HWND owner, const RecordingChannels& recording,
                     const std::vector<KeyFigures>& figures, const ReportHeading& heading,
                     FileWriteCall write) {
    const std::string report = FormatHtmlReport(recording, figures, heading);
    SaveWithPrompts(owner, owner, Options(L"html file(*.html)", L"html", L"report.html"), AnyName,
                    Writing(report), write);
}

void ExportKeySummary(HWND owner, const std::vector<KeyFigures>& figures, FileWriteCall write) {
    const std::string summary = FormatSummaryCsv(figures);
    SaveWithPrompts(owner, owner, Options(L"csv file(*.csv)", L"csv", L"evaluation.csv"), AnyName,
                    Writing(summary), write);
}
