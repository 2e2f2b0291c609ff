#pragma once
// CWnd: a C++ object bound to one window handle. Binding subclasses the window so that
// its messages reach the object's message table (OnWndMsg) first; what the table does not
// handle goes to the window's original procedure.

#include <windows.h>

#include <string>

class CWnd {
  public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object bound to a window, or null when none is.
    static CWnd* FromHandle(HWND hwnd);

    // Binds this object to an existing window and routes its messages here.
    bool SubclassWindow(HWND hwnd);
    // Binds this object to the child control of parent with the given id.
    bool SubclassDlgItem(UINT id, const CWnd& parent);
    // Gives the window its original procedure back and unbinds it.
    HWND UnsubclassWindow();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }

    void EnableWindow(bool enable) const { ::EnableWindow(m_hWnd, enable ? TRUE : FALSE); }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    void ShowWindow(int command) const { ::ShowWindow(m_hWnd, command); }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    bool IsIconic() const { return ::IsIconic(m_hWnd) != FALSE; }
    void SetWindowText(const std::wstring& text) const { ::SetWindowTextW(m_hWnd, text.c_str()); }
    std::wstring GetWindowText() const;

    RECT GetClientRect() const;
    void MoveWindow(const RECT& rect, bool repaint = true) const;
    void Invalidate(bool erase = true) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void UpdateWindow() const { ::UpdateWindow(m_hWnd); }

    UINT_PTR SetTimer(UINT_PTR id, UINT milliseconds) const;
    bool KillTimer(UINT_PTR id) const { return ::KillTimer(m_hWnd, id) != FALSE; }

    void SetIcon(HICON icon, bool big) const;
    bool DestroyWindow();

  protected:
    // The message-map lookup: derived classes dispatch through their MessageMap and fall
    // back to their base class. Returns false when the message is not handled here.
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The default handling of a message this object did not handle.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs the default handling of the message being handled right now, for handlers
    // that add to it rather than replace it.
    LRESULT Default();

    // Window procedure for window classes whose windows are bound to a CWnd.
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Shared by StaticWndProc and the dialog procedure: remembers the message for
    // Default() and asks the message table.
    bool DispatchMessageToObject(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    void Bind(HWND hwnd);
    void Unbind();

  private:
    struct CurrentMessage {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };

    WNDPROC superProc_ = nullptr;  // the window's procedure before subclassing
    CurrentMessage current_;
};
