#pragma once
// The main window: device panel, tab pages, channel check boxes and About box. Its buttons
// open and close the device, start and stop the receive worker, clear the recording, export
// the data table and choose the channels whose lines the charts draw.

#include "app/ChannelBoxes.h"
#include "app/DlgListData.h"
#include "app/ReceiveWorker.h"
#include "chartpage/DlgChart.h"
#include "device/DeviceConnection.h"
#include "device/TouchSampleStore.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "res/resource.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CPalvexDlg : public CDialogEx {
  public:
    // Loads Tessik.dll and Dravik.dll from the program's folder.
    CPalvexDlg();
    // Loads them from libraryFolder instead, for tests.
    explicit CPalvexDlg(std::wstring libraryFolder);

    // The connected flag and the status text that shows it: 1 after a successful
    // handshake ("已连接", red), 0 otherwise ("未连接", black).
    int Connected() const { return connected_; }
    void SetConnected(int connected);

    const TouchSampleStore& Store() const { return store_; }
    const DlgListData& ListPage() const { return listPage_; }

    static constexpr int kPageCount = 2;

    // The three states of the device panel's buttons.
    enum class PanelState { Closed, Opened, Receiving };

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnOK() override;
    void OnCancel() override;
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnCtlColor(WPARAM, LPARAM);
    LRESULT OnTabSelectionChanged(NMHDR*);
    LRESULT OnDestroy(WPARAM, LPARAM);

    void OnOpenDevice();
    void OnCloseDevice();
    void OnContinueReceiving();
    void OnStopReceiving();
    void OnClearData();
    void OnExportData();
    void OnChannelBox(UINT id);
    void OnSelectAll();
    void OnClearSelection();

    // Stops the worker before anything is torn down; commands handled after this do nothing.
    void BeginClosing();
    void ShowPanelState(PanelState state);
    void Warn(const std::wstring& text, const std::wstring& caption);
    // The channel numbers of the store, in store order.
    std::vector<std::uint32_t> StoreChannels() const;
    void ShowChannels(bool show);

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
    bool closing_ = false;
    // Last, so that it is stopped first: the worker uses the store, the device and the page.
    ReceiveWorker worker_;
};
