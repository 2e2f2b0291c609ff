#pragma once
// "导出数据": the data table as a comma-separated file in the active ANSI code page.
//
// Every field, the last of a line too, is followed by a comma; lines end in CR LF. The file is
// written beside the chosen one under a temporary name and takes its place only once every
// byte was written and flushed to the disk, so a failed export leaves an existing file as it
// was; a replaced file keeps its security and attributes.

#include "app/DlgListData.h"

#include <windows.h>

#include <string>

#include "app/SavedFile.h"
#include "device/recording/FileReplacement.h"

// True when the last three characters of path are "csv" in any case ("data.CSV", "mycsv").
bool HasCsvSuffix(const std::wstring& path);

using CsvWriteResult = SaveResult;

// Writes the table to path: the column titles, then one line per row. write puts the bytes
// into the file that replaces path.
CsvWriteResult WriteTableAsCsv(const DlgListData& table, const std::wstring& path,
                               FileWriteCall write = &::WriteFile);

// The whole command: asks for the file through the prompt seam, writes it and tells the user
// how it went in message boxes owned by owner.
void ExportTableAsCsv(HWND owner, const DlgListData& table, FileWriteCall write = &::WriteFile);
