#pragma once
// The program's name, the caption of the main dialog's own message boxes and of the export's.

inline constexpr wchar_t kProgramName[] = L"Palvex";
