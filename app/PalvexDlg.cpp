#include "app/PalvexDlg.h"

#include "app/CsvExport.h"
#include "app/PageMessages.h"
#include "framework/Gdi.h"
#include "framework/MessageMap.h"
#include "framework/Prompts.h"

#include <algorithm>
#include <utility>

namespace {
constexpr wchar_t kConnectedText[] = L"已连接";
constexpr wchar_t kDisconnectedText[] = L"未连接";
constexpr wchar_t kDeviceModel[] = L"RQV5D1470";
constexpr COLORREF kConnectedColour = RGB(255, 0, 0);
constexpr COLORREF kDisconnectedColour = RGB(0, 0, 0);

constexpr wchar_t kProgramName[] = L"Palvex";
constexpr wchar_t kNotConnectedText[] = L"设备未连接！";
constexpr wchar_t kLayoutFailedText[] = L"通道初始化失败，请检查MCU是否正常工作！";
constexpr wchar_t kHandshakeFailedText[] =
    L"与下位机握手失败!!!\n请检查仿真器与芯片的连接是否正确!!!";
constexpr wchar_t kHandshakeFailedCaption[] = L"警告";

struct PanelEnabling {
    bool open, continueReceiving, stop, close, clear, exportData;
};
constexpr PanelEnabling kClosedPanel = {true, false, false, false, true, true};
constexpr PanelEnabling kOpenedPanel = {false, true, true, true, true, true};
constexpr PanelEnabling kReceivingPanel = {false, false, true, false, false, false};

// The pages sit inside the tab control, below its row of tabs.
constexpr int kTabRowHeight = 25;
constexpr int kPageLeftInset = 2;
}  // namespace

CPalvexDlg::CPalvexDlg() : CPalvexDlg(DeviceConnection::ProgramFolder()) {}

