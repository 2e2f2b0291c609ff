#include "app/PalvexDlg.h"

#include "app/CsvExport.h"
#include "app/ProgramName.h"
#include "device/recording/TextEncoding.h"
#include "framework/EnterKey.h"
#include "framework/Gdi.h"
#include "framework/MessageMap.h"
#include "framework/Prompts.h"

#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

namespace {
constexpr wchar_t kConnectedText[] = L"已连接";
constexpr wchar_t kDisconnectedText[] = L"未连接";
constexpr wchar_t kDeviceModel[] = L"RQV5D1470";
constexpr COLORREF kConnectedColour = RGB(255, 0, 0);
constexpr COLORREF kDisconnectedColour = RGB(0, 0, 0);

constexpr wchar_t kNotConnectedText[] = L"设备未连接！";
constexpr wchar_t kLayoutFailedText[] = L"通道初始化失败，请检查MCU是否正常工作！";
constexpr wchar_t kHandshakeFailedText[] =
    L"与下位机握手失败!!!\n请检查仿真器与芯片的连接是否正确!!!";
constexpr wchar_t kHandshakeFailedCaption[] = L"警告";
constexpr wchar_t kOutOfMemoryText[] = L"内存不足，接收已停止。";
constexpr wchar_t kCloseDeviceFirstText[] = L"请先关闭设备，再打开记录文件。";
constexpr wchar_t kNotARecordingText[] = L"无法读取记录文件：\n";
constexpr wchar_t kRecordingLabel[] = L"记录：";
constexpr wchar_t kReadingLabel[] = L"正在读取 ";

// Posted by the adapter's thread: wParam names the command, lParam is its result.
constexpr UINT WM_ADAPTER_ANSWER = WM_APP + 1;
// Posted by the recording loader: wParam is the load's number, lParam the percent read.
constexpr UINT WM_RECORDING_PROGRESS = WM_APP + 2;
// Posted by the recording loader when a load ended; wParam is its number.
constexpr UINT WM_RECORDING_READ = WM_APP + 3;
// Posted to itself by OnInitDialog, so that the file of the command line is read once the
// window shows and a message about it has its owner.
constexpr UINT WM_OPEN_RECORDING_AT_START = WM_APP + 4;
// The result of opening: how Connect ended in the low byte, one bit per later step that
// succeeded above it.
constexpr LPARAM kConnectResultMask = 0xFF;
constexpr LPARAM kHandshakeAnswered = 0x100;
constexpr LPARAM kLayoutRead = 0x200;

// A library that cannot be loaded is named in a box of its own, without owner, before the
// dialog's "设备未连接！".
constexpr wchar_t kLibraryCaption[] = L"Sorvel";
const wchar_t* LibraryNotLoadedText(ConnectResult result) {
    switch (result) {
        case ConnectResult::TessikNotLoaded:
            return L"tessik 未加载!!!\n";
        case ConnectResult::DravikNotLoaded:
            return L"Dravikdll 未加载!!!";
        default:
            return nullptr;
    }
}

struct PanelEnabling {
    bool open, continueReceiving, stop, close, clear, exportData;
};
constexpr PanelEnabling kClosedPanel = {true, false, false, false, true, true};
constexpr PanelEnabling kOpenedPanel = {false, true, true, true, true, true};
constexpr PanelEnabling kReceivingPanel = {false, false, true, false, false, false};
constexpr PanelEnabling kWaitingPanel = {false, false, false, false, false, false};

bool IsPanelButton(UINT id) {
    switch (id) {
        case IDC_OPEN_DEVICE:
        case IDC_CONTINUE_RECEIVING:
        case IDC_STOP_RECEIVING:
        case IDC_CLOSE_DEVICE:
        case IDC_CLEAR_DATA:
        case IDC_EXPORT_DATA:
            return true;
        default:
            return false;
    }
}

// The last path component, as the window names the file it shows.
std::wstring FileNameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The pages sit inside the tab control, below its row of tabs.
constexpr int kTabRowHeight = 25;
constexpr int kPageLeftInset = 2;
}  // namespace

CPalvexDlg::CPalvexDlg() : CPalvexDlg(DeviceConnection::ProgramFolder()) {}

