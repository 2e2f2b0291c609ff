#include "framework/Wnd.h"

#include "framework/CallbackWall.h"

#include <mutex>
#include <unordered_map>

namespace {
// Which object each bound window belongs to. Looked up for every message the window gets, so
// it is kept in the process: a window property costs a round trip to the window server under
// Wine, several per message.
class Bindings {
  public:
    CWnd* Find(HWND hwnd) {
        std::lock_guard guard(lock_);
        const auto found = objects_.find(hwnd);
        return found != objects_.end() ? found->second : nullptr;
    }
    void Add(HWND hwnd, CWnd* object) {
        std::lock_guard guard(lock_);
        objects_[hwnd] = object;
    }
    void Remove(HWND hwnd, const CWnd* object) {
        std::lock_guard guard(lock_);
        const auto found = objects_.find(hwnd);
        if (found != objects_.end() && found->second == object) {
            objects_.erase(found);
        }
    }

  private:
    std::mutex lock_;
    std::unordered_map<HWND, CWnd*> objects_;
};

Bindings& BoundWindows() {
    static Bindings bindings;
    return bindings;
}
}  // namespace

CWnd::~CWnd() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        UnsubclassWindow();
    }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (hwnd == nullptr) {
        return nullptr;
    }
    return BoundWindows().Find(hwnd);
}

void CWnd::Bind(HWND hwnd) {
    m_hWnd = hwnd;
    BoundWindows().Add(hwnd, this);
}

void CWnd::Unbind() {
    if (m_hWnd != nullptr) {
        BoundWindows().Remove(m_hWnd, this);
    }
    m_hWnd = nullptr;
}

bool CWnd::SubclassWindow(HWND hwnd) {
    if (hwnd == nullptr || m_hWnd != nullptr || FromHandle(hwnd) != nullptr) {
        return false;
    }
    Bind(hwnd);
    auto previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (previous != &CWnd::StaticWndProc) {
        superProc_ = previous;
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc));
    }
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, const CWnd& parent) {
    return SubclassWindow(::GetDlgItem(parent.m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
    HWND hwnd = m_hWnd;
    if (hwnd != nullptr && superProc_ != nullptr) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(superProc_));
    }
    superProc_ = nullptr;
    Unbind();
    return hwnd;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

bool CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam) != FALSE;
}

std::wstring CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(m_hWnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

RECT CWnd::GetClientRect() const {
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    return rect;
}

void CWnd::MoveWindow(const RECT& rect, bool repaint) const {
    ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 repaint ? TRUE : FALSE);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT milliseconds) const {
    return ::SetTimer(m_hWnd, id, milliseconds, nullptr);
}

void CWnd::SetIcon(HICON icon, bool big) const {
    SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

bool CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) {
        return false;
    }
    return ::DestroyWindow(m_hWnd) != FALSE;
}

bool CWnd::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (superProc_ != nullptr) {
        return ::CallWindowProcW(superProc_, m_hWnd, message, wParam, lParam);
    }
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(current_.message, current_.wParam, current_.lParam);
}

bool CWnd::DispatchMessageToObject(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // Handlers may send messages to their own window; the outer one is back for Default()
    // however the inner handler ends, an exception included.
    class CurrentMessageScope {
      public:
        CurrentMessageScope(CurrentMessage& current, CurrentMessage inner)
            : current_(current), outer_(current) {
            current_ = inner;
        }
        ~CurrentMessageScope() { current_ = outer_; }
        CurrentMessageScope(const CurrentMessageScope&) = delete;
        CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

      private:
        CurrentMessage& current_;
        CurrentMessage outer_;
    };
    const CurrentMessageScope scope(current_, {message, wParam, lParam});
    return OnWndMsg(message, wParam, lParam, result);
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* object = FromHandle(hwnd);
    if (object == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // A handler that throws leaves the message to its default handling, which also ends
    // what must not be left undone, such as validating the region of a WM_PAINT.
    const LRESULT result = CallBehindWall(
        message,
        [&] {
            LRESULT handled = 0;
            if (!object->DispatchMessageToObject(message, wParam, lParam, handled)) {
                handled = object->DefWindowProc(message, wParam, lParam);
            }
            return handled;
        },
        [&] { return object->DefWindowProc(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        // The window is gone; the object outlives it and must not keep its handle.
        object->UnsubclassWindow();
    }
    return result;
}
