#pragma once
// The reason a connection failed, in words: what follows "tessik 未加载!!!\n" and
// "Dravikdll 未加载!!!" (LibraryProblemText) and "设备未连接！" (AdapterProblemText) in the
// window, in Chinese, and palvex-capture's error lines, in English. Each text is one sentence
// or two, ending in a full stop; an empty text means there is nothing to add.

#include <string>

#include "device/connection/LibraryDiagnosis.h"
#include "tessik/AdapterFit.h"

enum class TextLanguage { Chinese, English };

std::wstring LibraryProblemText(const LibraryDiagnosis& diagnosis, TextLanguage language);

// Found means the system shows an adapter that fits, yet Tessik.dll did not open it.
std::wstring AdapterProblemText(const AdapterFinding& finding, TextLanguage language);
