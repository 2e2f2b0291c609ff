// Control wrappers whose buffers and conversions could lose text.

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ListPage : public CDialog {
  public:
    ListPage() : CDialog(IDD_LIST_PAGE) {}
    CListCtrl list;

  protected:
    void DoDataExchange(DataExchange& dx) override { ASSERT_TRUE(dx.Control(IDC_DATA_LIST, list)); }
};

TEST(ListControl, KeepsLongCellTextsAndColumnTitlesWhole) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    HWND host = ::CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    ListPage page;
    ASSERT_TRUE(page.Create(host));

    EXPECT_EQ(page.list.InsertColumn(0, L"序号", LVCFMT_CENTER, 50), 0);
    EXPECT_EQ(page.list.InsertColumn(1, L"32 噪声值", LVCFMT_CENTER, 100), 1);
    EXPECT_EQ(page.list.GetColumnCount(), 2);
    EXPECT_EQ(page.list.GetColumnTitle(1), L"32 噪声值");

    std::wstring longText(300, L'7');
    ASSERT_EQ(page.list.InsertItem(0, L""), 0);
    EXPECT_TRUE(page.list.SetItemText(0, 0, L"-65535"));
    EXPECT_TRUE(page.list.SetItemText(0, 1, longText));
    EXPECT_EQ(page.list.GetItemText(0, 0), L"-65535");
    EXPECT_EQ(page.list.GetItemText(0, 1), longText);
    EXPECT_EQ(page.list.GetItemCount(), 1);

    EXPECT_TRUE(page.list.DeleteAllItems());
    EXPECT_EQ(page.list.GetItemCount(), 0);
    EXPECT_TRUE(page.list.DeleteColumn(1));
    EXPECT_EQ(page.list.GetColumnCount(), 1);
    ::DestroyWindow(host);
}

}  // namespace
