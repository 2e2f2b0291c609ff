#pragma once
// Enter typed into a control of a page (a child dialog inside another dialog).
//
// The dialog manager hands Enter to the top-level dialog as its OK command, whichever page the
// control sits on, and the main dialog's OK ends the program. After RouteEnterToPage(page),
// Enter in any control of the page is the page's own OK command instead.

#include <windows.h>

// Covers every control that the page holds now, its nested windows included.
void RouteEnterToPage(HWND page);
