#pragma once
// A fresh folder per test for the file tests, with the few file operations they check with.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/WholeFiles.h"

class FileFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder_ = InFolder(BaseFolder(), std::wstring(name, name + std::strlen(name)));
        Remove(folder_);
        ::CreateDirectoryW(folder_.c_str(), nullptr);
    }

    // Removes a file, or a folder with everything in it, left by an earlier run.
    static void Remove(const std::wstring& path) {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (::DeleteFileW(path.c_str())) {
            return;
        }
        WIN32_FIND_DATAW found{};
        HANDLE search = ::FindFirstFileW(InFolder(path, L"*").c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more;
             more = ::FindNextFileW(search, &found)) {
            if (std::wstring(found.cFileName) != L"." && std::wstring(found.cFileName) != L"..") {
                Remove(InFolder(path, found.cFileName));
            }
        }
        ::FindClose(search);
        ::RemoveDirectoryW(path.c_str());
    }

    // Where the folders go: beneath the system's temporary folder.
    static std::wstring BaseFolder() {
        wchar_t path[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, path);
        std::wstring folder = std::wstring(path) + L"palvex file tests";
        ::CreateDirectoryW(folder.c_str(), nullptr);
        return folder;
    }
    static std::wstring InFolder(const std::wstring& folder, const std::wstring& name) {
        return folder + L"\\" + name;
    }
    std::wstring Path(const std::wstring& name) const { return InFolder(folder_, name); }

    static std::string Read(const std::wstring& path) { return ReadFileBytes(path); }
    static void Write(const std::wstring& path, const std::string& content) {
        ASSERT_TRUE(WriteFileBytes(path, content));
    }

    // The names in the folder, sorted: nothing left behind that a test did not make.
    std::vector<std::wstring> Content() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found{};
        HANDLE search = ::FindFirstFileW(Path(L"*").c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more;
             more = ::FindNextFileW(search, &found)) {
            if (std::wstring(found.cFileName) != L"." && std::wstring(found.cFileName) != L"..") {
                names.push_back(found.cFileName);
            }
        }
        ::FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

    std::wstring folder_;
};
