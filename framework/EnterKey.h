#pragma once
// Enter typed into a control of a page (a child dialog inside another dialog).
//
// The dialog manager hands Enter to the top-level dialog as its OK command, whichever page the
// control sits on, and the main dialog's OK ends the program. After RouteEnterToPage(page),
// Enter in any control of the page is the page's own OK command instead.

#include <windows.h>

// Covers every control that the page holds now; the windows nested inside a control (a list's
// header) never have the focus and are left alone.
void RouteEnterToPage(HWND page);
