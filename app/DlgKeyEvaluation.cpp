#include "app/DlgKeyEvaluation.h"

#include "app/EvaluationExport.h"
#include "app/EvaluationRows.h"
#include "app/EvaluationSettings.h"
#include "app/StoreChannels.h"
#include "device/recording/TextEncoding.h"
#include "evaluation/UtcTime.h"
#include "framework/CellColours.h"
#include "framework/MessageMap.h"
#include "framework/Prompts.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

constexpr wchar_t kWarningCaption[] = L"警告";
// The room a list cell leaves around its text, in pixels.
constexpr int kCellPadding = 16;
constexpr const wchar_t* kNoiseStatisticNames[] = {L"峰峰值", L"均方根"};

// "#rrggbb" as GDI takes it.
COLORREF CssColour(const char* css) {
    unsigned red = 0;
    unsigned green = 0;
    unsigned blue = 0;
    std::sscanf(css, "#%2x%2x%2x", &red, &green, &blue);
    return RGB(red, green, blue);
}

std::wstring PassMarkText(double mark) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%g", mark);
    return text;
}

}  // namespace

void DlgKeyEvaluation::DoDataExchange(DataExchange& dx) {
    dx.Control(IDC_PASS_MARK, passMarkEdit_);
    dx.Control(IDC_MIN_TOUCH_FRAMES, minTouchEdit_);
    dx.Control(IDC_NOISE_STATISTIC, noiseBox_);
    dx.Control(IDC_EVALUATION_STATUS, statusText_);
    dx.Control(IDC_EVALUATION_TABLE, table_);
}

