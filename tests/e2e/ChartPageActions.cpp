#include "tests/e2e/ChartPageActions.h"

#include <string>

#include "res/resource.h"

namespace {

LPARAM PointIn(HWND window, double x, double y) {
    RECT client{};
    ::GetClientRect(window, &client);
    return MAKELPARAM(static_cast<int>(client.right * x), static_cast<int>(client.bottom * y));
}

}  // namespace

void ScrollCharts(const PalvexWindow& window, int scrollCode) {
    HWND bar = ::GetDlgItem(window.ChartPage(), IDC_WINDOW_SCROLL);
    ::SendMessageW(window.ChartPage(), WM_HSCROLL, MAKEWPARAM(scrollCode, 0),
                   reinterpret_cast<LPARAM>(bar));
}

void DragInChart(const PalvexWindow& window, int chartId, double fromX, double toX, double y) {
    HWND chart = ::GetDlgItem(window.ChartPage(), chartId);
    constexpr int kSteps = 5;
    ::SendMessageW(chart, WM_LBUTTONDOWN, MK_LBUTTON, PointIn(chart, fromX, y));
    for (int step = 1; step <= kSteps; ++step) {
        const double x = fromX + (toX - fromX) * step / kSteps;
        ::SendMessageW(chart, WM_MOUSEMOVE, MK_LBUTTON, PointIn(chart, x, y));
    }
    ::SendMessageW(chart, WM_LBUTTONUP, 0, PointIn(chart, toX, y));
}

void EnterPointCount(const PalvexWindow& window, int count) {
    HWND edit = ::GetDlgItem(window.ChartPage(), IDC_X_POINT_COUNT);
    const std::wstring text = std::to_wstring(count);
    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    // Posted: a refused count opens a message box.
    ::PostMessageW(window.ChartPage(), WM_COMMAND, MAKEWPARAM(IDC_X_POINT_COUNT, EN_KILLFOCUS),
                   reinterpret_cast<LPARAM>(edit));
}
