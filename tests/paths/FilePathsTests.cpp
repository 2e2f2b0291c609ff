// Splitting a path into its folder and its file name, and joining a name to a folder.

#include <gtest/gtest.h>

#include "device/paths/FilePaths.h"

namespace {

TEST(FilePaths, TheFolderKeepsItsSeparatorSoThatARootStaysTheRoot) {
    EXPECT_EQ(FolderOf(L"C:\\dir\\data.csv"), L"C:\\dir\\");
    EXPECT_EQ(FolderOf(L"C:\\data.csv"), L"C:\\");  // not "C:", the drive's current folder
    EXPECT_EQ(FolderOf(L"//station/share/log.csv"), L"//station/share/");
    EXPECT_EQ(FolderOf(L"data.csv"), L"");
}

TEST(FilePaths, TheFileNameIsWhatFollowsTheLastSeparatorOfEitherKind) {
    EXPECT_EQ(FileNameOf(L"C:\\dir\\data.csv"), L"data.csv");
    EXPECT_EQ(FileNameOf(L"C:/dir\\sub/data.csv"), L"data.csv");
    EXPECT_EQ(FileNameOf(L"data.csv"), L"data.csv");
    EXPECT_EQ(FileNameOf(L"C:\\dir\\"), L"");
}

TEST(FilePaths, ANameGoesIntoTheFolderBehindExactlyOneSeparator) {
    EXPECT_EQ(InFolder(L"C:\\dir", L"Tessik.dll"), L"C:\\dir\\Tessik.dll");
    EXPECT_EQ(InFolder(L"C:\\dir\\", L"Tessik.dll"), L"C:\\dir\\Tessik.dll");
    EXPECT_EQ(InFolder(L"C:/dir/", L"Tessik.dll"), L"C:/dir/Tessik.dll");
    EXPECT_EQ(InFolder(FolderOf(L"C:\\Palvex.exe"), L"Dravik.dll"), L"C:\\Dravik.dll");
}

}  // namespace
