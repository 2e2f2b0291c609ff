#pragma once
// Text in the system's active ANSI code page, the encoding of a recording file's titles.

#include <string>

// UTF-16 text in the active ANSI code page; characters it lacks become its default character.
std::string ToActiveCodePage(const std::wstring& text);
