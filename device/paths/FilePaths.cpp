#include "device/paths/FilePaths.h"

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

}  // namespace

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring FileNameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring InFolder(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || IsSeparator(folder.back())) {
        return folder + name;
    }
    return folder + L'\\' + name;
}
