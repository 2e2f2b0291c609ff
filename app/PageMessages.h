#pragma once
// Window messages that the data list page answers. The main dialog calls the page's member
// functions, which WM_LIST_SETUP and WM_LIST_CLEAR run too, for other senders; WM_LIST_APPEND
// comes from the adapter's thread.

#include <windows.h>

constexpr UINT WM_LIST_SETUP = WM_USER + 200;   // lParam: address of the touch sample store
constexpr UINT WM_LIST_APPEND = WM_USER + 201;  // posted by the adapter's thread
constexpr UINT WM_LIST_CLEAR = WM_USER + 202;