CPalvexDlg::CPalvexDlg(std::wstring libraryFolder)
    : CDialogEx(IDD_PALVEX_DIALOG),
      icon_(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      device_(std::move(libraryFolder)),
      loader_(
          {[this](unsigned load, unsigned percent) {
               ::PostMessageW(reportWindow_, WM_RECORDING_PROGRESS, load, percent);
           },
           [this](unsigned load) { ::PostMessageW(reportWindow_, WM_RECORDING_READ, load, 0); }}) {}

void CPalvexDlg::DoDataExchange(DataExchange& dx) {
    dx.Control(IDC_PAGE_TABS, tabs_);
    for (std::size_t channel = 0; channel < channelBoxes_.size(); ++channel) {
        dx.Control(kChannelBoxIds[channel], channelBoxes_[channel]);
    }
    dx.Control(IDC_OPEN_DEVICE, openButton_);
    dx.Control(IDC_CONTINUE_RECEIVING, continueButton_);
    dx.Control(IDC_STOP_RECEIVING, stopButton_);
    dx.Control(IDC_CLOSE_DEVICE, closeButton_);
    dx.Control(IDC_CLEAR_DATA, clearButton_);
    dx.Control(IDC_EXPORT_DATA, exportButton_);
    dx.Control(IDC_STATUS_TEXT, statusText_);
    dx.Control(IDC_DEVICE_MODEL, deviceModel_);
    dx.Control(IDC_RECORDING_NAME, recordingText_);
}

bool CPalvexDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_COMMAND &&
        (closing_ || (WaitingForAdapter() && IsPanelButton(LOWORD(wParam))))) {
        // A late click once the window closes, or a posted one while the panel waits for the
        // adapter and its buttons are disabled.
        result = 0;
        return true;
    }
    static const auto messages = [] {
        MessageMap<CPalvexDlg> map;
        map.Message(WM_PAINT, &CPalvexDlg::OnPaint)
            .Message(WM_DESTROY, &CPalvexDlg::OnDestroy)
            .Message(WM_ADAPTER_ANSWER, &CPalvexDlg::OnAdapterAnswer)
            .Message(WM_DROPFILES, &CPalvexDlg::OnDropFiles)
            .Message(WM_OPEN_RECORDING_AT_START, &CPalvexDlg::OnOpenRecordingAtStart)
            .Message(WM_RECORDING_PROGRESS, &CPalvexDlg::OnRecordingProgress)
            .Message(WM_RECORDING_READ, &CPalvexDlg::OnRecordingRead)
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

    for (const CButton& box : channelBoxes_) {
        box.EnableWindow(false);
    }

    tabs_.InsertItem(0, L"曲线显示");
    tabs_.InsertItem(1, L"数据显示");
    CreatePages();

    ShowPanelState(PanelState::Closed);
    reportWindow_ = m_hWnd;
    if (!recordingAtStart_.empty()) {
        PostMessage(WM_OPEN_RECORDING_AT_START);
    }
    return TRUE;
}

void CPalvexDlg::ShowPanelState(PanelState state) {
    panel_ = state;
    const PanelEnabling& enabling = state == PanelState::Closed      ? kClosedPanel
                                    : state == PanelState::Opened    ? kOpenedPanel
                                    : state == PanelState::Receiving ? kReceivingPanel
                                                                     : kWaitingPanel;
    openButton_.EnableWindow(enabling.open);
    continueButton_.EnableWindow(enabling.continueReceiving);
    stopButton_.EnableWindow(enabling.stop);
    closeButton_.EnableWindow(enabling.close);
    clearButton_.EnableWindow(enabling.clear);
    exportButton_.EnableWindow(enabling.exportData);
}

void CPalvexDlg::CreatePages() {
    chartPage_.Create(tabs_.m_hWnd);
    listPage_.Create(tabs_.m_hWnd);

    RECT area = tabs_.GetClientRect();
    area.top += kTabRowHeight;
    area.left += kPageLeftInset;
    chartPage_.MoveWindow(area, true);
    listPage_.MoveWindow(area, true);

    pages_ = {&chartPage_, &listPage_};
    for (CDialog* page : pages_) {
        RouteEnterToPage(page->m_hWnd);
    }
    chartPage_.ShowWindow(SW_SHOW);
    listPage_.ShowWindow(SW_HIDE);
    currentPage_ = 0;
}

void CPalvexDlg::ShowPage(int index) {
    if (index < 0 || index >= kPageCount) {
        return;
    }
    pages_[static_cast<size_t>(currentPage_)]->ShowWindow(SW_HIDE);
    currentPage_ = index;
    pages_[static_cast<size_t>(currentPage_)]->ShowWindow(SW_SHOW);
}