BOOL DlgKeyEvaluation::OnInitDialog() {
    CDialogEx::OnInitDialog();
    for (const wchar_t* name : kNoiseStatisticNames) {
        noiseBox_.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    table_.SetExtendedStyle(table_.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    for (std::size_t c = 0; c < kEvaluationColumns.size(); ++c) {
        // Wide enough for its title in the table's font, and for the widest figure.
        const std::wstring title = FromUtf8(EvaluationTitle(kEvaluationColumns[c]));
        const int titleWidth = ListView_GetStringWidth(table_.m_hWnd, title.c_str()) + kCellPadding;
        table_.InsertColumn(static_cast<int>(c), title, c == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT,
                            std::max(titleWidth, kEvaluationColumns[c].width));
    }
    ShowSettings();
    statusText_.SetWindowText(FromUtf8(EvaluatedFramesText(0)));
    return TRUE;
}

bool DlgKeyEvaluation::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static const MessageMap<DlgKeyEvaluation> map = [] {
        MessageMap<DlgKeyEvaluation> m;
        m.Command(IDC_PASS_MARK, &DlgKeyEvaluation::OnSettingLeft, EN_KILLFOCUS)
            .Command(IDC_MIN_TOUCH_FRAMES, &DlgKeyEvaluation::OnSettingLeft, EN_KILLFOCUS)
            .Command(IDC_NOISE_STATISTIC, &DlgKeyEvaluation::OnSettingLeft, CBN_SELCHANGE)
            .Command(IDC_EXPORT_REPORT, &DlgKeyEvaluation::OnExportReport)
            .Command(IDC_EXPORT_EVALUATION, &DlgKeyEvaluation::OnExportEvaluation)
            .Notify(IDC_EVALUATION_TABLE, NM_CUSTOMDRAW, &DlgKeyEvaluation::OnTableCustomDraw)
            .Notify(IDC_EVALUATION_TABLE, LVN_ITEMCHANGED, &DlgKeyEvaluation::OnTableItemChanged)
            .Notify(IDC_EVALUATION_TABLE, LVN_GETDISPINFOW, &DlgKeyEvaluation::OnTableDisplayInfo);
        return m;
    }();
    return map.Dispatch(*this, message, wParam, lParam, result) ||
           CDialogEx::OnWndMsg(message, wParam, lParam, result);
}

void DlgKeyEvaluation::ShowSettings() {
    passMarkEdit_.SetWindowText(PassMarkText(settings_.minSnr));
    minTouchEdit_.SetWindowText(std::to_wstring(settings_.minTouchFrames));
    noiseBox_.SetCurSel(settings_.noise == NoiseStatistic::Rms ? 1 : 0);
}

void DlgKeyEvaluation::OnOK() {
    switch (::GetDlgCtrlID(::GetFocus())) {
        case IDC_EXPORT_REPORT:
            OnExportReport();
            break;
        case IDC_EXPORT_EVALUATION:
            OnExportEvaluation();
            break;
        default:
            ApplySettings();
            break;
    }
}

void DlgKeyEvaluation::OnSettingLeft() {
    if (!warning_) {
        ApplySettings();
    }
}

void DlgKeyEvaluation::ApplySettings() {
    const Checked<double> mark = CheckPassMark(passMarkEdit_.GetWindowText());
    if (!mark.value) {
        Warn(mark.refusal);
        return;
    }
    const Checked<std::uint32_t> frames = CheckMinTouchFrames(minTouchEdit_.GetWindowText());
    if (!frames.value) {
        Warn(frames.refusal);
        return;
    }
    JudgeSettings next = settings_;
    next.minSnr = *mark.value;
    next.minTouchFrames = *frames.value;
    next.noise = noiseBox_.GetCurSel() == 1 ? NoiseStatistic::Rms : NoiseStatistic::PeakToPeak;
    if (next == settings_) {
        return;
    }
    settings_ = next;
    if (settingsChanged) {
        settingsChanged();
    }
}

void DlgKeyEvaluation::Warn(const std::wstring& text) {
    warning_ = true;
    Prompts().ShowMessage(m_hWnd, text, kWarningCaption, MB_OK | MB_ICONEXCLAMATION);
    warning_ = false;
}

void DlgKeyEvaluation::SetRecording(const TouchSampleStore* store, std::string source) {
    store_ = store;
    source_ = std::move(source);
}

void DlgKeyEvaluation::ShowEvaluating() {
    statusText_.SetWindowText(FromUtf8(EvaluatedFramesText(shown_.frames)) + L"，正在评估…");
}

void DlgKeyEvaluation::ShowFigures(const KeysEvaluated& evaluated) {
    shown_ = evaluated;
    std::vector<std::vector<std::wstring>> cells;
    for (const KeyFigures& key : shown_.figures) {
        std::vector<std::wstring>& row = cells.emplace_back();
        for (const std::string& cell : EvaluationCells(key)) {
            row.push_back(FromUtf8(cell));
        }
    }
    if (cells != cells_) {
        cells_ = std::move(cells);
        ListView_SetItemCountEx(table_.m_hWnd, static_cast<int>(cells_.size()),
                                LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
        table_.Invalidate(false);
    }
    statusText_.SetWindowText(FromUtf8(EvaluatedFramesText(shown_.frames)));
    if (rowSelected) {
        rowSelected(SelectedFigures());
    }
}

LRESULT DlgKeyEvaluation::OnTableDisplayInfo(NMHDR* header) {
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
    const auto row = static_cast<std::size_t>(info->item.iItem);
    const auto column = static_cast<std::size_t>(info->item.iSubItem);
    if ((info->item.mask & LVIF_TEXT) == 0 || info->item.pszText == nullptr ||
        info->item.cchTextMax <= 0 || row >= cells_.size() || column >= cells_[row].size()) {
        return 0;
    }
    const std::wstring& text = cells_[row][column];
    const std::size_t length =
        std::min(text.size(), static_cast<std::size_t>(info->item.cchTextMax - 1));
    text.copy(info->item.pszText, length);
    info->item.pszText[length] = L'\0';
    return 0;
}

const KeyFigures* DlgKeyEvaluation::SelectedFigures() const {
    const int row = ListView_GetNextItem(table_.m_hWnd, -1, LVNI_SELECTED);
    if (row < 0 || static_cast<std::size_t>(row) >= shown_.figures.size()) {
        return nullptr;
    }
    return &shown_.figures[static_cast<std::size_t>(row)];
}

LRESULT DlgKeyEvaluation::OnTableItemChanged(NMHDR* header) {
    // An owner-data list tells a change of several rows (iItem -1) as one.
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) != 0 &&
        (change->iItem < 0 || ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) != 0) &&
        rowSelected) {
        rowSelected(SelectedFigures());
    }
    return 0;
}

LRESULT DlgKeyEvaluation::OnTableCustomDraw(NMHDR* header) {
    return CustomDrawCells(header, [this](NMLVCUSTOMDRAW& draw) {
        const std::size_t row = draw.nmcd.dwItemSpec;
        if (static_cast<std::size_t>(draw.iSubItem) == VerdictColumn() &&
            row < shown_.figures.size()) {
            // The verdict in white on its colour, as in the report, on a selected row too.
            draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
            draw.clrText = RGB(255, 255, 255);
            draw.clrTextBk = CssColour(VerdictColour(shown_.figures[row].verdict));
        } else {
            draw.clrText = ::GetSysColor(COLOR_WINDOWTEXT);
            draw.clrTextBk = ::GetSysColor(COLOR_WINDOW);
        }
    });
}

void DlgKeyEvaluation::OnExportReport() {
    const ReportHeading heading{source_, FormatUtcTime(std::chrono::system_clock::now()),
                                shown_.settings, ReportLanguage::Chinese, "Palvex"};
    if (store_ == nullptr) {
        ExportKeyReport(m_hWnd, RecordingKeys(), shown_.figures, heading);
        return;
    }
    // The charts of the frames that the figures judged, however many came since.
    ExportKeyReport(m_hWnd, StoreChannels(*store_, shown_.frames), shown_.figures, heading);
}

void DlgKeyEvaluation::OnExportEvaluation() {
    ExportKeySummary(m_hWnd, shown_.figures);
}
