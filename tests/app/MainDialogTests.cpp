// The main dialog as a user finds it: read back from the real controls under Wine.

#include "app/ChannelBoxes.h"
#include "app/PalvexDlg.h"
#include "tests/app/PageWindows.h"
#include "res/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <algorithm>
#include <vector>

namespace {

std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[256] = {};
    ::GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

std::wstring TabCaption(HWND tabs, int index) {
    wchar_t buffer[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 64;
    TabCtrl_GetItem(tabs, index, &item);
    return buffer;
}

COLORREF StatusColourAsked(HWND dialog, HWND control) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::SetTextColor(dc, RGB(1, 2, 3));
    LRESULT brush = ::SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(control));
    COLORREF colour = ::GetTextColor(dc);
    ::DeleteDC(dc);
    EXPECT_NE(brush, 0) << "the base dialog's brush is returned";
    return colour;
}

void InitCommonControlsOnce() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    ASSERT_TRUE(done);
}

class MainDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitCommonControlsOnce();
        ASSERT_TRUE(dialog_.Create(nullptr));
        hwnd_ = dialog_.m_hWnd;
        dialog_.ShowWindow(SW_SHOW);  // as the modal loop does
        tabs_ = ::GetDlgItem(hwnd_, IDC_PAGE_TABS);
        chartPage_ = PageHolding(tabs_, IDC_WINDOW_SCROLL);
        listPage_ = PageHolding(tabs_, IDC_DATA_LIST);
        evaluationPage_ = PageHolding(tabs_, IDC_EVALUATION_TABLE);
        ASSERT_NE(chartPage_, nullptr);
        ASSERT_NE(listPage_, nullptr);
        ASSERT_NE(evaluationPage_, nullptr);
    }

    void TearDown() override { dialog_.DestroyWindow(); }

    bool Enabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(hwnd_, id)) != FALSE; }

    CPalvexDlg dialog_;
    HWND hwnd_ = nullptr;
    HWND tabs_ = nullptr;
    HWND chartPage_ = nullptr;
    HWND listPage_ = nullptr;
    HWND evaluationPage_ = nullptr;
};

TEST_F(MainDialogTest, StartsClosedWithOnlyOpenDeviceOfTheDevicePanelEnabled) {
    EXPECT_EQ(TextOf(hwnd_), L"Ostrel-TK");
    EXPECT_TRUE(Enabled(IDC_OPEN_DEVICE));
    EXPECT_FALSE(Enabled(IDC_CONTINUE_RECEIVING));
    EXPECT_FALSE(Enabled(IDC_STOP_RECEIVING));
    EXPECT_FALSE(Enabled(IDC_CLOSE_DEVICE));
    for (int id : {IDC_CLEAR_DATA, IDC_EXPORT_DATA, IDC_SELECT_ALL, IDC_CLEAR_SELECTION}) {
        EXPECT_TRUE(Enabled(id)) << id;
    }
    EXPECT_EQ(TextOf(::GetDlgItem(hwnd_, IDC_STATUS_TEXT)), L"未连接");
    EXPECT_EQ(dialog_.Connected(), 0);
    EXPECT_EQ(TextOf(::GetDlgItem(hwnd_, IDC_OPEN_DEVICE)), L"打开设备");
    EXPECT_EQ(TextOf(::GetDlgItem(hwnd_, IDC_STOP_RECEIVING)), L"停止接收");
}

TEST_F(MainDialogTest, ChannelBoxesAreDisabledUncheckedAndLaidOutInChannelOrder) {
    RECT previous{};
    for (int channel = 1; channel <= kChannelBoxCount; ++channel) {
        HWND box = ::GetDlgItem(hwnd_, kChannelBoxIds[static_cast<size_t>(channel - 1)]);
        ASSERT_NE(box, nullptr) << channel;
        EXPECT_EQ(TextOf(box), std::to_wstring(channel));
        EXPECT_FALSE(::IsWindowEnabled(box)) << channel;
        EXPECT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED) << channel;

        // Four to a row, rows top to bottom: channel 1 top left, 32 bottom right.
        RECT rect{};
        ::GetWindowRect(box, &rect);
        if (channel > 1) {
            if ((channel - 1) % 4 == 0) {
                EXPECT_GT(rect.top, previous.top) << channel;
                EXPECT_LT(rect.left, previous.left) << channel;
            } else {
                EXPECT_EQ(rect.top, previous.top) << channel;
                EXPECT_GT(rect.left, previous.left) << channel;
            }
        }
        previous = rect;
    }
}

