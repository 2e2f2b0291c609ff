// The program as it appears before any device is opened, and the ways a user ends it.

#include "app/ChannelBoxes.h"
#include "res/resource.h"
#include "tests/e2e/PalvexScenario.h"

namespace {

using StartupScenario = PalvexScenario;

TEST_F(StartupScenario, StartsClosedAndSwitchesPages) {
    Launch({});
    EXPECT_EQ(ReadButtonStates(Window()), kClosed);
    EXPECT_EQ(Window().Text(IDC_STATUS_TEXT), L"未连接");
    for (int id : kChannelBoxIds) {
        EXPECT_FALSE(Window().Enabled(id)) << "channel box " << id;
        EXPECT_FALSE(Window().Checked(id)) << "channel box " << id;
    }
    EXPECT_EQ(Window().ShownTab(), 0);
    EXPECT_TRUE(::IsWindowVisible(Window().ChartPage()));
    EXPECT_FALSE(::IsWindowVisible(Window().ListPage()));

    Window().ShowTab(1);
    EXPECT_EQ(Window().ShownTab(), 1);
    EXPECT_TRUE(::IsWindowVisible(Window().ListPage()));
    EXPECT_FALSE(::IsWindowVisible(Window().ChartPage()));
    SavePicture(L"data-page");

    Window().ShowTab(0);
    EXPECT_TRUE(::IsWindowVisible(Window().ChartPage()));
    EXPECT_FALSE(::IsWindowVisible(Window().ListPage()));
}

TEST_F(StartupScenario, EscapeKeyEndsTheProgram) {
    Launch({});
    GUITHREADINFO focus{};
    focus.cbSize = sizeof focus;
    ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(Window().Handle(), nullptr), &focus));
    HWND target = focus.hwndFocus != nullptr ? focus.hwndFocus : Window().Handle();
    ::PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 1);
    ::PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    EXPECT_EQ(process_.WaitForExit(15s), std::optional<DWORD>(0));
}

}  // namespace
