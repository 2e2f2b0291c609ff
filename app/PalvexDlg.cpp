#include "app/PalvexDlg.h"

#include "app/CsvExport.h"
#include "app/EvaluationRows.h"
#include "app/MainWindowTexts.h"
#include "app/ProgramName.h"
#include "device/connection/DeviceConnection.h"
#include "device/paths/FilePaths.h"
#include "device/recording/RecordingSource.h"
#include "device/recording/TextEncoding.h"
#include "framework/Gdi.h"
#include "framework/MessageMap.h"
#include "framework/Prompts.h"

#include <shellapi.h>

#include <cstring>
#include <memory>
#include <optional>
#include <utility>
#include <variant>

namespace {
constexpr COLORREF kConnectedColour = RGB(255, 0, 0);
constexpr COLORREF kDisconnectedColour = RGB(0, 0, 0);

// Posted by the result queue for every result: the next one is taken from the queue.
constexpr UINT WM_WINDOW_RESULTS = WM_APP + 1;
// Posted to itself by OnInitDialog, so that the file of the command line is read once the
// window shows and a message about it has its owner.
constexpr UINT WM_OPEN_RECORDING_AT_START = WM_APP + 4;
}  // namespace

CPalvexDlg::CPalvexDlg() : CPalvexDlg(DeviceConnection::ProgramFolder()) {}

CPalvexDlg::CPalvexDlg(std::wstring libraryFolder)
    : CDialogEx(IDD_PALVEX_DIALOG),
      icon_(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      results_(std::make_shared<WindowResults>()),
      review_(results_),
      session_(std::make_unique<DeviceConnection>(std::move(libraryFolder)), results_,
               [this] { listPage_.NotifyFramesArrived(); }),
      evaluation_(results_) {}

void CPalvexDlg::DoDataExchange(DataExchange& dx) {
    pages_.Bind(dx);
    channelBoxes_.Bind(dx);
    panelButtons_.Bind(dx);
    dx.Control(IDC_STATUS_TEXT, statusText_);
    dx.Control(IDC_DEVICE_MODEL, deviceModel_);
    dx.Control(IDC_RECORDING_NAME, recordingText_);
}

bool CPalvexDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_COMMAND &&
        (session_.Abandoned() || (session_.Waiting() && PanelButtons::Has(LOWORD(wParam))))) {
        // A late click once the window closes, or a posted one while the panel waits for the
        // adapter and its buttons are disabled.
        result = 0;
        return true;
    }
    static const auto messages = [] {
        MessageMap<CPalvexDlg> map;
        map.Message(WM_PAINT, &CPalvexDlg::OnPaint)
            .Message(WM_DESTROY, &CPalvexDlg::OnDestroy)
            .Message(WM_WINDOW_RESULTS, &CPalvexDlg::OnWindowResults)
            .Message(WM_DROPFILES, &CPalvexDlg::OnDropFiles)
            .Message(WM_OPEN_RECORDING_AT_START, &CPalvexDlg::OnOpenRecordingAtStart)
            .Command(IDC_OPEN_DEVICE, &CPalvexDlg::OnOpenDevice)
            .Command(IDC_CLOSE_DEVICE, &CPalvexDlg::OnCloseDevice)
            .Command(IDC_CONTINUE_RECEIVING, &CPalvexDlg::OnContinueReceiving)
            .Command(IDC_STOP_RECEIVING, &CPalvexDlg::OnStopReceiving)
            .Command(IDC_CLEAR_DATA, &CPalvexDlg::OnClearData)
            .Command(IDC_EXPORT_DATA, &CPalvexDlg::OnExportData)
            .Command(IDC_SELECT_ALL, &CPalvexDlg::OnSelectAll)
            .Command(IDC_CLEAR_SELECTION, &CPalvexDlg::OnClearSelection)
            .Message(WM_QUERYDRAGICON, &CPalvexDlg::OnQueryDragIcon)
            .Message(WM_CTLCOLORSTATIC, &CPalvexDlg::OnCtlColor)
            .Message(WM_CTLCOLORBTN, &CPalvexDlg::OnCtlColor)
            .Message(WM_CTLCOLOREDIT, &CPalvexDlg::OnCtlColor)
            .Message(WM_CTLCOLORLISTBOX, &CPalvexDlg::OnCtlColor)
            .Message(WM_CTLCOLORSCROLLBAR, &CPalvexDlg::OnCtlColor)
            .Message(WM_CTLCOLORDLG, &CPalvexDlg::OnCtlColor)
            .Notify(IDC_PAGE_TABS, TCN_SELCHANGE, &CPalvexDlg::OnTabSelectionChanged);
        for (int id : kChannelBoxIds) {
            map.Commands({static_cast<UINT>(id)}, &CPalvexDlg::OnChannelBox);
        }
        return map;
    }();
    return messages.Dispatch(*this, message, wParam, lParam, result) ||
           CDialogEx::OnWndMsg(message, wParam, lParam, result);
}

