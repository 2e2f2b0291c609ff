// A program folder without the HID transport library: the user is told, and nothing opens.

#include "res/resource.h"
#include "tests/e2e/PalvexScenario.h"
#include "tests/e2e/TopLevelWindows.h"

namespace {

using DeviceLibraryScenario = PalvexScenario;

// A copy of the program folder with Palvex.exe and Dravik.dll only.
std::wstring FolderWithoutTessik() {
    const std::wstring folder = WorkFolder() + L"\\without Tessik";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* file : {L"\\Palvex.exe", L"\\Dravik.dll"}) {
        ::CopyFileW((ProgramFolder() + file).c_str(), (folder + file).c_str(), FALSE);
    }
    ::DeleteFileW((folder + L"\\Tessik.dll").c_str());
    return folder;
}

TEST_F(DeviceLibraryScenario, MissingTessikIsReported) {
    Launch({}, FolderWithoutTessik());
    Window().Click(IDC_OPEN_DEVICE);

    ASSERT_TRUE(AnswerMessageBoxSaying(
        L"Sorvel", L"tessik 未加载!!!\n程序文件夹中没有 Tessik.dll。", L"message"));
    ASSERT_TRUE(AnswerMessageBoxSaying(L"Palvex", L"设备未连接！"));

    EXPECT_EQ(ReadButtonStates(Window()), kClosed);
    EXPECT_EQ(Window().Text(IDC_STATUS_TEXT), L"未连接");
    EXPECT_FALSE(WaitForMessageBox(process_.Id(), 1s).has_value()) << "one message too many";
}

}  // namespace
