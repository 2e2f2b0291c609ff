#pragma once
// The main window of a running Palvex, worked from outside through its controls, found by
// the ids in res/resource.h.

#include <windows.h>

#include <chrono>
#include <string>

#include "tests/e2e/RemoteListView.h"

class PalvexWindow {
  public:
    PalvexWindow(HANDLE process, HWND main);

    HWND Handle() const { return main_; }
    HWND Control(int id) const { return ::GetDlgItem(main_, id); }
    HWND ChartPage() const { return chartPage_; }
    HWND ListPage() const { return listPage_; }
    HWND EvaluationPage() const { return evaluationPage_; }

    // Posts the click: a click that opens a modal message box would block a sent one.
    void Click(int id) const;
    bool Enabled(int id) const;
    bool Checked(int id) const;
    std::wstring Text(int id) const;
    // The text of a control on a page.
    std::wstring TextOn(HWND page, int id) const;
    // The program answers a message within the limit.
    bool Answers(std::chrono::milliseconds limit) const;

    // Clicks a tab as a user does, so that the tab control sends its own notification.
    void ShowTab(int index) const;
    int ShownTab() const;
    RemoteListView DataList() const;
    RemoteListView EvaluationTable() const;

  private:
    HANDLE process_;
    HWND main_;
    HWND tabs_;
    HWND chartPage_ = nullptr;
    HWND listPage_ = nullptr;
    HWND evaluationPage_ = nullptr;
};