BOOL CPalvexDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();

    SetIcon(icon_, true);
    SetIcon(icon_, false);

    // Dialog templates carry no list entries, so the model list gets its one entry here.
    deviceModel_.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kDeviceModel));
    deviceModel_.SetCurSel(0);
    channelBoxes_.Show(0);

    pages_.Create(chartPage_, listPage_, evaluationPage_);
    evaluationPage_.settingsChanged = [this] { Evaluate(); };
    evaluationPage_.rowSelected = [this](const KeyFigures* key) { ShowLevels(key); };

    ShowPanel();
    const HWND window = m_hWnd;
    results_->Open([window] { ::PostMessageW(window, WM_WINDOW_RESULTS, 0, 0); });
    if (!recordingAtStart_.empty()) {
        PostMessage(WM_OPEN_RECORDING_AT_START);
    }
    return TRUE;
}

void CPalvexDlg::ShowPanel() {
    panelButtons_.Show(session_.Panel());
}

LRESULT CPalvexDlg::OnTabSelectionChanged(NMHDR*) {
    pages_.ShowSelected();
    return 0;
}

void CPalvexDlg::SetConnected(int connected) {
    connected_ = connected;
    statusText_.SetWindowText(connected_ == 1 ? kConnectedText : kDisconnectedText);
    statusText_.Invalidate();  // the colour comes with the next control-colour request
}

LRESULT CPalvexDlg::OnCtlColor(WPARAM wParam, LPARAM lParam) {
    LRESULT brush = Default();
    if (reinterpret_cast<HWND>(lParam) == statusText_.m_hWnd) {
        ::SetTextColor(reinterpret_cast<HDC>(wParam),
                       connected_ == 1 ? kConnectedColour : kDisconnectedColour);
    }
    return brush;
}

LRESULT CPalvexDlg::OnPaint(WPARAM, LPARAM) {
    if (!IsIconic()) {
        return Default();
    }
    PaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
    RECT client = GetClientRect();
    int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc.get(), x, y, icon_);
    return 0;
}

LRESULT CPalvexDlg::OnQueryDragIcon(WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(icon_);
}

void CPalvexDlg::Warn(const std::wstring& text, const std::wstring& caption) {
    Prompts().ShowMessage(m_hWnd, text, caption, MB_OK | MB_ICONEXCLAMATION);
}

LRESULT CPalvexDlg::OnWindowResults(WPARAM, LPARAM) {
    if (std::optional<WindowResult> result = results_->Take()) {
        std::visit([this](const auto& each) { Show(each); }, *result);
    }
    return 0;
}

void CPalvexDlg::OnOpenDevice() {
    SetRecordingAside();
    session_.Open();
    ShowPanel();
}