LRESULT CPalvexDlg::OnTabSelectionChanged(NMHDR*) {
    ShowPage(tabs_.GetCurSel());
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

void CPalvexDlg::Await(Operation operation) {
    awaited_ = operation;
    ShowPanelState(PanelState::Waiting);
}

void CPalvexDlg::Ask(Operation operation, std::function<LPARAM()> job) {
    Await(operation);
    const HWND dialog = m_hWnd;
    worker_.Post([dialog, operation, job = std::move(job)] {
        const LPARAM result = job();
        ::PostMessageW(dialog, WM_ADAPTER_ANSWER, static_cast<WPARAM>(operation), result);
    });
}

LRESULT CPalvexDlg::OnAdapterAnswer(WPARAM operation, LPARAM result) {
    if (closing_) {
        return 0;
    }
    const auto answered = static_cast<Operation>(operation);
    if (answered == Operation::ReceivingEnded) {
        OnReceivingEnded(static_cast<ReceiveWorker::End>(result));
        return 0;
    }
    if (answered != awaited_) {
        return 0;  // the command was overtaken, e.g. a stop by the close after a failed read
    }
    awaited_ = Operation::None;
    switch (answered) {
        case Operation::Open:
            OnAdapterOpened(result);
            break;
        case Operation::Continue:
            OnStreamingStarted(result != 0);
            break;
        case Operation::Stop:
            OnReceivingStopped();
            break;
        default:
            break;
    }
    return 0;
}

void CPalvexDlg::OnOpenDevice() {
    SetRecordingAside();
    // Queued behind any exchange still running (the stop request of the last close): the
    // libraries are loaded again.
    Ask(Operation::Open, [this] {
        const ConnectResult connected = device_.Connect();
        LPARAM steps = static_cast<LPARAM>(connected);
        if (connected != ConnectResult::Connected) {
            return steps;
        }
        if (device_.StartStreaming()) {
            steps |= kHandshakeAnswered;
        }
        if (device_.ReadChannelLayout(store_)) {
            steps |= kLayoutRead;
            device_.StopStreaming();
        }
        return steps;
    });
}

void CPalvexDlg::OnAdapterOpened(LPARAM result) {
    const auto connected = static_cast<ConnectResult>(result & kConnectResultMask);
    if (connected != ConnectResult::Connected) {
        SetConnected(0);
        // The panel stays waiting while the library's box shows: that box has no owner and
        // leaves the dialog enabled, and a second open meanwhile would stack its boxes on it.
        if (const wchar_t* library = LibraryNotLoadedText(connected)) {
            Prompts().ShowMessage(nullptr, library, kLibraryCaption, MB_OK);
        }
        ShowPanelState(PanelState::Closed);
        Warn(kNotConnectedText, kProgramName);
        return;
    }
    if ((result & kHandshakeAnswered) != 0) {
        SetConnected(1);
    }
    if ((result & kLayoutRead) == 0) {
        ShowPanelState(PanelState::Closed);
        Warn(kLayoutFailedText, kProgramName);
        return;
    }

    ShowChannelBoxes(device_.ChannelCount());
    chartPage_.SetStore(&store_);
    chartPage_.Setup();
    listPage_.Setup(&store_);
    ShowPanelState(PanelState::Opened);
}

void CPalvexDlg::ShowChannelBoxes(std::size_t channels) {
    // There are only 32 boxes, whatever the chip or the file claims.
    const std::size_t shown = std::min<std::size_t>(channels, kChannelBoxCount);
    for (std::size_t channel = 0; channel < channelBoxes_.size(); ++channel) {
        channelBoxes_[channel].SetCheck(channel < shown ? BST_CHECKED : BST_UNCHECKED);
        channelBoxes_[channel].EnableWindow(channel < shown);
    }
}

void CPalvexDlg::OnCloseDevice() {
    awaited_ = Operation::None;  // a stop still on its way has nothing left to show
    SetRecordingAside();
    ShowPanelState(PanelState::Closed);
    worker_.Post([this] { device_.StopStreaming(); });
    SetConnected(0);
}

void CPalvexDlg::OnContinueReceiving() {
    Ask(Operation::Continue, [this] { return LPARAM{device_.StartStreaming() ? 1 : 0}; });
}

void CPalvexDlg::OnStreamingStarted(bool started) {
    if (!started) {
        ShowPanelState(PanelState::Opened);
        Warn(kHandshakeFailedText, kHandshakeFailedCaption);
        return;
    }
    const HWND dialog = m_hWnd;
    worker_.Receive({
        [this] { return device_.ReadFrame(store_); },
        [this] { listPage_.NotifyFramesArrived(); },
        [dialog](ReceiveWorker::End end) {
            ::PostMessageW(dialog, WM_ADAPTER_ANSWER,
                           static_cast<WPARAM>(Operation::ReceivingEnded),
                           static_cast<LPARAM>(end));
        },
    });
    chartPage_.StartRefreshing();
    ShowPanelState(PanelState::Receiving);
}

void CPalvexDlg::OnStopReceiving() {
    // The stop request runs after the read in flight, never in the middle of it.
    worker_.StopReceiving();
    Ask(Operation::Stop, [this] {
        device_.StopStreaming();
        return LPARAM{0};
    });
}

void CPalvexDlg::OnReceivingStopped() {
    listPage_.CatchUp();
    chartPage_.StopRefreshing();
    ShowPanelState(PanelState::Opened);
}

void CPalvexDlg::OnReceivingEnded(ReceiveWorker::End end) {
    if (panel_ != PanelState::Receiving && awaited_ != Operation::Stop) {
        return;
    }
    // Stops and closes as the two buttons would; the rows stay and can be exported.
    listPage_.CatchUp();
    chartPage_.StopRefreshing();
    OnCloseDevice();
    if (end == ReceiveWorker::End::OutOfMemory) {
        Warn(kOutOfMemoryText, kProgramName);
    }
}

void CPalvexDlg::OnClearData() {
    store_.ClearSamples();
    if (!StoreChannels().empty()) {
        listPage_.ClearRows();
        chartPage_.RefreshFromStore();
    }
}

void CPalvexDlg::OnExportData() {
    ExportTableAsCsv(m_hWnd, listPage_);
}

std::vector<std::uint32_t> CPalvexDlg::StoreChannels() const {
    std::vector<std::uint32_t> channels;
    auto guard = store_.Lock();
    for (std::uint32_t p = 0; p < store_.ChannelCount(); ++p) {
        channels.push_back(store_.Channel(p).channel);
    }
    return channels;
}

void CPalvexDlg::OnChannelBox(UINT id) {
    if (const std::optional<std::uint32_t> channel = ChannelOfBox(static_cast<int>(id))) {
        chartPage_.ShowChannel(*channel, channelBoxes_[*channel].GetCheck() == BST_CHECKED);
    }
}

void CPalvexDlg::ShowChannels(bool show) {
    // Read first, shown afterwards: the chart page locks the store to show a channel.
    for (std::uint32_t channel : StoreChannels()) {
        if (channel >= kChannelBoxCount) {
            continue;
        }
        channelBoxes_[channel].SetCheck(show ? BST_CHECKED : BST_UNCHECKED);
        chartPage_.ShowChannel(channel, show);
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
    loader_.Stop();
    loading_ = 0;
    ShowChannelBoxes(0);
    // The charts keep what they show. Empties the store; the table keeps its rows until the next
    // device is opened.
    listPage_.KeepRowsOf(store_);
    recordingName_.clear();
    ShowRecordingName();
}

void CPalvexDlg::ShowRecordingName() {
    recordingText_.SetWindowText(recordingName_.empty() ? std::wstring()
                                                        : kRecordingLabel + recordingName_);
}

void CPalvexDlg::OpenRecording(const std::wstring& path) {
    if (panel_ != PanelState::Closed || WaitingForAdapter()) {
        Warn(kCloseDeviceFirstText, kProgramName);
        return;
    }
    const std::wstring name = FileNameOf(path);
    std::FILE* file = ::_wfopen(path.c_str(), L"rb");
    if (file == nullptr) {
        Warn(kNotARecordingText + name + L": cannot be opened (" + FromUtf8(std::strerror(errno)) +
                 L")",
             kProgramName);
        return;
    }
    const __int64 size = ::_filelengthi64(::_fileno(file));
    loadingName_ = name;
    loading_ = loader_.Start(file, size > 0 ? static_cast<std::uint64_t>(size) : 0, ToUtf8(name));
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

LRESULT CPalvexDlg::OnRecordingProgress(WPARAM load, LPARAM percent) {
    if (load == loading_ && !closing_) {
        recordingText_.SetWindowText(kReadingLabel + std::to_wstring(percent) + L"%  " +
                                     loadingName_);
    }
    return 0;
}

LRESULT CPalvexDlg::OnRecordingRead(WPARAM load, LPARAM) {
    if (load != loading_ || closing_) {
        return 0;  // a load replaced by another or by an open, whose result is gone
    }
    loading_ = 0;
    const RecordingLoadResult& result = loader_.Result();
    if (result.outcome == RecordingLoadResult::Outcome::Loaded) {
        ShowRecording(loadingName_);
        return 0;
    }
    ShowRecordingName();  // the progress goes, the file shown before stays named
    if (result.outcome == RecordingLoadResult::Outcome::Refused) {
        Warn(kNotARecordingText + FromUtf8(result.reason), kProgramName);
    }
    return 0;
}

void CPalvexDlg::ShowRecording(std::wstring name) {
    // As after "停止接收" with the file's frames: the store holds them, the pages show them.
    loader_.HandOverTo(store_);
    const std::vector<std::uint32_t> channels = StoreChannels();
    ShowChannelBoxes(channels.size());
    chartPage_.SetStore(&store_);
    chartPage_.Setup();
    listPage_.Setup(&store_);
    listPage_.CatchUp();
    chartPage_.RefreshFromStore();
    recordingName_ = std::move(name);
    ShowRecordingName();
}

void CPalvexDlg::BeginClosing() {
    // The window goes at once; a read still waiting for the adapter ends when the dialog
    // object is destroyed, before the libraries are unloaded.
    closing_ = true;
    worker_.Abandon();
    loader_.Stop();
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
