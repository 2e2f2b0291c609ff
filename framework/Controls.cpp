#include "framework/Controls.h"

#include <vector>

std::wstring CComboBox::GetLBText(int index) const {
    LRESULT length = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

int CTabCtrl::InsertItem(int index, const std::wstring& caption) const {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    return static_cast<int>(
        SendMessage(TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

int CListCtrl::InsertColumn(int index, const std::wstring& title, int format, int width) const {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(title.c_str());
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(&column)));
}

ListPaintPause::ListPaintPause(const CListCtrl& list)
    : list_(list.m_hWnd), header_(ListView_GetHeader(list.m_hWnd)) {
    ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    if (header_ != nullptr) {
        ::SendMessageW(header_, WM_SETREDRAW, FALSE, 0);
    }
}

ListPaintPause::~ListPaintPause() {
    if (header_ != nullptr) {
        ::SendMessageW(header_, WM_SETREDRAW, TRUE, 0);
    }
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(list_, nullptr, nullptr,
                   RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

int CListCtrl::GetColumnCount() const {
    HWND header = ListView_GetHeader(m_hWnd);
    return header != nullptr ? Header_GetItemCount(header) : 0;
}

std::wstring CListCtrl::GetColumnTitle(int index, int maxLength) const {
    std::vector<wchar_t> buffer(static_cast<size_t>(maxLength) + 1, L'\0');
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = buffer.data();
    column.cchTextMax = maxLength + 1;
    if (SendMessage(LVM_GETCOLUMNW, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(&column)) == FALSE) {
        return {};
    }
    return buffer.data();
}

int CListCtrl::InsertItem(int index, const std::wstring& text) const {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListCtrl::SetItemText(int item, int subItem, const std::wstring& text) const {
    LVITEMW cell{};
    cell.iSubItem = subItem;
    cell.pszText = const_cast<wchar_t*>(text.c_str());
    return SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(item),
                       reinterpret_cast<LPARAM>(&cell)) != FALSE;
}

std::wstring CListCtrl::GetItemText(int item, int subItem) const {
    // The list copies at most the buffer's size; grow until the text fits.
    for (size_t size = 64;; size *= 2) {
        std::wstring buffer(size, L'\0');
        LVITEMW cell{};
        cell.iSubItem = subItem;
        cell.pszText = buffer.data();
        cell.cchTextMax = static_cast<int>(size);
        auto length = static_cast<size_t>(SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                                                      reinterpret_cast<LPARAM>(&cell)));
        if (length + 1 < size || size >= 65536) {
            buffer.resize(length);
            return buffer;
        }
    }
}

bool CScrollBar::GetScrollInfo(SCROLLINFO& info, UINT mask) const {
    info.cbSize = sizeof(info);
    info.fMask = mask;
    return ::GetScrollInfo(m_hWnd, SB_CTL, &info) != FALSE;
}

bool CScrollBar::SetScrollInfo(SCROLLINFO& info, bool redraw) const {
    info.cbSize = sizeof(info);
    ::SetScrollInfo(m_hWnd, SB_CTL, &info, redraw ? TRUE : FALSE);
    return true;
}