TEST_F(MainDialogTest, DeviceModelListIsHiddenWithItsOnlyEntrySelected) {
    HWND model = ::GetDlgItem(hwnd_, IDC_DEVICE_MODEL);
    EXPECT_FALSE(::IsWindowVisible(model));
    EXPECT_EQ(::SendMessageW(model, CB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(::SendMessageW(model, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(TextOf(model), L"RQV5D1470");
}

TEST_F(MainDialogTest, ChartPageIsShownOnTheFirstTabBelowTheTabRow) {
    ASSERT_EQ(TabCtrl_GetItemCount(tabs_), 3);
    EXPECT_EQ(TabCaption(tabs_, 0), L"曲线显示");
    EXPECT_EQ(TabCaption(tabs_, 1), L"数据显示");
    EXPECT_EQ(TabCaption(tabs_, 2), L"按键评估");
    EXPECT_EQ(TabCtrl_GetCurSel(tabs_), 0);
    EXPECT_TRUE(::IsWindowVisible(chartPage_));
    EXPECT_FALSE(::IsWindowVisible(listPage_));
    EXPECT_FALSE(::IsWindowVisible(evaluationPage_));

    RECT client{};
    ::GetClientRect(tabs_, &client);
    for (HWND page : {chartPage_, listPage_, evaluationPage_}) {
        RECT rect{};
        ::GetWindowRect(page, &rect);
        ::MapWindowPoints(nullptr, tabs_, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, client.left + 2);
        EXPECT_EQ(rect.top, client.top + 25);
        EXPECT_EQ(rect.right, client.right);
        EXPECT_EQ(rect.bottom, client.bottom);
    }
}

TEST_F(MainDialogTest, ClickingATabShowsItsPageAndHidesTheOthers) {
    ClickTab(tabs_, 1);
    EXPECT_EQ(TabCtrl_GetCurSel(tabs_), 1);
    EXPECT_TRUE(::IsWindowVisible(listPage_));
    EXPECT_FALSE(::IsWindowVisible(chartPage_));

    ClickTab(tabs_, 1);  // the tab that is already current
    EXPECT_TRUE(::IsWindowVisible(listPage_));
    EXPECT_FALSE(::IsWindowVisible(chartPage_));

    ClickTab(tabs_, 2);
    EXPECT_TRUE(::IsWindowVisible(evaluationPage_));
    EXPECT_FALSE(::IsWindowVisible(listPage_));

    ClickTab(tabs_, 0);
    EXPECT_TRUE(::IsWindowVisible(chartPage_));
    EXPECT_FALSE(::IsWindowVisible(listPage_));
    EXPECT_FALSE(::IsWindowVisible(evaluationPage_));
}

// Tab reaches the controls of the page shown from the main window's own: on the key evaluation
// page its settings, its buttons and its table, in that order.
TEST_F(MainDialogTest, TabReachesTheEvaluationPagesSettingsAndTable) {
    ClickTab(tabs_, 2);
    ::SetFocus(tabs_);
    std::vector<int> reached;
    while (reached.size() < 40 && (reached.empty() || reached.back() != IDC_EVALUATION_TABLE)) {
        MSG tab{::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        ::IsDialogMessageW(hwnd_, &tab);
        reached.push_back(::GetDlgCtrlID(::GetFocus()));
    }
    const auto settings = std::find(reached.begin(), reached.end(), IDC_PASS_MARK);
    EXPECT_EQ(std::vector<int>(settings, reached.end()),
              (std::vector<int>{IDC_PASS_MARK, IDC_MIN_TOUCH_FRAMES, IDC_NOISE_STATISTIC,
                                IDC_EXPORT_REPORT, IDC_EXPORT_EVALUATION, IDC_EVALUATION_TABLE}));
}

TEST_F(MainDialogTest, StatusTextIsRedExactlyWhileConnected) {
    HWND status = ::GetDlgItem(hwnd_, IDC_STATUS_TEXT);
    EXPECT_EQ(StatusColourAsked(hwnd_, status), RGB(0, 0, 0));

    dialog_.SetConnected(1);
    EXPECT_EQ(TextOf(status), L"已连接");
    EXPECT_EQ(StatusColourAsked(hwnd_, status), RGB(255, 0, 0));

    // Only the status text changes colour, not its label beside it.
    HWND label = ::GetWindow(status, GW_HWNDPREV);
    ASSERT_EQ(TextOf(label), L"设备状态：");
    EXPECT_NE(StatusColourAsked(hwnd_, label), RGB(255, 0, 0));

    dialog_.SetConnected(0);
    EXPECT_EQ(TextOf(status), L"未连接");
    EXPECT_EQ(StatusColourAsked(hwnd_, status), RGB(0, 0, 0));
}

TEST_F(MainDialogTest, OffersItsIconForDraggingAndAsWindowIcon) {
    auto dragIcon = ::SendMessageW(hwnd_, WM_QUERYDRAGICON, 0, 0);
    EXPECT_NE(dragIcon, 0);
    EXPECT_EQ(::SendMessageW(hwnd_, WM_GETICON, ICON_BIG, 0), dragIcon);
    EXPECT_EQ(::SendMessageW(hwnd_, WM_GETICON, ICON_SMALL, 0), dragIcon);
}

// Runs the dialog modally and, once it is up, hands its window to an action; a watchdog
// ends the dialog with -2 should the action fail to end it.
INT_PTR RunModalAnd(void (*action)(HWND)) {
    InitCommonControlsOnce();
    static void (*pending)(HWND) = nullptr;
    pending = action;
    UINT_PTR act = ::SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        HWND dialog = ::FindWindowW(L"#32770", L"Ostrel-TK");
        if (dialog != nullptr && pending != nullptr) {
            pending(dialog);
        }
    });
    UINT_PTR watchdog = ::SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        if (HWND dialog = ::FindWindowW(L"#32770", L"Ostrel-TK")) {
            ::EndDialog(dialog, -2);
        }
    });
    CPalvexDlg dialog;
    INT_PTR result = dialog.DoModal();
    ::KillTimer(nullptr, act);
    ::KillTimer(nullptr, watchdog);
    return result;
}

TEST(ModalMainDialogTest, EscapeEndsIt) {
    INT_PTR result = RunModalAnd([](HWND dialog) {
        HWND focus = ::GetFocus();
        ::PostMessageW(focus != nullptr ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST(ModalMainDialogTest, TheCloseBoxEndsIt) {
    INT_PTR result =
        RunModalAnd([](HWND dialog) { ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(result, IDCANCEL);
}

}  // namespace
