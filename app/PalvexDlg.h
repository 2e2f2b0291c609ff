#pragma once
// The main window: device panel, tab pages, channel check boxes and About box. It is the
// wiring between its controls and the acquisition session (the device panel's four states,
// every exchange with the adapter on the session's thread) and the review of a recording:
// a click becomes a command, and the typed results that come back through one queue become
// messages, button states, boxes and pages.
//
// The key evaluation page judges the recording shown, whichever it is, off the window's thread.
//
// While the device is closed the window can also show a recording file that Palvex or
// palvex-capture wrote: named on the command line, or dropped onto the window. It is shown
// as after "停止接收", with the device still closed and the file's name in the device panel.

#include "app/AcquisitionSession.h"
#include "app/ChannelBoxes.h"
#include "app/DlgKeyEvaluation.h"
#include "app/DlgListData.h"
#include "app/KeyEvaluation.h"
#include "app/PageTabs.h"
#include "app/PanelButtons.h"
#include "app/RecordingReview.h"
#include "app/WindowResults.h"
#include "chartpage/DlgChart.h"
#include "device/store/TouchSampleStore.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "res/resource.h"

#include <string>

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
    std::wstring RecordingName() const;
    // True while a recording is being read.
    bool LoadingRecording() const { return review_.Loading(); }

    const TouchSampleStore& Store() const { return session_.Store(); }
    const DlgListData& ListPage() const { return listPage_; }
    const DlgChart& ChartPage() const { return chartPage_; }
    const DlgKeyEvaluation& EvaluationPage() const { return evaluationPage_; }
    // True while a command waits for the adapter's answer (the panel's buttons are disabled).
    bool WaitingForAdapter() const { return session_.Waiting(); }

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
    LRESULT OnWindowResults(WPARAM, LPARAM);
    LRESULT OnDropFiles(WPARAM drop, LPARAM);
    LRESULT OnOpenRecordingAtStart(WPARAM, LPARAM);

    void OnOpenDevice();
    void OnCloseDevice();
    void OnContinueReceiving();
    void OnStopReceiving();
    void OnClearData();
    void OnExportData();
    void OnChannelBox(UINT id);
    void OnSelectAll();
    void OnClearSelection();

    // The results of the session's commands and of the recording's load.
    void Show(const DeviceOpened& opened);
    void Show(const StreamingStarted& started);
    void Show(const ReceivingStopped& stopped);
    void Show(const ReceivingEnded& ended);
    void Show(const RecordingProgress& progress);
    void Show(const RecordingRead& read);
    void Show(const KeysEvaluated& evaluated);

    // Asks for the figures of the recording shown (the rows of the data page) with the page's
    // settings: again and again while receiving, once otherwise.
    void Evaluate();
    // Draws the levels of the row selected on the "差值" chart; none selected, none drawn.
    void ShowLevels(const KeyFigures* key);
    // Stops a load that runs and puts the recording shown aside as closing the device does:
    // the table keeps its rows, the boxes go.
    void SetRecordingAside();
    // "记录：name" for the recording shown; empty while none is.
    void ShowRecordingName();
    // Sets the boxes and both pages up for the store's channels.
    void ShowStore(std::size_t channels);
    void ShowPanel();
    // The device closed: the recording set aside, the panel and the status closed.
    void ShowClosed();
    void Warn(const std::wstring& text, const std::wstring& caption);
    void ShowChannels(bool show);
    // Ends receiving, drops the queued commands and results: what comes after does nothing.
    void BeginClosing();

    // Declared in the order in which they are built and, reversed, torn down.
    HICON icon_;
    int connected_ = 0;
    DlgChart chartPage_;
    DlgListData listPage_;
    DlgKeyEvaluation evaluationPage_;
    PageTabs pages_;
    ChannelBoxes channelBoxes_;
    PanelButtons panelButtons_;
    CStatic statusText_;
    CComboBox deviceModel_;
    CStatic recordingText_;
    std::wstring recordingAtStart_;
    SharedWindowResults results_;
    RecordingReview review_;
    // Near the end, so that it ends early: its adapter thread tells the data page of new frames.
    AcquisitionSession session_;
    // Last: it reads the session's store and the rows the data page keeps.
    KeyEvaluation evaluation_;
};
