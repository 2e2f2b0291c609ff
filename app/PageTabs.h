#pragma once
// The main window's tab control and the pages it hosts, one shown at a time: the chart page
// on the first tab, the data page on the second, the key evaluation on the third.

#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"

#include <array>

class PageTabs {
  public:
    void Bind(DataExchange& dx);
    // Adds the tabs and creates the pages inside the tab control, below its row of tabs, the
    // chart page shown.
    void Create(CDialog& chartPage, CDialog& listPage, CDialog& evaluationPage);
    // Shows the page of the tab selected (TCN_SELCHANGE).
    void ShowSelected();

  private:
    CTabCtrl tabs_;
    std::array<CDialog*, 3> pages_{};
    std::size_t shown_ = 0;
};
