#pragma once
// The main window: device panel, tab pages, channel check boxes and About box. Its buttons
// open and close the device, start and stop receiving, clear the recording, export the data
// table and choose the channels whose lines the charts draw.
//
// Opening, "继续接收" and "停止接收" exchange with the adapter, which can take seconds when it
// does not answer: the buttons hand that to the adapter's thread (ReceiveWorker), the panel
// waits with every device button disabled, and the answer, posted back as a message, finishes
// the command with its messages and button states.
//
// While the device is closed the window can also show a recording file that Palvex or
// palvex-capture wrote: named on the command line, or dropped onto the window. It is read on a
// thread of its own (RecordingLoader) and then shown as after "停止接收", with the device still
// closed and the file's name in the device panel.

#include "app/ChannelBoxes.h"
#include "app/DlgListData.h"
#include "app/ReceiveWorker.h"
#include "app/RecordingLoader.h"
#include "chartpage/DlgChart.h"
#include "device/connection/DeviceConnection.h"
#include "device/store/TouchSampleStore.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "res/resource.h"

#include <array>
#include <cstdint>
#include <functional>
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

    // Reads the recording at path and shows it once it is read; refused with a message while
    // the device is open. A file that is not a recording leaves the window as it was.
    void OpenRecording(const std::wstring& path);
    // The recording to open once the window shows, as named on the command line.
    void OpenRecordingAtStart(std::wstring path) { recordingAtStart_ = std::move(path); }
    // The file name of the recording shown; empty while the window shows no file.
    const std::wstring& RecordingName() const { return recordingName_; }
    // True while a recording is being read.
    bool LoadingRecording() const { return loading_ != 0; }

    const TouchSampleStore& Store() const { return store_; }
    const DlgListData& ListPage() const { return listPage_; }
    const DlgChart& ChartPage() const { return chartPage_; }
    // True while a command waits for the adapter's answer (the panel's buttons are disabled).
    bool WaitingForAdapter() const { return awaited_ != Operation::None; }

    static constexpr int kPageCount = 2;

    // The three states of the device panel's buttons.
    enum class PanelState { Closed, Opened, Receiving, Waiting };

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
    LRESULT OnAdapterAnswer(WPARAM operation, LPARAM result);
    LRESULT OnDropFiles(WPARAM drop, LPARAM);
    LRESULT OnOpenRecordingAtStart(WPARAM, LPARAM);
    LRESULT OnRecordingProgress(WPARAM load, LPARAM percent);
    LRESULT OnRecordingRead(WPARAM load, LPARAM);

    // The commands that wait for the adapter's thread; an answer names its command.
    enum class Operation : WPARAM { None, Open, Continue, Stop, ReceivingEnded };
    // Disables the panel's buttons until the answer to operation arrives.
    void Await(Operation operation);
    // Runs job on the adapter's thread; its result comes back to OnAdapterAnswer.
    void Ask(Operation operation, std::function<LPARAM()> job);

    void OnOpenDevice();
    void OnAdapterOpened(LPARAM result);
    void OnCloseDevice();
    void OnContinueReceiving();
    void OnStreamingStarted(bool started);
    void OnStopReceiving();
    void OnReceivingStopped();
    void OnReceivingEnded(ReceiveWorker::End end);
    void OnClearData();
    void OnExportData();
    void OnChannelBox(UINT id);
    // Stops a load that runs and puts the recording shown aside as closing the device does:
    // the table keeps its rows, the boxes go.
    void SetRecordingAside();
    void ShowRecording(std::wstring name);
    // "记录：name" for the recording shown; empty while none is.
    void ShowRecordingName();
    // Checks and enables the boxes of the store's channels, the others cleared and disabled.
    void ShowChannelBoxes(std::size_t channels);
    void OnSelectAll();
    void OnClearSelection();

    // Ends receiving and drops the adapter's queued jobs; commands and answers handled after
    // this do nothing.
    void BeginClosing();
    void ShowPanelState(PanelState state);
    void Warn(const std::wstring& text, const std::wstring& caption);
    // The channels of the store, in store order.
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
    std::array<CButton, kChannelBoxCount> channelBoxes_;  // by channel
    CButton openButton_;
    CButton continueButton_;
    CButton stopButton_;
    CButton closeButton_;
    CButton clearButton_;
    CButton exportButton_;
    CStatic statusText_;
    CComboBox deviceModel_;
    bool closing_ = false;
    CStatic recordingText_;
    PanelState panel_ = PanelState::Closed;
    Operation awaited_ = Operation::None;
    std::wstring recordingAtStart_;
    std::wstring recordingName_;
    std::wstring loadingName_;
    unsigned loading_ = 0;         // the number of the load that runs; 0 when none does
    HWND reportWindow_ = nullptr;  // set before the first load; where the loader posts to
    RecordingLoader loader_;
    // Last, so that it ends first: its jobs use the store, the device and the pages.
    ReceiveWorker worker_;
};
