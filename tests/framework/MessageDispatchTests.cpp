// Message tables, subclassing and default handling of the window layer.

#include "framework/Dialog.h"
#include "framework/MessageMap.h"
#include "framework/Wnd.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT WM_PROBE = WM_APP + 1;

class ProbeWindow : public CWnd {
  public:
    std::vector<int> calls;

  protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        static const auto messages = MessageMap<ProbeWindow>()
                                         .Message(WM_PROBE, &ProbeWindow::OnProbe)
                                         .Message(WM_SETTEXT, &ProbeWindow::OnSetText)
                                         .Command(7, &ProbeWindow::OnClicked)
                                         .Command(7, &ProbeWindow::OnKillFocus, EN_KILLFOCUS)
                                         .Commands({20, 21}, &ProbeWindow::OnOneOf)
                                         .Notify(9, NM_CLICK, &ProbeWindow::OnNotify);
        return messages.Dispatch(*this, message, wParam, lParam, result) ||
               CWnd::OnWndMsg(message, wParam, lParam, result);
    }

  private:
    LRESULT OnProbe(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam * 2); }
    LRESULT OnSetText(WPARAM, LPARAM) {
        calls.push_back(100);
        return Default();  // the original control still stores the text
    }
    void OnClicked() { calls.push_back(1); }
    void OnKillFocus() { calls.push_back(2); }
    void OnOneOf(UINT id) { calls.push_back(static_cast<int>(id)); }
    LRESULT OnNotify(NMHDR* header) { return static_cast<LRESULT>(header->idFrom + 1000); }
};

// A top-level window to host child page dialogs.
HWND CreateHost() {
    return ::CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

HWND CreateStatic() {
    return ::CreateWindowExW(0, L"STATIC", L"start", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

TEST(MessageDispatch, RoutesMessagesCommandsAndNotificationsToTheirHandlers) {
    ProbeWindow probe;
    HWND hwnd = CreateStatic();
    ASSERT_TRUE(probe.SubclassWindow(hwnd));

    EXPECT_EQ(::SendMessageW(hwnd, WM_PROBE, 21, 0), 42);

    ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), 0);
    ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(7, EN_KILLFOCUS), 0);
    ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(7, 1), 0);          // accelerator
    ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(7, EN_CHANGE), 0);  // no handler
    ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(21, BN_CLICKED), 0);
    EXPECT_EQ(probe.calls, (std::vector<int>{1, 2, 1, 21}));

    NMHDR header{hwnd, 9, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(::SendMessageW(hwnd, WM_NOTIFY, 9, reinterpret_cast<LPARAM>(&header)), 1009);
    header.code = static_cast<UINT>(NM_DBLCLK);
    EXPECT_EQ(::SendMessageW(hwnd, WM_NOTIFY, 9, reinterpret_cast<LPARAM>(&header)), 0);

    ::DestroyWindow(hwnd);
}

TEST(MessageDispatch, HandlersCanAddToTheOriginalProcedure) {
    ProbeWindow probe;
    HWND hwnd = CreateStatic();
    ASSERT_TRUE(probe.SubclassWindow(hwnd));
    probe.SetWindowText(L"changed");
    EXPECT_EQ(probe.calls, (std::vector<int>{100}));
    EXPECT_EQ(probe.GetWindowText(), L"changed");
    ::DestroyWindow(hwnd);
}

TEST(MessageDispatch, ADestroyedWindowLeavesItsObjectUnbound) {
    ProbeWindow probe;
    HWND hwnd = CreateStatic();
    ASSERT_TRUE(probe.SubclassWindow(hwnd));
    EXPECT_EQ(CWnd::FromHandle(hwnd), &probe);
    EXPECT_FALSE(ProbeWindow().SubclassWindow(hwnd)) << "a window binds to one object";

    ::DestroyWindow(hwnd);
    EXPECT_EQ(probe.m_hWnd, nullptr);

    // The object can be bound again, and unbinding gives the window its procedure back.
    HWND other = CreateStatic();
    auto original = ::GetWindowLongPtrW(other, GWLP_WNDPROC);
    ASSERT_TRUE(probe.SubclassWindow(other));
    EXPECT_NE(::GetWindowLongPtrW(other, GWLP_WNDPROC), original);
    EXPECT_EQ(probe.UnsubclassWindow(), other);
    EXPECT_EQ(::GetWindowLongPtrW(other, GWLP_WNDPROC), original);
    EXPECT_EQ(CWnd::FromHandle(other), nullptr);
    EXPECT_EQ(::SendMessageW(other, WM_PROBE, 21, 0), 0);
    ::DestroyWindow(other);
}

// A page dialog whose control-colour handler runs the dialog manager's own handling first.
class ColourDialog : public CDialog {
  public:
    ColourDialog() : CDialog(IDD_LIST_PAGE) {}
    int initCalls = 0;

  protected:
    BOOL OnInitDialog() override {
        ++initCalls;
        return CDialog::OnInitDialog();
    }
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        static const auto messages =
            MessageMap<ColourDialog>().Message(WM_CTLCOLORSTATIC, &ColourDialog::OnColour);
        return messages.Dispatch(*this, message, wParam, lParam, result) ||
               CDialog::OnWndMsg(message, wParam, lParam, result);
    }

  private:
    LRESULT OnColour(WPARAM wParam, LPARAM) {
        LRESULT brush = Default();
        ::SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 255));
        return brush;
    }
};

TEST(DialogDispatch, DefaultHandlingInsideAHandlerDoesNotRecurse) {
    HWND host = CreateHost();
    ColourDialog dialog;
    ASSERT_TRUE(dialog.Create(host));
    EXPECT_EQ(dialog.initCalls, 1);

    HDC dc = ::CreateCompatibleDC(nullptr);
    LRESULT brush = ::SendMessageW(dialog.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(dialog.GetDlgItem(IDC_DATA_LIST)));
    EXPECT_NE(brush, 0);
    EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 255));
    ::DeleteDC(dc);

    dialog.EndDialog(IDCANCEL);  // modeless: destroys the window
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    ::DestroyWindow(host);
}

}  // namespace
