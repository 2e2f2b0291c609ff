#pragma once
// The main window: device panel, tab pages, channel check boxes and About box.

#include "app/ChannelBoxes.h"
#include "app/DlgListData.h"
#include "chartpage/DlgChart.h"
#include "device/DeviceConnection.h"
#include "device/TouchSampleStore.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "res/resource.h"

#include <array>

class CPalvexDlg : public CDialogEx {
  public:
    CPalvexDlg();

    // The connected flag and the status text that shows it: 1 after a successful
    // handshake ("已连接", red), 0 otherwise ("未连接", black).
    int Connected() const { return connected_; }
    void SetConnected(int connected);

    static constexpr int kPageCount = 2;

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnCtlColor(WPARAM, LPARAM);
    LRESULT OnTabSelectionChanged(NMHDR*);

    void CreatePages();
    void ShowPage(int index);

    // Declared in the order in which they are built and, reversed, torn down.
    TouchSampleStore store_;
    HICON icon_;
    int connected_ = 0;
    DeviceConnection device_;  // unloads Dravik, then Tessik, when destroyed
    CTabCtrl tabs_;
    DlgChart chartPage_;
    DlgListData listPage_;
    std::array<CDialog*, kPageCount> pages_{};
    int currentPage_ = 0;
    std::array<CButton, kChannelBoxCount> channelBoxes_;
    std::array<CButton*, kChannelBoxCount> channelBoxTable_{};  // index: channel number - 1
    CButton openButton_;
    CButton continueButton_;
    CButton stopButton_;
    CButton closeButton_;
    CButton clearButton_;
    CButton exportButton_;
    CStatic statusText_;
    CComboBox deviceModel_;
};
