#include "app/PageTabs.h"

#include "framework/EnterKey.h"
#include "res/resource.h"

namespace {
constexpr wchar_t kChartPageTitle[] = L"曲线显示";
constexpr wchar_t kListPageTitle[] = L"数据显示";
constexpr wchar_t kEvaluationPageTitle[] = L"按键评估";
// The pages sit inside the tab control, below its row of tabs.
constexpr int kTabRowHeight = 25;
constexpr int kPageLeftInset = 2;
}  // namespace

void PageTabs::Bind(DataExchange& dx) {
    dx.Control(IDC_PAGE_TABS, tabs_);
}

void PageTabs::Create(CDialog& chartPage, CDialog& listPage, CDialog& evaluationPage) {
    tabs_.InsertItem(0, kChartPageTitle);
    tabs_.InsertItem(1, kListPageTitle);
    tabs_.InsertItem(2, kEvaluationPageTitle);
    pages_ = {&chartPage, &listPage, &evaluationPage};
    // The pages are the tab control's children: without this the dialog manager never looks
    // inside it, and Tab skips every control of every page.
    ::SetWindowLongPtrW(tabs_.m_hWnd, GWL_EXSTYLE,
                        ::GetWindowLongPtrW(tabs_.m_hWnd, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    RECT area = tabs_.GetClientRect();
    area.top += kTabRowHeight;
    area.left += kPageLeftInset;
    for (CDialog* page : pages_) {
        page->Create(tabs_.m_hWnd);
        page->MoveWindow(area, true);
        RouteEnterToPage(page->m_hWnd);
    }
    for (CDialog* page : pages_) {
        page->ShowWindow(page == &chartPage ? SW_SHOW : SW_HIDE);
    }
    shown_ = 0;
}

void PageTabs::ShowSelected() {
    const int selected = tabs_.GetCurSel();
    if (selected < 0 || static_cast<std::size_t>(selected) >= pages_.size()) {
        return;
    }
    pages_[shown_]->ShowWindow(SW_HIDE);
    shown_ = static_cast<std::size_t>(selected);
    pages_[shown_]->ShowWindow(SW_SHOW);
}
