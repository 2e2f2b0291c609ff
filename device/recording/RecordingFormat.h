#pragma once
// The columns of a recording file, the table that the window's "导出数据" writes and that
// palvex-capture streams: the row number, then four values per channel in quantity order.
//
// Every field, the last of a line too, is followed by a comma, and every line ends in CR LF,
// as Windows text files do. The line ends are written as bytes, never left to a C runtime
// stream in text mode, which scans every byte written for newlines at a cost above that of
// building the lines. The header line holds the column titles and is written in the active
// ANSI code page; data fields hold only digits and minus signs, which every ANSI code page
// encodes as ASCII does.

#include <cstdint>
#include <string>
#include <vector>

// Column 0: the row number, from 1.
inline constexpr wchar_t kRowNumberTitle[] = L"序号";

// The title of column 1 + 4k + quantity, for the channel numbered channel (0-based): the
// channel number from 1 followed by the quantity's title, which begins with a blank.
std::wstring QuantityColumnTitle(std::uint32_t channel, std::size_t quantity);

// The channels 0 to count - 1, as a recording that palvex-capture streams or that is read back
// numbers its columns' channels.
std::vector<std::uint32_t> NumberedChannels(std::uint32_t count);

// The 1 + 4n titles of a table of the channels numbered channels (0-based), in column order.
std::vector<std::wstring> RecordingColumnTitles(const std::vector<std::uint32_t>& channels);

// The header line before its conversion: every title followed by a comma, then CR LF.
std::wstring RecordingHeaderText(const std::vector<std::wstring>& titles);