void CPalvexDlg::Show(const DeviceOpened& opened) {
    if (!session_.Accept(opened)) {
        return;
    }
    SetConnected(session_.Connected() ? 1 : 0);
    if (opened.connection != ConnectResult::Connected) {
        // The panel stays waiting while the library's box shows: that box has no owner and
        // leaves the dialog enabled, and a second open meanwhile would stack its boxes on it.
        const FailedOpenTexts texts = FailedOpenText(opened.connection, opened.why);
        if (!texts.library.empty()) {
            Prompts().ShowMessage(nullptr, texts.library, kLibraryNotLoadedCaption, MB_OK);
        }
        ShowPanel();
        Warn(texts.notConnected, kProgramName);
        return;
    }
    ShowPanel();
    if (!opened.layoutRead) {
        Warn(kLayoutFailedText, kProgramName);
        return;
    }
    ShowStore(session_.ChannelCount());
}

void CPalvexDlg::ShowStore(std::size_t channels) {
    channelBoxes_.Show(channels);
    chartPage_.SetStore(&session_.Store());
    chartPage_.Setup();
    listPage_.Setup(&session_.Store());
    Evaluate();
}

void CPalvexDlg::OnCloseDevice() {
    session_.Close();
    ShowClosed();
}

void CPalvexDlg::ShowClosed() {
    SetRecordingAside();
    ShowPanel();
    SetConnected(0);
}

void CPalvexDlg::OnContinueReceiving() {
    session_.Continue();
    ShowPanel();
}

void CPalvexDlg::Show(const StreamingStarted& started) {
    if (!session_.Accept(started)) {
        return;
    }
    ShowPanel();
    if (!started.handshakeAnswered) {
        Warn(kHandshakeFailedText, kHandshakeFailedCaption);
        return;
    }
    chartPage_.StartRefreshing();
    Evaluate();
}

void CPalvexDlg::OnStopReceiving() {
    session_.Stop();
    ShowPanel();
}

void CPalvexDlg::Show(const ReceivingStopped& stopped) {
    if (session_.Accept(stopped)) {
        listPage_.CatchUp();
        chartPage_.StopRefreshing();
        ShowPanel();
        Evaluate();
    }
}

void CPalvexDlg::Show(const ReceivingEnded& ended) {
    if (!session_.Accept(ended)) {
        return;
    }
    // Stopped and closed as the two buttons would; the rows stay and can be exported.
    listPage_.CatchUp();
    chartPage_.StopRefreshing();
    ShowClosed();
    if (ended.why == ReceivingEnded::Why::OutOfMemory) {
        Warn(kOutOfMemoryText, kProgramName);
    }
}

void CPalvexDlg::OnClearData() {
    session_.Store().ClearSamples();
    if (!session_.StoreChannels().empty()) {
        listPage_.ClearRows();
        chartPage_.RefreshFromStore();
    }
    Evaluate();
}

void CPalvexDlg::OnExportData() {
    ExportTableAsCsv(m_hWnd, listPage_);
}

void CPalvexDlg::OnChannelBox(UINT id) {
    if (const std::optional<std::uint32_t> channel = ChannelOfBox(static_cast<int>(id))) {
        chartPage_.ShowChannel(*channel, channelBoxes_.Checked(*channel));
    }
}

void CPalvexDlg::ShowChannels(bool show) {
    // Read first, shown afterwards: the chart page locks the store to show a channel.
    for (std::uint32_t channel : session_.StoreChannels()) {
        if (channel < kChannelBoxCount) {
            channelBoxes_.Check(channel, show);
            chartPage_.ShowChannel(channel, show);
        }
    }
}

void CPalvexDlg::OnSelectAll() {
    ShowChannels(true);
}

void CPalvexDlg::OnClearSelection() {
    // Hides every channel; it does not invert the selection.
    ShowChannels(false);
}

void CPalvexDlg::SetRecordingAside() {
    review_.SetAside();
    channelBoxes_.Show(0);
    // The charts keep what they show. Empties the store; the table keeps its rows until the next
    // device is opened.
    listPage_.KeepRowsOf(session_.Store());
    ShowRecordingName();
    Evaluate();  // the rows kept, no longer the emptied store
}

std::wstring CPalvexDlg::RecordingName() const {
    return FromUtf8(review_.ShownName());
}

void CPalvexDlg::ShowRecordingName() {
    const std::wstring name = RecordingName();
    recordingText_.SetWindowText(name.empty() ? std::wstring() : kRecordingLabel + name);
}

