// The channel boxes, "全选" and "反选": what they tell the chart page, read from the messages
// that reach its window.

#include "tests/app/PalvexUnderTest.h"

#include "app/PageMessages.h"

#include <utility>

namespace {

// WM_CHART_SHOW_CHANNEL messages that reached the chart page: (channel, shown).
std::vector<std::pair<WPARAM, LPARAM>> g_shown;
WNDPROC g_chartPageProcedure = nullptr;

LRESULT CALLBACK RecordShowChannel(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHART_SHOW_CHANNEL) {
        g_shown.emplace_back(wParam, lParam);
    }
    return ::CallWindowProcW(g_chartPageProcedure, window, message, wParam, lParam);
}

class ChannelSelectionTest : public PalvexTest {
  protected:
    void CreateAndWatch() {
        Create();
        HWND tabs = ::GetDlgItem(hwnd, IDC_PAGE_TABS);
        for (HWND page = ::GetWindow(tabs, GW_CHILD); page != nullptr;
             page = ::GetWindow(page, GW_HWNDNEXT)) {
            if (::GetDlgItem(page, IDC_WINDOW_SCROLL) != nullptr) {
                chartPage_ = page;
            }
        }
        ASSERT_NE(chartPage_, nullptr);
        g_shown.clear();
        g_chartPageProcedure = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
            chartPage_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordShowChannel)));
    }
    void TearDown() override {
        if (chartPage_ != nullptr && ::IsWindow(chartPage_)) {
            ::SetWindowLongPtrW(chartPage_, GWLP_WNDPROC,
                                reinterpret_cast<LONG_PTR>(g_chartPageProcedure));
        }
        PalvexTest::TearDown();
    }

    using Shown = std::vector<std::pair<WPARAM, LPARAM>>;
    HWND chartPage_ = nullptr;
};

TEST_F(ChannelSelectionTest, WithoutChannelsSelectAllAndClearChangeAndSendNothing) {
    CreateAndWatch();
    Click(IDC_SELECT_ALL);
    Click(IDC_CLEAR_SELECTION);
    EXPECT_TRUE(g_shown.empty());
    EXPECT_FALSE(BoxChecked(1));

    Click(IDC_OPEN_DEVICE);
    Click(IDC_CLOSE_DEVICE);
    Click(IDC_SELECT_ALL);
    EXPECT_TRUE(g_shown.empty());
    EXPECT_FALSE(BoxChecked(1));
}

TEST_F(ChannelSelectionTest, BoxesSendTheirChannelAndState) {
    CreateAndWatch();
    Click(IDC_OPEN_DEVICE);
    EXPECT_TRUE(g_shown.empty()) << "checking the boxes at open sends nothing";

    ::SendMessageW(Box(2), BM_CLICK, 0, 0);  // checked at open: the click unchecks it
    ::SendMessageW(Box(2), BM_CLICK, 0, 0);
    EXPECT_EQ(g_shown, (Shown{{2, 0}, {2, 1}}));

    // Channels 5 and 9 have the ids out of the run of the others.
    g_shown.clear();
    Click(IDC_CHANNEL_5);
    Click(IDC_CHANNEL_9);
    EXPECT_EQ(g_shown, (Shown{{5, 0}, {9, 0}}));
}

TEST_F(ChannelSelectionTest, SelectAllChecksAndShowsEveryChannelOfTheStore) {
    CreateAndWatch();
    Click(IDC_OPEN_DEVICE);
    ::SendMessageW(Box(1), BM_CLICK, 0, 0);
    ::SendMessageW(Box(3), BM_CLICK, 0, 0);
    g_shown.clear();
    Click(IDC_SELECT_ALL);
    EXPECT_EQ(g_shown, (Shown{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
    for (int channel = 1; channel <= 4; ++channel) {
        EXPECT_TRUE(BoxChecked(channel)) << channel;
    }
    EXPECT_FALSE(BoxChecked(5) || BoxEnabled(5));
}

TEST_F(ChannelSelectionTest, ClearSelectionHidesAllRatherThanInverting) {
    CreateAndWatch();
    Click(IDC_OPEN_DEVICE);
    ::SendMessageW(Box(2), BM_CLICK, 0, 0);
    ::SendMessageW(Box(4), BM_CLICK, 0, 0);  // 1 and 3 checked, 2 and 4 not
    g_shown.clear();
    Click(IDC_CLEAR_SELECTION);
    EXPECT_EQ(g_shown, (Shown{{1, 0}, {2, 0}, {3, 0}, {4, 0}}));
    for (int channel = 1; channel <= 4; ++channel) {
        EXPECT_FALSE(BoxChecked(channel)) << channel;
    }
    EXPECT_TRUE(BoxEnabled(4));
}

}  // namespace
