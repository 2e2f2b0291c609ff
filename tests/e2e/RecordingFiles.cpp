#include "tests/e2e/RecordingFiles.h"

#include <cstdio>

#include "tests/e2e/PalvexScenario.h"

std::wstring ExportFolder() {
    const std::wstring folder = WorkFolder() + L"\\导出 数据 目录";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::string Recording(int channels, int rows, const DifferenceOf& difference) {
    std::wstring header = L"序号,";
    for (int c = 1; c <= channels; ++c) {
        for (const wchar_t* quantity : {L" 基础值,", L" 滤波值,", L" 差值,", L" 噪声值,"}) {
            header += std::to_wstring(c) + quantity;
        }
    }
    std::string bytes(header.size() * 2, '\0');
    bytes.resize(static_cast<std::size_t>(::WideCharToMultiByte(
        kSimplifiedChineseCodePage, 0, header.c_str(), static_cast<int>(header.size()),
        bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr)));
    bytes += "\r\n";
    for (int r = 1; r <= rows; ++r) {
        bytes += std::to_string(r) + ",";
        for (int c = 0; c < channels; ++c) {
            const int baseline = (r + c) % 60000 + 100;
            const int d = difference ? difference(r, c) : 7;
            bytes += std::to_string(baseline) + "," + std::to_string(baseline - d) + "," +
                     std::to_string(d) + "," + std::to_string(c) + ",";
        }
        bytes += "\r\n";
    }
    return bytes;
}

std::wstring SavedRecording(const wchar_t* name, const std::string& bytes) {
    const std::wstring path = ExportFolder() + L"\\" + name;
    if (FILE* out = _wfopen(path.c_str(), L"wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }
    return path;
}
