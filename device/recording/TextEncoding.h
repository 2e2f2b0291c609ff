#pragma once
// Text in the encodings that recordings meet: the system's active ANSI code page, which a
// recording file's titles are written in, and UTF-8, which the portable reader's messages and
// palvex-capture's console carry file names in.

#include <string>

// UTF-16 text in the active ANSI code page; characters it lacks become its default character.
std::string ToActiveCodePage(const std::wstring& text);

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
