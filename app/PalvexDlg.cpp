#include "app/PalvexDlg.h"

#include "framework/Gdi.h"
#include "framework/MessageMap.h"

namespace {
constexpr wchar_t kConnectedText[] = L"已连接";
constexpr wchar_t kDisconnectedText[] = L"未连接";
constexpr wchar_t kDeviceModel[] = L"RQV5D1470";
constexpr COLORREF kConnectedColour = RGB(255, 0, 0);
constexpr COLORREF kDisconnectedColour = RGB(0, 0, 0);

// The pages sit inside the tab control, below its row of tabs.
constexpr int kTabRowHeight = 25;
constexpr int kPageLeftInset = 2;
}  // namespace

CPalvexDlg::CPalvexDlg()
    : CDialogEx(IDD_PALVEX_DIALOG),
      icon_(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {
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
    static const auto messages =
        MessageMap<CPalvexDlg>()
            .Message(WM_PAINT, &CPalvexDlg::OnPaint)
            .Message(WM_QUERYDRAGICON, &CPalvexDlg::OnQueryDragIcon)
            .Message(WM_CTLCOLORSTATIC, &CPalvexDlg::OnCtlColor)
            .Message(WM_CTLCOLORBTN, &CPalvexDlg::OnCtlColor)
            .Message(WM_CTLCOLOREDIT, &CPalvexDlg::OnCtlColor)
            .Message(WM_CTLCOLORLISTBOX, &CPalvexDlg::OnCtlColor)
            .Message(WM_CTLCOLORSCROLLBAR, &CPalvexDlg::OnCtlColor)
            .Message(WM_CTLCOLORDLG, &CPalvexDlg::OnCtlColor)
            .Notify(IDC_PAGE_TABS, TCN_SELCHANGE, &CPalvexDlg::OnTabSelectionChanged);
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

    openButton_.EnableWindow(true);
    continueButton_.EnableWindow(false);
    stopButton_.EnableWindow(false);
    closeButton_.EnableWindow(false);
    return TRUE;
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
