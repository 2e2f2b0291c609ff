#pragma once
// Thin wrappers of the standard and common controls that the dialogs bind by id.

#include "framework/Wnd.h"

#include <commctrl.h>

#include <string>

class CButton : public CWnd {
  public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int state) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

class CStatic : public CWnd {};

class CEdit : public CWnd {};

class CComboBox : public CWnd {
  public:
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) const {
        return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index)));
    }
    std::wstring GetLBText(int index) const;
};

class CTabCtrl : public CWnd {
  public:
    int InsertItem(int index, const std::wstring& caption) const;
    int GetItemCount() const { return TabCtrl_GetItemCount(m_hWnd); }
    int GetCurSel() const { return TabCtrl_GetCurSel(m_hWnd); }
    int SetCurSel(int index) const { return TabCtrl_SetCurSel(m_hWnd, index); }
};

class CListCtrl : public CWnd {
  public:
    DWORD GetExtendedStyle() const { return ListView_GetExtendedListViewStyle(m_hWnd); }
    void SetExtendedStyle(DWORD style) const { ListView_SetExtendedListViewStyle(m_hWnd, style); }

    int InsertColumn(int index, const std::wstring& title, int format, int width) const;
    bool DeleteColumn(int index) const { return ListView_DeleteColumn(m_hWnd, index) != FALSE; }
    int GetColumnCount() const;
    std::wstring GetColumnTitle(int index, int maxLength = 255) const;

    int GetItemCount() const { return ListView_GetItemCount(m_hWnd); }
    int InsertItem(int index, const std::wstring& text) const;
    bool SetItemText(int item, int subItem, const std::wstring& text) const;
    std::wstring GetItemText(int item, int subItem) const;
    bool DeleteAllItems() const { return ListView_DeleteAllItems(m_hWnd) != FALSE; }
    bool EnsureVisible(int item, bool partialOk) const {
        return ListView_EnsureVisible(m_hWnd, item, partialOk ? TRUE : FALSE) != FALSE;
    }
};

// Holds back the painting of a list and its header for its lifetime, then repaints both once:
// inserting a column otherwise repaints the whole header each time, which for a table of 129
// columns cost most of building it.
class ListPaintPause {
  public:
    explicit ListPaintPause(const CListCtrl& list);
    ~ListPaintPause();
    ListPaintPause(const ListPaintPause&) = delete;
    ListPaintPause& operator=(const ListPaintPause&) = delete;

  private:
    HWND list_;
    HWND header_;
};

class CScrollBar : public CWnd {
  public:
    void SetScrollRange(int minimum, int maximum, bool redraw = true) const {
        ::SetScrollRange(m_hWnd, SB_CTL, minimum, maximum, redraw ? TRUE : FALSE);
    }
    int SetScrollPos(int position, bool redraw = true) const {
        return ::SetScrollPos(m_hWnd, SB_CTL, position, redraw ? TRUE : FALSE);
    }
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    bool GetScrollInfo(SCROLLINFO& info, UINT mask = SIF_ALL) const;
    bool SetScrollInfo(SCROLLINFO& info, bool redraw = true) const;
    void ShowScrollBar(bool show) const { ::ShowScrollBar(m_hWnd, SB_CTL, show ? TRUE : FALSE); }
};
