#pragma once
// Why a library in a folder cannot be used by this program, found out as the system would meet
// it: the file, its processor, the libraries it needs (beside it or in the system folder), its
// factory export and, when all of these are sound, what the loader says. Windows only.

#include <string>

#include "device/connection/LibraryDiagnosis.h"

// name: the library's file name in folder (Tessik.dll); factory: the export looked up in it.
LibraryDiagnosis DiagnoseLibrary(const std::wstring& folder, const std::wstring& name,
                                 const std::string& factory);