CPalvexDlg::CPalvexDlg(std::wstring libraryFolder)
    : CDialogEx(IDD_PALVEX_DIALOG),
      icon_(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      device_(std::move(libraryFolder)) {
    for (int i = 0; i < kChannelBoxCount; ++i) {
        channelBoxTable_[static_cast<size_t>(i)] = &channelBoxes_[static_cast<size_t>(i)];
    }
}

void CPalvexDlg::DoDataExchange(DataExchange& dx) {
    dx.Control(IDC_PAGE_TABS, tabs_);
    for (int i = 0; i < kChannelBoxCount; ++i) {
        dx.Control(kChannelBoxIds[static_cast<size_t>(i)], channelBoxes_[static_cast<size_t>(i)]);
    }
    dx.Control(IDC_OPEN_DEVICE, openButton_);
    dx.Control(IDC_CONTINUE_RECEIVING, continueButton_);
    dx.Control(IDC_STOP_RECEIVING, stopButton_);
    dx.Control(IDC_CLOSE_DEVICE, closeButton_);
    dx.Control(IDC_CLEAR_DATA, clearButton_);
    dx.Control(IDC_EXPORT_DATA, exportButton_);
    dx.Control(IDC_STATUS_TEXT, statusText_);
    dx.Control(IDC_DEVICE_MODEL, deviceModel_);
}

bool CPalvexDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (closing_ && message == WM_COMMAND) {
        // The worker's posted stop, clear and close, or a late click, once the window closes.
        result = 0;
        return true;
    }
    static const auto messages = [] {
        MessageMap<CPalvexDlg> map;
        map.Message(WM_PAINT, &CPalvexDlg::OnPaint)
            .Message(WM_DESTROY, &CPalvexDlg::OnDestroy)
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

    for (CButton* box : channelBoxTable_) {
        box->EnableWindow(false);
    }

    tabs_.InsertItem(0, L"曲线显示");
    tabs_.InsertItem(1, L"数据显示");
    CreatePages();

    ShowPanelState(PanelState::Closed);
    return TRUE;
}

void CPalvexDlg::ShowPanelState(PanelState state) {
    const PanelEnabling& enabling = state == PanelState::Closed   ? kClosedPanel
                                    : state == PanelState::Opened ? kOpenedPanel
                                                                  : kReceivingPanel;
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

void CPalvexDlg::OnOpenDevice() {
    if (!device_.Connect()) {
        SetConnected(0);
        Warn(kNotConnectedText, kProgramName);
        return;
    }
    if (device_.StartStreaming()) {
        SetConnected(1);
    }
    if (!device_.ReadChannelLayout(store_)) {
        Warn(kLayoutFailedText, kProgramName);
        return;
    }
    device_.StopStreaming();

    // There are only 32 boxes, whatever the chip claims.
    const auto boxes = std::min<std::size_t>(device_.ChannelCount(), kChannelBoxCount);
    for (std::size_t i = 0; i < boxes; ++i) {
        channelBoxTable_[i]->EnableWindow(true);
    }
    for (std::size_t i = 0; i < boxes; ++i) {
        channelBoxTable_[i]->SetCheck(BST_CHECKED);
    }
    chartPage_.SetStore(&store_);
    chartPage_.SendMessage(WM_CHART_SETUP, 0, 0);
    listPage_.SendMessage(WM_LIST_SETUP, 0, reinterpret_cast<LPARAM>(&store_));
    ShowPanelState(PanelState::Opened);
}

void CPalvexDlg::OnCloseDevice() {
    for (CButton* box : channelBoxTable_) {
        box->SetCheck(BST_UNCHECKED);
    }
    for (CButton* box : channelBoxTable_) {
        box->EnableWindow(false);
    }
    chartPage_.SendMessage(WM_CHART_SETUP, 0, 1);
    // Empties the store; the table keeps its rows until the next device is opened.
    listPage_.KeepRowsOf(store_);
    ShowPanelState(PanelState::Closed);
    device_.StopStreaming();
    SetConnected(0);
}

void CPalvexDlg::OnContinueReceiving() {
    if (!device_.StartStreaming()) {
        Warn(kHandshakeFailedText, kHandshakeFailedCaption);
        return;
    }
    const HWND dialog = m_hWnd;
    worker_.Start({
        [this] { return device_.ReadFrame(store_); },
        [this] { listPage_.NotifyFramesArrived(); },
        [dialog] {
            // Stop, then clear, then close: the device ends up closed with an empty table.
            for (int command : {IDC_STOP_RECEIVING, IDC_CLEAR_DATA, IDC_CLOSE_DEVICE}) {
                ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
            }
        },
    });
    chartPage_.SendMessage(WM_CHART_START);
    ShowPanelState(PanelState::Receiving);
}

void CPalvexDlg::OnStopReceiving() {
    // Waits for a read in flight, so the stop request cannot interleave with it.
    worker_.Stop();
    listPage_.CatchUp();
    device_.StopStreaming();
    chartPage_.SendMessage(WM_CHART_STOP);
    ShowPanelState(PanelState::Opened);
}

void CPalvexDlg::OnClearData() {
    store_.ClearSamples();
    if (!StoreChannels().empty()) {
        listPage_.SendMessage(WM_LIST_CLEAR);
        chartPage_.SendMessage(WM_CHART_REFRESH);
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
    const auto box = std::find(kChannelBoxIds.begin(), kChannelBoxIds.end(), static_cast<int>(id));
    if (box == kChannelBoxIds.end()) {
        return;
    }
    const auto index = static_cast<std::size_t>(box - kChannelBoxIds.begin());
    const int shown = channelBoxTable_[index]->GetCheck() == BST_CHECKED ? 1 : 0;
    chartPage_.SendMessage(WM_CHART_SHOW_CHANNEL, index + 1, shown);
}

void CPalvexDlg::ShowChannels(bool show) {
    // Read first, sent afterwards: the chart page reads the store while it handles a message.
    for (std::uint32_t channel : StoreChannels()) {
        if (channel >= kChannelBoxCount) {
            continue;
        }
        channelBoxTable_[channel]->SetCheck(show ? BST_CHECKED : BST_UNCHECKED);
        chartPage_.SendMessage(WM_CHART_SHOW_CHANNEL, channel + 1, show ? 1 : 0);
    }
}

void CPalvexDlg::OnSelectAll() {
    ShowChannels(true);
}

void CPalvexDlg::OnClearSelection() {
    // Hides every channel; it does not invert the selection.
    ShowChannels(false);
}

void CPalvexDlg::BeginClosing() {
    closing_ = true;
    worker_.Stop();
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
