// The file that replaces its target only when complete: every write checked, a target that
// cannot be replaced refused before anything is written, a finished file kept when the
// replacement fails at the end, and a disk that fills up on the way.

#include "device/recording/FileReplacement.h"
#include "device/recording/SystemError.h"

#include "tests/recording/FileFixture.h"

#include <cstdlib>

namespace {

// Write stand-ins: a disk full from the first byte, and one that takes 10 bytes, then is full.
BOOL WINAPI FullAtOnce(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
    *written = 0;
    ::SetLastError(ERROR_DISK_FULL);
    return FALSE;
}
BOOL WINAPI FullAfterTenBytes(HANDLE file, LPCVOID bytes, DWORD count, LPDWORD written,
                              LPOVERLAPPED) {
    LARGE_INTEGER size{};
    ::GetFileSizeEx(file, &size);
    const DWORD room = size.QuadPart >= 10 ? 0 : static_cast<DWORD>(10 - size.QuadPart);
    return ::WriteFile(file, bytes, std::min(count, room), written, nullptr);
}

using ReplacementFileTest = FileFixture;

TEST_F(ReplacementFileTest, AFailingWriteLeavesTheOldFileAndNothingBesideIt) {
    const struct {
        const char* name;
        FileWriteCall write;
    } disks[] = {{"full at once", &FullAtOnce}, {"full after ten bytes", &FullAfterTenBytes}};
    const std::wstring target = Path(L"figures.csv");
    for (const auto& disk : disks) {
        Write(target, "earlier figures");
        ReplacementFile file(target, disk.write);
        ASSERT_EQ(file.Open(), static_cast<DWORD>(ERROR_SUCCESS)) << disk.name;
        EXPECT_EQ(file.Write(std::string(100, 'x')), static_cast<DWORD>(ERROR_DISK_FULL))
            << disk.name;
        EXPECT_EQ(file.Write("more"), static_cast<DWORD>(ERROR_DISK_FULL)) << disk.name;
        EXPECT_EQ(file.Commit(), static_cast<DWORD>(ERROR_DISK_FULL)) << disk.name;
        EXPECT_EQ(file.Keep(), L"") << disk.name << ": an incomplete file is not kept";
        EXPECT_EQ(Read(target), "earlier figures") << disk.name;
    }
    EXPECT_EQ(Content(), std::vector<std::wstring>{L"figures.csv"});
    EXPECT_NE(SystemErrorText(ERROR_DISK_FULL).find("(system error 112)"), std::string::npos);
}

TEST_F(ReplacementFileTest, TargetsThatCannotBeReplacedAreRefusedBeforeAnyWrite) {
    Write(Path(L"read-only.csv"), "kept");
    ASSERT_TRUE(::SetFileAttributesW(Path(L"read-only.csv").c_str(), FILE_ATTRIBUTE_READONLY));
    Write(Path(L"held.csv"), "kept");
    HANDLE holder = ::CreateFileW(Path(L"held.csv").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(::CreateDirectoryW(Path(L"logs").c_str(), nullptr));
    Write(Path(L"logs\\inside.csv"), "kept");
    const struct {
        const wchar_t* name;
        DWORD refusal;
    } cases[] = {
        {L"logs", ERROR_DIRECTORY_NOT_SUPPORTED},
        {L"read-only.csv", ERROR_ACCESS_DENIED},
        {L"held.csv", ERROR_SHARING_VIOLATION},
        {L"no such folder\\new.csv", ERROR_PATH_NOT_FOUND},
        {L"new.csv", ERROR_SUCCESS},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReplacementRefusal(Path(c.name)), c.refusal) << c.name;
        ReplacementFile file(Path(c.name));
        EXPECT_EQ(file.Open(), c.refusal) << c.name;
    }
    ::CloseHandle(holder);
    ::SetFileAttributesW(Path(L"read-only.csv").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Read(Path(L"read-only.csv")), "kept");
    EXPECT_EQ(Read(Path(L"held.csv")), "kept");
    EXPECT_EQ(Read(Path(L"logs\\inside.csv")), "kept");
    EXPECT_EQ(Content(), (std::vector<std::wstring>{L"held.csv", L"logs", L"read-only.csv"}));
}

TEST_F(ReplacementFileTest, AFinishedFileThatCannotReplaceTheTargetIsKept) {
    const std::wstring target = Path(L"keys.csv");
    Write(target, "earlier recording");
    ReplacementFile file(target);
    ASSERT_EQ(file.Open(), static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_EQ(file.Write("5000 frames"), static_cast<DWORD>(ERROR_SUCCESS));
    // A spreadsheet opens the target meanwhile.
    HANDLE holder = ::CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(file.Commit(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    ::CloseHandle(holder);
    const std::wstring kept = file.Keep();
    EXPECT_EQ(Read(kept), "5000 frames");
    EXPECT_EQ(Read(target), "earlier recording");
    EXPECT_EQ(Content().size(), 2u);
}

// Against a real file system that fills up: tests/capture/outside.sh mounts a small one and
// names a folder on it in PALVEX_SMALL_DISK.
TEST_F(ReplacementFileTest, ADiskThatFillsUpLeavesTheOldFile) {
    const char* small = std::getenv("PALVEX_SMALL_DISK");
    if (small == nullptr) {
        GTEST_SKIP() << "needs a small file system: run tests/capture/outside.sh small-disk";
    }
    const std::wstring target =
        InFolder(std::wstring(small, small + std::strlen(small)), L"figures.csv");
    Write(target, "earlier figures");
    ReplacementFile file(target);
    ASSERT_EQ(file.Open(), static_cast<DWORD>(ERROR_SUCCESS));
    DWORD error = ERROR_SUCCESS;
    const std::string block(1 << 16, 'x');
    for (int blocks = 0; blocks < 1024 && error == ERROR_SUCCESS; ++blocks) {
        error = file.Write(block);
    }
    EXPECT_TRUE(error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) << error;
    EXPECT_EQ(file.Commit(), error);
    EXPECT_EQ(Read(target), "earlier figures");
}

}  // namespace
