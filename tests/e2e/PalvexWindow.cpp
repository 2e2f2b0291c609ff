#include "tests/e2e/PalvexWindow.h"

#include <commctrl.h>

#include "res/resource.h"
#include "tests/e2e/RemoteBuffer.h"
#include "tests/app/PageWindows.h"

PalvexWindow::PalvexWindow(HANDLE process, HWND main)
    : process_(process), main_(main), tabs_(::GetDlgItem(main, IDC_PAGE_TABS)) {
    chartPage_ = PageHolding(tabs_, IDC_WINDOW_SCROLL);
    listPage_ = PageHolding(tabs_, IDC_DATA_LIST);
    evaluationPage_ = PageHolding(tabs_, IDC_EVALUATION_TABLE);
}

void PalvexWindow::Click(int id) const {
    ::PostMessageW(Control(id), BM_CLICK, 0, 0);
}

bool PalvexWindow::Enabled(int id) const {
    return ::IsWindowEnabled(Control(id)) != FALSE;
}

bool PalvexWindow::Checked(int id) const {
    return ::SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::wstring PalvexWindow::Text(int id) const {
    return TextOn(main_, id);
}

std::wstring PalvexWindow::TextOn(HWND page, int id) const {
    // WM_GETTEXT crosses into the program; GetWindowText would read an edit's caption instead.
    wchar_t buffer[256] = {};
    ::SendMessageW(::GetDlgItem(page, id), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

bool PalvexWindow::Answers(std::chrono::milliseconds limit) const {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                 static_cast<UINT>(limit.count()), &result) != 0;
}

void PalvexWindow::ShowTab(int index) const {
    RemoteBuffer remote(process_, sizeof(RECT));
    RECT item{};
    if (!::SendMessageW(tabs_, TCM_GETITEMRECT, static_cast<WPARAM>(index), remote.At()) ||
        !remote.Read(&item, sizeof item)) {
        return;
    }
    const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    ::SendMessageW(tabs_, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(tabs_, WM_LBUTTONUP, 0, point);
}

int PalvexWindow::ShownTab() const {
    return static_cast<int>(::SendMessageW(tabs_, TCM_GETCURSEL, 0, 0));
}

RemoteListView PalvexWindow::DataList() const {
    return RemoteListView(process_, ::GetDlgItem(listPage_, IDC_DATA_LIST));
}

RemoteListView PalvexWindow::EvaluationTable() const {
    return RemoteListView(process_, ::GetDlgItem(evaluationPage_, IDC_EVALUATION_TABLE));
}
