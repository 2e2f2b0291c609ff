#pragma once
// A fresh folder per test for the file tests, with the few file operations they check with.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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

    static std::string Read(const std::wstring& path) {
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
    static void Write(const std::wstring& path, const std::string& content) {
        std::FILE* file = ::_wfopen(path.c_str(), L"wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(content.data(), 1, content.size(), file);
        ASSERT_EQ(std::fclose(file), 0);
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
