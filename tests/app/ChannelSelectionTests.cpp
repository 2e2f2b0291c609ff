// The channel boxes, "全选" and "反选": which lines of the chart page they show and hide.

#include "tests/app/PalvexUnderTest.h"

namespace {

using ChannelSelectionTest = PalvexTest;

TEST_F(ChannelSelectionTest, WithoutChannelsSelectAllAndClearChangeNothing) {
    Create();
    Click(IDC_SELECT_ALL);
    Click(IDC_CLEAR_SELECTION);
    EXPECT_EQ(LinesShown(), "");
    EXPECT_FALSE(BoxChecked(1));

    Click(IDC_OPEN_DEVICE);
    ::SendMessageW(Box(1), BM_CLICK, 0, 0);
    Click(IDC_CLOSE_DEVICE);  // the charts keep their lines, the store has no channel
    Click(IDC_SELECT_ALL);
    EXPECT_EQ(LinesShown(), "0111");
    EXPECT_FALSE(BoxChecked(1));
}

TEST_F(ChannelSelectionTest, BoxesShowAndHideTheLinesOfTheirChannel) {
    SetVariable(L"TESSIK_SIM_CHANNELS", L"10");
    Create();
    Click(IDC_OPEN_DEVICE);
    EXPECT_EQ(LinesShown(), "1111111111");

    ::SendMessageW(Box(2), BM_CLICK, 0, 0);  // checked at open: the click unchecks it
    EXPECT_EQ(LinesShown(), "1011111111");
    ::SendMessageW(Box(2), BM_CLICK, 0, 0);
    EXPECT_EQ(LinesShown(), "1111111111");

    // Boxes 5 and 9 have ids out of the run of the others.
    ::SendMessageW(Box(5), BM_CLICK, 0, 0);
    ::SendMessageW(Box(9), BM_CLICK, 0, 0);
    EXPECT_EQ(LinesShown(), "1111011101");
}

TEST_F(ChannelSelectionTest, SelectAllChecksAndShowsEveryChannelOfTheStore) {
    Create();
    Click(IDC_OPEN_DEVICE);
    ::SendMessageW(Box(1), BM_CLICK, 0, 0);
    ::SendMessageW(Box(3), BM_CLICK, 0, 0);
    ASSERT_EQ(LinesShown(), "0101");
    Click(IDC_SELECT_ALL);
    EXPECT_EQ(LinesShown(), "1111");
    for (int channel = 1; channel <= 4; ++channel) {
        EXPECT_TRUE(BoxChecked(channel)) << channel;
    }
    EXPECT_FALSE(BoxChecked(5) || BoxEnabled(5));
}

TEST_F(ChannelSelectionTest, ClearSelectionHidesAllRatherThanInverting) {
    Create();
    Click(IDC_OPEN_DEVICE);
    ::SendMessageW(Box(2), BM_CLICK, 0, 0);
    ::SendMessageW(Box(4), BM_CLICK, 0, 0);  // 1 and 3 checked, 2 and 4 not
    ASSERT_EQ(LinesShown(), "1010");
    Click(IDC_CLEAR_SELECTION);
    EXPECT_EQ(LinesShown(), "0000");
    for (int channel = 1; channel <= 4; ++channel) {
        EXPECT_FALSE(BoxChecked(channel)) << channel;
    }
    EXPECT_TRUE(BoxEnabled(4));
}

}  // namespace
