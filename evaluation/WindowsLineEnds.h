#pragma once
// The summary and the report are written with Windows line ends, as text files on Windows have,
// by palvex-capture and by the window alike.

#include <string>

inline std::string WithWindowsLineEnds(const std::string& text) {
    std::string lines;
    lines.reserve(text.size() + text.size() / 32);
    for (char c : text) {
        if (c == '\n') {
            lines += '\r';
        }
        lines += c;
    }
    return lines;
}
