#pragma once
// Whole files as tests read and write them: the bytes as they are on the disk.

#include <cstdio>
#include <string>

// The whole file at path; empty when there is none.
inline std::string ReadFileBytes(const std::wstring& path) {
    std::string content;
    if (std::FILE* file = ::_wfopen(path.c_str(), L"rb")) {
        char block[65536];
        while (std::size_t read = std::fread(block, 1, sizeof(block), file)) {
            content.append(block, read);
        }
        std::fclose(file);
    }
    return content;
}

// Writes content as the whole file at path; false when it could not be written.
inline bool WriteFileBytes(const std::wstring& path, const std::string& content) {
    std::FILE* file = ::_wfopen(path.c_str(), L"wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    return std::fclose(file) == 0 && written;
}
