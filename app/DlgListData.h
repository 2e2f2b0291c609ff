#pragma once
// The "数据显示" page: one table row of latest values per received frame.

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "res/resource.h"

class DlgListData : public CDialogEx {
  public:
    DlgListData() : CDialogEx(IDD_LIST_PAGE) {}

    const CListCtrl& List() const { return list_; }

  protected:
    void DoDataExchange(DataExchange& dx) override { dx.Control(IDC_DATA_LIST, list_); }

  private:
    CListCtrl list_;
};
