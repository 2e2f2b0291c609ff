#pragma once
// "导出报告" and "导出评估": the key figures shown on the "按键评估" page written as
// palvex-capture writes them for the same recording, the self-contained HTML report (in the
// window's language, Chinese) and the summary CSV, each replacing a file only once complete.

#include <windows.h>

#include <vector>

#include "device/recording/FileReplacement.h"
#include "evaluation/HtmlReport.h"
#include "evaluation/KeyFigures.h"

// Asks for a *.html file and writes the report of recording, judged into figures.
void ExportKeyReport(HWND owner, const RecordingChannels& recording,
                     const std::vector<KeyFigures>& figures, const ReportHeading& heading,
                     FileWriteCall write = &::WriteFile);
// Asks for a *.csv file and writes the summary of figures.
void ExportKeySummary(HWND owner, const std::vector<KeyFigures>& figures,
                      FileWriteCall write = &::WriteFile);
