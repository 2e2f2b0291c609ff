#pragma once
// A report list view with the owner-data style: it holds no rows itself, only their count, and
// asks its parent for the text of each cell it shows (LVN_GETDISPINFO).

#include "framework/Controls.h"

class CVirtualListCtrl : public CListCtrl {
  public:
    // Sets the number of rows without repainting the rows already shown or scrolling.
    void SetRowCount(int count) const {
        ListView_SetItemCountEx(m_hWnd, count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    }
    void DeleteAllColumns() const {
        while (DeleteColumn(0)) {
        }
    }
};
