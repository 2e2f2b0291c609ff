// Exceptions thrown by message handlers stop at the window and dialog procedures: reported on
// the debugger output, and the window keeps answering.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "framework/Dialog.h"
#include "framework/MessageMap.h"
#include "framework/Wnd.h"
#include "res/resource.h"

namespace {

constexpr UINT WM_THROW = WM_APP + 1;
constexpr UINT WM_THROW_ODD = WM_APP + 2;
constexpr UINT WM_ANSWER = WM_APP + 3;

// Collects what the program writes to the debugger output. OutputDebugString raises a
// continuable exception that a vectored handler sees before the system swallows it.
class DebugOutput {
  public:
    DebugOutput() : handler_(::AddVectoredExceptionHandler(1, &DebugOutput::Catch)) {
        text_.clear();
    }
    ~DebugOutput() { ::RemoveVectoredExceptionHandler(handler_); }
    DebugOutput(const DebugOutput&) = delete;
    DebugOutput& operator=(const DebugOutput&) = delete;

    static const std::string& Text() { return text_; }

  private:
    static LONG CALLBACK Catch(EXCEPTION_POINTERS* pointers) {
        const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
        if (record.ExceptionCode == DBG_PRINTEXCEPTION_C && record.NumberParameters >= 2) {
            text_ += reinterpret_cast<const char*>(record.ExceptionInformation[1]);
        } else if (record.ExceptionCode == 0x4001000A && record.NumberParameters >= 2) {
            // DBG_PRINTEXCEPTION_WIDE_C, raised first by newer systems; the text is ASCII.
            for (auto* wide = reinterpret_cast<const wchar_t*>(record.ExceptionInformation[1]);
                 *wide != L'\0'; ++wide) {
                text_ += static_cast<char>(*wide);
            }
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }

    static inline std::string text_;
    void* handler_;
};

class ThrowingWindow : public CWnd {
  protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        static const auto messages = MessageMap<ThrowingWindow>()
                                         .Message(WM_THROW, &ThrowingWindow::OnThrow)
                                         .Message(WM_THROW_ODD, &ThrowingWindow::OnThrowOdd)
                                         .Message(WM_ANSWER, &ThrowingWindow::OnAnswer)
                                         .Message(WM_SETTEXT, &ThrowingWindow::OnSetText)
                                         .Message(WM_PAINT, &ThrowingWindow::OnPaint);
        return messages.Dispatch(*this, message, wParam, lParam, result) ||
               CWnd::OnWndMsg(message, wParam, lParam, result);
    }

  private:
    LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler gave up"); }
    LRESULT OnThrowOdd(WPARAM, LPARAM) { throw 7; }
    LRESULT OnAnswer(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam + 1); }
    LRESULT OnSetText(WPARAM, LPARAM) {
        SendMessage(WM_THROW);  // an inner handler fails; the outer one carries on
        return Default();
    }
    LRESULT OnPaint(WPARAM, LPARAM) { throw std::logic_error("cannot paint"); }
};

HWND CreatePopup() {
    return ::CreateWindowExW(0, L"STATIC", L"start", WS_POPUP, 0, 0, 80, 40, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

TEST(CallbackWall, AWindowWhoseHandlerThrowsKeepsAnswering) {
    const DebugOutput output;
    ThrowingWindow window;
    HWND hwnd = CreatePopup();
    ASSERT_TRUE(window.SubclassWindow(hwnd));

    EXPECT_EQ(::SendMessageW(hwnd, WM_THROW, 0, 0), 0);
    EXPECT_NE(DebugOutput::Text().find("0x00008001"), std::string::npos) << DebugOutput::Text();
    EXPECT_NE(DebugOutput::Text().find("handler gave up"), std::string::npos);
    EXPECT_EQ(::SendMessageW(hwnd, WM_THROW_ODD, 0, 0), 0);
    EXPECT_NE(DebugOutput::Text().find("0x00008002: unknown exception"), std::string::npos);
    EXPECT_EQ(::SendMessageW(hwnd, WM_ANSWER, 41, 0), 42);

    // The outer handler's Default() still handles its own message after the inner one threw.
    window.SetWindowText(L"changed");
    EXPECT_EQ(window.GetWindowText(), L"changed");

    // A paint handler that throws still gets its region validated by the default handling,
    // so the window is not asked to paint over and over.
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::SendMessageW(hwnd, WM_PAINT, 0, 0);
    EXPECT_FALSE(::GetUpdateRect(hwnd, nullptr, FALSE));
    EXPECT_NE(DebugOutput::Text().find("0x0000000F: cannot paint"), std::string::npos);
    ::DestroyWindow(hwnd);
}

class ThrowingPage : public CDialog {
  public:
    ThrowingPage() : CDialog(IDD_LIST_PAGE) {}

  protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        throw std::runtime_error("page set-up failed");
    }
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        static const auto messages = MessageMap<ThrowingPage>()
                                         .Message(WM_THROW, &ThrowingPage::OnThrow)
                                         .Message(WM_ANSWER, &ThrowingPage::OnAnswer);
        return messages.Dispatch(*this, message, wParam, lParam, result) ||
               CDialog::OnWndMsg(message, wParam, lParam, result);
    }

  private:
    LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("command failed"); }
    LRESULT OnAnswer(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam * 3); }
};

TEST(CallbackWall, ADialogWhoseHandlersThrowIsCreatedAndKeepsAnswering) {
    const DebugOutput output;
    HWND host = CreatePopup();
    ThrowingPage page;
    ASSERT_TRUE(page.Create(host));
    EXPECT_NE(DebugOutput::Text().find("0x00000110: page set-up failed"), std::string::npos)
        << DebugOutput::Text();

    EXPECT_EQ(::SendMessageW(page.m_hWnd, WM_THROW, 0, 0), 0);
    EXPECT_NE(DebugOutput::Text().find("command failed"), std::string::npos);
    EXPECT_EQ(::SendMessageW(page.m_hWnd, WM_ANSWER, 5, 0), 15);

    page.EndDialog(IDCANCEL);
    EXPECT_EQ(page.m_hWnd, nullptr);
    ::DestroyWindow(host);
}

}  // namespace