void CPalvexDlg::OpenRecording(const std::wstring& path) {
    if (session_.Panel() != PanelState::Closed || session_.Waiting()) {
        Warn(kCloseDeviceFirstText, kProgramName);
        return;
    }
    const std::wstring name = FileNameOf(path);
    RecordingSource source = OpenRecordingSource(path);
    if (source.file == nullptr) {
        Warn(kNotARecordingText + name + L": cannot be opened (" +
                 FromUtf8(std::strerror(source.error)) + L")",
             kProgramName);
        return;
    }
    review_.Load(std::move(source), ToUtf8(name));
}

LRESULT CPalvexDlg::OnOpenRecordingAtStart(WPARAM, LPARAM) {
    // A modal dialog shows itself once its queue runs empty, which the load's reports may
    // not let happen before a message about the file: the window shows first.
    ShowWindow(SW_SHOW);
    OpenRecording(recordingAtStart_);
    return 0;
}

LRESULT CPalvexDlg::OnDropFiles(WPARAM drop, LPARAM) {
    const auto files = reinterpret_cast<HDROP>(drop);
    // One recording at a time: of several files dropped together, the first is opened.
    const UINT length = ::DragQueryFileW(files, 0, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    const bool named = length > 0 && ::DragQueryFileW(files, 0, path.data(), length + 1) == length;
    ::DragFinish(files);
    if (named) {
        path.resize(length);
        OpenRecording(path);
    }
    return 0;
}

void CPalvexDlg::Show(const RecordingProgress& progress) {
    if (const std::optional<unsigned> percent = review_.Progress(progress)) {
        recordingText_.SetWindowText(kReadingLabel + std::to_wstring(*percent) + L"%  " +
                                     FromUtf8(review_.LoadingName()));
    }
}

void CPalvexDlg::Show(const RecordingRead& read) {
    const std::optional<RecordingLoadResult> result = review_.Finish(read, session_.Store());
    if (!result) {
        return;  // a load replaced by another or by an open, whose result is gone
    }
    if (result->outcome == RecordingLoadResult::Outcome::Loaded) {
        // As after "停止接收" with the file's frames: the store holds them, the pages show them.
        ShowStore(session_.StoreChannels().size());
        listPage_.CatchUp();
        chartPage_.RefreshFromStore();
    } else if (result->outcome == RecordingLoadResult::Outcome::Refused) {
        Warn(kNotARecordingText + FromUtf8(result->reason), kProgramName);
    }
    ShowRecordingName();  // the progress goes; a file shown before a refused one stays named
}

void CPalvexDlg::Evaluate() {
    const std::wstring name = RecordingName();
    evaluationPage_.SetRecording(listPage_.RowSource(),
                                 ToUtf8(name.empty() ? kLiveRecordingName : name));
    evaluation_.Evaluate(listPage_.RowSource(), evaluationPage_.Settings(),
                         session_.Panel() == PanelState::Receiving);
    evaluationPage_.ShowEvaluating();
}

void CPalvexDlg::Show(const KeysEvaluated& evaluated) {
    if (evaluation_.Current(evaluated)) {
        evaluationPage_.ShowFigures(evaluated);
    }
}

void CPalvexDlg::ShowLevels(const KeyFigures* key) {
    if (key == nullptr) {
        chartPage_.ClearDifferenceLevels();
        return;
    }
    chartPage_.ShowDifferenceLevels(key->channel, DifferenceLevels(*key));
}

void CPalvexDlg::BeginClosing() {
    // The window goes at once; an exchange still under way ends on its own, and the program
    // waits for it once the window is gone, before the libraries are unloaded.
    results_->Close();
    session_.Abandon();
    review_.Stop();
}

void CPalvexDlg::OnOK() {
    BeginClosing();
    CDialogEx::OnOK();
}

void CPalvexDlg::OnCancel() {
    BeginClosing();
    CDialogEx::OnCancel();
}

LRESULT CPalvexDlg::OnDestroy(WPARAM, LPARAM) {
    BeginClosing();
    return Default();
}
