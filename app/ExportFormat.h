#pragma once
// The data table's columns and the CSV lines made of them: one home for what the window's
// "导出数据" writes and what palvex-capture streams, so both give the same bytes.
//
// Every field, the last of a line too, is followed by a comma. Titles are converted to the
// active ANSI code page; cells hold only digits and minus signs, which every ANSI code page
// encodes as ASCII does. Lines end in "\n", which a text-mode stream writes as CR LF.

#include <cstdint>
#include <string>
#include <vector>

// Column 0: the row number, from 1.
inline constexpr wchar_t kRowNumberTitle[] = L"序号";

// The title of column 1 + 4k + quantity, for the channel numbered channel (0-based): the
// channel number from 1 followed by the quantity's title, which begins with a blank.
std::wstring QuantityColumnTitle(std::uint32_t channel, std::size_t quantity);

// The 1 + 4n titles of a table of the channels numbered channels (0-based), in column order.
std::vector<std::wstring> DataTableTitles(const std::vector<std::uint32_t>& channels);

// UTF-16 text in the active ANSI code page; characters it lacks become its default character.
std::string ToActiveCodePage(const std::wstring& text);

// The header line: every title followed by a comma, converted, then "\n".
std::string CsvHeaderLine(const std::vector<std::wstring>& titles);

// Appends value as "%d" writes it, followed by a comma.
void AppendCsvField(std::int64_t value, std::string& line);
