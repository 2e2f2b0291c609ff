#pragma once
// A report list's cells in colours of their own: the list's custom drawing asked down to every
// cell, and colour(draw) called for each (draw.nmcd.dwItemSpec the row, draw.iSubItem the
// column), which sets the cell's clrText and clrTextBk or leaves them.

#include <windows.h>
#include <commctrl.h>

template <class Colour>
LRESULT CustomDrawCells(NMHDR* header, Colour colour) {
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    switch (draw->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            colour(*draw);
            return CDRF_DODEFAULT;
        default:
            return CDRF_DODEFAULT;
    }
}
