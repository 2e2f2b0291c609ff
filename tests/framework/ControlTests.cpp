// Control wrappers whose buffers and conversions could lose text.

#include "framework/Controls.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ListControl, KeepsLongCellTextsAndColumnTitlesWhole) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    HWND host = ::CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    // An ordinary report list, which holds its own cell texts.
    CListCtrl list;
    ASSERT_TRUE(list.SubclassWindow(::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT,
                                                      0, 0, 400, 300, host, nullptr,
                                                      ::GetModuleHandleW(nullptr), nullptr)));

    EXPECT_EQ(list.InsertColumn(0, L"序号", LVCFMT_CENTER, 50), 0);
    EXPECT_EQ(list.InsertColumn(1, L"32 噪声值", LVCFMT_CENTER, 100), 1);
    EXPECT_EQ(list.GetColumnCount(), 2);
    EXPECT_EQ(list.GetColumnTitle(1), L"32 噪声值");

    std::wstring longText(300, L'7');
    ASSERT_EQ(list.InsertItem(0, L""), 0);
    EXPECT_TRUE(list.SetItemText(0, 0, L"-65535"));
    EXPECT_TRUE(list.SetItemText(0, 1, longText));
    EXPECT_EQ(list.GetItemText(0, 0), L"-65535");
    EXPECT_EQ(list.GetItemText(0, 1), longText);
    EXPECT_EQ(list.GetItemCount(), 1);

    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_TRUE(list.DeleteColumn(1));
    EXPECT_EQ(list.GetColumnCount(), 1);
    ::DestroyWindow(host);
}

}  // namespace
