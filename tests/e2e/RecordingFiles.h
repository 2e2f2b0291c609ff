#pragma once
// Recording files as Palvex writes them, made by the scenarios, in a folder whose path has
// blanks and Chinese characters.

#include <windows.h>

#include <functional>
#include <string>

inline constexpr UINT kSimplifiedChineseCodePage = 936;

// The folder the scenarios export into and keep their recordings in.
std::wstring ExportFolder();

// The difference of channel c (from 0) in row r (from 1).
using DifferenceOf = std::function<int(int r, int c)>;

// A recording of rows frames of channels channels as Palvex writes it, with its header in
// code page 936: the values of row r, channel c are b, b - d, d and c, with the baseline
// b = r + c + 100 (from 60000 on, starting again at 100) and d the difference (7 unless given).
std::string Recording(int channels, int rows, const DifferenceOf& difference = nullptr);

// Writes bytes into the export folder under name; the file's path.
std::wstring SavedRecording(const wchar_t* name, const std::string& bytes);
