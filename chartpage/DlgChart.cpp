#include "chartpage/DlgChart.h"

#include "chart/PlotRefreshBatch.h"
#include "chart/PlotStandardAxis.h"
#include "chartpage/ChannelColours.h"
#include "framework/CellColours.h"
#include "framework/MessageMap.h"
#include "framework/Prompts.h"
#include "res/resource.h"

#include <algorithm>
#include <cwchar>

namespace {

// The controls of one quantity, in quantity order: baseline, filtered, difference, noise.
struct QuantityControlIds {
    int chart;
    int values;
    int autoRange;
    int rangeMax;
    int rangeMin;
};

constexpr std::array<QuantityControlIds, kSampleQuantityCount> kQuantityControls = {{
    {IDC_BASELINE_CHART, IDC_BASELINE_VALUES, IDC_AUTO_BASELINE, IDC_BASELINE_MAX,
     IDC_BASELINE_MIN},
    {IDC_FILTERED_CHART, IDC_FILTERED_VALUES, IDC_AUTO_FILTERED, IDC_FILTERED_MAX,
     IDC_FILTERED_MIN},
    {IDC_DIFFERENCE_CHART, IDC_DIFFERENCE_VALUES, IDC_AUTO_DIFFERENCE, IDC_DIFFERENCE_MAX,
     IDC_DIFFERENCE_MIN},
    {IDC_NOISE_CHART, IDC_NOISE_VALUES, IDC_AUTO_NOISE, IDC_NOISE_MAX, IDC_NOISE_MIN},
}};

constexpr wchar_t kWarningCaption[] = L"警告";

// Holds back the renders of all four charts until the end of a scope, so that they run
// after the store's lock (taken later in the same scope) is released.
class AllChartsBatch {
  public:
    explicit AllChartsBatch(std::array<QuantityChart, kSampleQuantityCount>& charts)
        : batches_{CPlotRefreshBatch(charts[0].Chart()), CPlotRefreshBatch(charts[1].Chart()),
                   CPlotRefreshBatch(charts[2].Chart()), CPlotRefreshBatch(charts[3].Chart())} {}

  private:
    std::array<CPlotRefreshBatch, kSampleQuantityCount> batches_;
};

bool IsChecked(const CButton& box) {
    return box.GetCheck() == BST_CHECKED;
}

}  // namespace

DlgChart::DlgChart() : CDialogEx(IDD_CHART_PAGE) {}

void DlgChart::DoDataExchange(DataExchange& dx) {
    CDialogEx::DoDataExchange(dx);
    for (size_t q = 0; q < kSampleQuantityCount; ++q) {
        const QuantityControlIds& ids = kQuantityControls[q];
        dx.Control(ids.chart, charts_[q].Chart());
        dx.Control(ids.values, valueLists_[q]);
        dx.Control(ids.autoRange, autoRangeBoxes_[q]);
        dx.Control(ids.rangeMax, rangeMaxEdits_[q]);
        dx.Control(ids.rangeMin, rangeMinEdits_[q]);
    }
    dx.Control(IDC_SHOW_X_LABELS, showXLabelsBox_);
    dx.Control(IDC_X_POINT_COUNT, pointCountEdit_);
    dx.Control(IDC_WINDOW_SCROLL, windowScroll_);
}

BOOL DlgChart::OnInitDialog() {
    CDialogEx::OnInitDialog();
    for (const CListCtrl& list : valueLists_) {
        const int width = list.GetClientRect().right;
        list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        list.InsertColumn(0, L"通道", LVCFMT_CENTER, width / 3);
        list.InsertColumn(1, L"值", LVCFMT_CENTER, 2 * (width / 3));
    }
    showXLabelsBox_.SetCheck(BST_CHECKED);
    for (const CButton& box : autoRangeBoxes_) {
        box.SetCheck(BST_CHECKED);
    }
    for (SampleQuantity quantity : kAllSampleQuantities) {
        Chart(quantity).Init(quantity, kDefaultPointCount, this);
    }
    pointCount_ = kDefaultPointCount;
    cursorValue_ = QuantityChart::kInitialCursorValue;
    pointCountEdit_.SetWindowText(std::to_wstring(pointCount_));
    // The X axes start hidden: four charts stacked in the page leave little room for them.
    showXLabelsBox_.SetCheck(BST_UNCHECKED);
    for (QuantityChart& chart : charts_) {
        chart.XAxis()->SetVisible(false);
    }
    return TRUE;
}

// Enter inside the page neither closes it nor applies an edit.
void DlgChart::OnOK() {}

bool DlgChart::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static const MessageMap<DlgChart> map = [] {
        MessageMap<DlgChart> m;
        m.Message(WM_CHART_SETUP, &DlgChart::OnSetup)
            .Message(WM_CHART_CURSOR_MOVED, &DlgChart::OnCursorMoved)
            .Message(WM_CHART_START, &DlgChart::OnStart)
            .Message(WM_CHART_STOP, &DlgChart::OnStop)
            .Message(WM_CHART_REFRESH, &DlgChart::OnRefresh)
            .Message(WM_CHART_SHOW_CHANNEL, &DlgChart::OnShowChannel)
            .Message(WM_TIMER, &DlgChart::OnTimer)
            .Message(WM_HSCROLL, &DlgChart::OnHorizontalScroll)
            .Command(IDC_SHOW_X_LABELS, &DlgChart::OnShowXLabels)
            .Command(IDC_X_POINT_COUNT, &DlgChart::OnPointCountEdited, EN_KILLFOCUS);
        std::initializer_list<UINT> autoRangeIds = {
            static_cast<UINT>(kQuantityControls[0].autoRange),
            static_cast<UINT>(kQuantityControls[1].autoRange),
            static_cast<UINT>(kQuantityControls[2].autoRange),
            static_cast<UINT>(kQuantityControls[3].autoRange)};
        m.Commands(autoRangeIds, &DlgChart::OnAutoRangeClicked);
        for (const QuantityControlIds& ids : kQuantityControls) {
            m.Notify(static_cast<UINT>(ids.values), NM_CUSTOMDRAW, &DlgChart::OnListCustomDraw)
                .Notify(static_cast<UINT>(ids.values), LVN_GETDISPINFOW,
                        &DlgChart::OnListDisplayInfo);
        }
        return m;
    }();
    if (map.Dispatch(*this, message, wParam, lParam, result)) {
        return true;
    }
    return CDialogEx::OnWndMsg(message, wParam, lParam, result);
}

LRESULT DlgChart::OnSetup(WPARAM, LPARAM lParam) {
    // lParam 1 tells that the device was closed: the charts keep what they show.
    if (lParam == 0) {
        Setup();
    }
    return 0;
}

void DlgChart::Setup() {
    if (store_ == nullptr) {
        return;
    }
    AllChartsBatch batch(charts_);
    auto guard = store_->Lock();
    for (QuantityChart& chart : charts_) {
        chart.BindStore(store_);
    }
    cursorValues_.RemoveAllRows();
    for (std::uint32_t channel : store_->ChannelNumbers()) {
        cursorValues_.AddRow(channel);
    }
    for (const CListCtrl& list : valueLists_) {
        list.DeleteAllItems();
        ListView_SetItemCountEx(list.m_hWnd, cursorValues_.RowCount(), 0);
    }
    for (QuantityChart& chart : charts_) {
        chart.ShowLatest();
    }
}

LRESULT DlgChart::OnCursorMoved(WPARAM chartWindow, LPARAM value) {
    // Only the cursors of the page's own charts move the others.
    const auto source = reinterpret_cast<HWND>(chartWindow);
    if (source == nullptr ||
        std::none_of(charts_.begin(), charts_.end(),
                     [source](QuantityChart& chart) { return chart.Chart().m_hWnd == source; })) {
        return 0;
    }
    cursorValue_ = CursorValueOf(value);
    ShowValuesAtCursor(cursorValue_);
    for (QuantityChart& chart : charts_) {
        chart.SetCursorValue(cursorValue_);
    }
    return 0;
}

LRESULT DlgChart::OnStart(WPARAM, LPARAM) {
    StartRefreshing();
    return 0;
}

void DlgChart::StartRefreshing() {
    if (store_ == nullptr) {
        return;
    }
    std::uint32_t channels = 0;
    {
        auto guard = store_->Lock();
        channels = store_->ChannelCount();
    }
    const std::optional<unsigned> period = RefreshPeriodFor(channels);
    // Without channels a tick would have nothing to draw.
    if (channels > 0 && period && SetTimer(kRefreshTimer, *period) != 0) {
        refreshPeriod_ = *period;
    }
}

LRESULT DlgChart::OnStop(WPARAM, LPARAM) {
    StopRefreshing();
    return 0;
}

void DlgChart::StopRefreshing() {
    KillTimer(kRefreshTimer);
    refreshPeriod_ = 0;
}

LRESULT DlgChart::OnRefresh(WPARAM, LPARAM) {
    RefreshFromStore();
    return 0;
}

LRESULT DlgChart::OnShowChannel(WPARAM number, LPARAM shown) {
    if (number >= 1 && number <= kMaxTouchChannels) {
        ShowChannel(ChannelOfShowNumber(number), shown == 1);
    }
    return 0;
}

void DlgChart::ShowChannel(std::uint32_t channel, bool shown) {
    if (store_ == nullptr) {
        return;
    }
    bool inStore = false;
    {
        auto guard = store_->Lock();
        for (std::uint32_t p = 0; p < store_->ChannelCount() && !inStore; ++p) {
            inStore = store_->Channel(p).channel == channel;
        }
    }
    if (!inStore) {
        return;
    }
    for (QuantityChart& chart : charts_) {
        chart.ShowChannel(channel, shown);
    }
}

bool DlgChart::ShowDifferenceLevels(std::uint32_t channel, std::span<const double> levels) {
    return Chart(SampleQuantity::Difference).ShowLevels(channel, levels);
}

void DlgChart::ClearDifferenceLevels() {
    Chart(SampleQuantity::Difference).ClearLevels();
}

LRESULT DlgChart::OnTimer(WPARAM, LPARAM) {
    RefreshFromStore();
    return Default();
}

LRESULT DlgChart::OnHorizontalScroll(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) != windowScroll_.m_hWnd) {
        return Default();
    }
    SCROLLINFO info{};
    windowScroll_.GetScrollInfo(info, SIF_ALL);
    const ScrollBarState bar{static_cast<std::uint32_t>(info.nMax), info.nPage,
                             static_cast<std::uint32_t>(windowScroll_.GetScrollPos())};
    // The message carries only 16 bits of the thumb; longer recordings need the bar's own.
    const std::uint32_t thumb =
        info.nMax > 0xFFFF ? static_cast<std::uint32_t>(info.nTrackPos) : HIWORD(wParam);
    if (const std::optional<std::uint32_t> target = ScrollTarget(LOWORD(wParam), bar, thumb)) {
        windowScroll_.SetScrollPos(static_cast<int>(*target));
        ScrollCharts(*target);
    }
    return Default();
}

LRESULT DlgChart::OnListCustomDraw(NMHDR* header) {
    return CustomDrawCells(header, [](NMLVCUSTOMDRAW& draw) {
        if (draw.nmcd.dwItemSpec < ChannelColours.size()) {
            draw.clrTextBk = ChannelColours[draw.nmcd.dwItemSpec];
        }
    });
}

LRESULT DlgChart::OnListDisplayInfo(NMHDR* header) {
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
    if ((info->item.mask & LVIF_TEXT) == 0 || info->item.pszText == nullptr ||
        info->item.cchTextMax <= 0) {
        return 0;
    }
    const auto row = static_cast<std::uint32_t>(info->item.iItem);
    const wchar_t* text = L"";
    for (size_t q = 0; q < kSampleQuantityCount; ++q) {
        if (static_cast<UINT_PTR>(kQuantityControls[q].values) == header->idFrom) {
            text = info->item.iSubItem == 0 ? cursorValues_.Label(row)
                                            : cursorValues_.Value(kAllSampleQuantities[q], row);
        }
    }
    const auto room = static_cast<size_t>(info->item.cchTextMax);
    std::wcsncpy(info->item.pszText, text, room - 1);
    info->item.pszText[room - 1] = L'\0';
    return 0;
}

void DlgChart::OnShowXLabels() {
    const bool visible = IsChecked(showXLabelsBox_);
    for (QuantityChart& chart : charts_) {
        chart.XAxis()->SetVisible(visible);
    }
}

void DlgChart::OnAutoRangeClicked(UINT id) {
    for (size_t q = 0; q < kSampleQuantityCount; ++q) {
        if (static_cast<UINT>(kQuantityControls[q].autoRange) != id) {
            continue;
        }
        CPlotStandardAxis* axis = charts_[q].YAxis();
        if (IsChecked(autoRangeBoxes_[q])) {
            axis->SetAutoRange(true);
            return;
        }
        // The typed ends apply now only; later edits wait for the next uncheck.
        const Checked<ManualRange> range =
            CheckManualRange(rangeMaxEdits_[q].GetWindowText(), rangeMinEdits_[q].GetWindowText());
        if (!range.value) {
            Warn(range.refusal);
            autoRangeBoxes_[q].SetCheck(BST_CHECKED);
            return;
        }
        axis->SetAutoRange(false);
        axis->SetRange(range.value->min, range.value->max);
        return;
    }
}

void DlgChart::OnPointCountEdited() {
    if (store_ == nullptr) {
        return;
    }
    std::uint32_t sampleCount = 0;
    {
        auto guard = store_->Lock();
        if (store_->ChannelCount() == 0) {
            return;  // nothing recorded to count against
        }
        sampleCount = store_->Channel(0).SampleCount();
    }
    const Checked<std::uint32_t> count =
        CheckPointCount(pointCountEdit_.GetWindowText(), sampleCount);
    if (!count.value) {
        Warn(count.refusal);
        return;
    }
    // The cursor keeps its place relative to the window, so its value scales with it.
    const double ratio = cursorValue_ / pointCount_;
    pointCount_ = *count.value;
    cursorValue_ = pointCount_ * ratio;
    for (QuantityChart& chart : charts_) {
        chart.SetPointCount(pointCount_);
    }
    RefreshFromStore();
}

void DlgChart::RefreshFromStore() {
    if (store_ == nullptr) {
        return;
    }
    AllChartsBatch batch(charts_);
    auto guard = store_->Lock();
    if (store_->ChannelCount() == 0) {
        return;
    }
    const std::uint32_t sampleCount = store_->Channel(0).SampleCount();
    windowStart_ = static_cast<std::int32_t>(sampleCount - pointCount_);
    for (QuantityChart& chart : charts_) {
        chart.ShowLatest();
    }
    FillValueLists(cursorValue_);

    // Range 0 to L, the newest window's page and the thumb at the right end, set in one
    // call: each redrawing call costs a synchronous repaint, so the bar paints with the
    // charts instead.
    SCROLLINFO info{};
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = static_cast<int>(sampleCount);
    info.nPage = pointCount_ <= sampleCount ? pointCount_ : sampleCount;
    info.nPos = info.nMax;
    windowScroll_.SetScrollInfo(info, false);
    windowScroll_.Invalidate(false);
}

void DlgChart::ScrollCharts(std::uint32_t start) {
    windowStart_ = static_cast<std::int32_t>(start);
    if (store_ == nullptr) {
        return;
    }
    AllChartsBatch batch(charts_);
    auto guard = store_->Lock();
    for (QuantityChart& chart : charts_) {
        chart.ShowFrom(start);
    }
    FillValueLists(cursorValue_);
}

void DlgChart::ShowValuesAtCursor(double x) {
    if (store_ == nullptr) {
        return;
    }
    auto guard = store_->Lock();
    FillValueLists(x);
}

void DlgChart::FillValueLists(double x) {
    const std::uint32_t channels = store_->ChannelCount();
    if (channels == 0) {
        return;
    }
    const std::optional<std::int64_t> index = CursorSampleIndex(x, pointCount_, windowStart_);
    for (std::uint32_t p = 0; p < channels; ++p) {
        const ChannelSamples& samples = store_->Channel(p);
        // An index before the first or past the last sample shows an empty cell.
        const bool inside = index && *index >= 0 && *index < samples.SampleCount();
        for (SampleQuantity quantity : kAllSampleQuantities) {
            if (inside) {
                cursorValues_.SetValue(
                    quantity, p, samples.Series(quantity).At(static_cast<std::uint32_t>(*index)));
            } else {
                cursorValues_.ClearValue(quantity, p);
            }
        }
    }
    // The lists fetch the new texts when they paint.
    for (const CListCtrl& list : valueLists_) {
        list.Invalidate(false);
    }
}

void DlgChart::Warn(const std::wstring& text) {
    Prompts().ShowMessage(m_hWnd, text, kWarningCaption, MB_OK | MB_ICONEXCLAMATION);
}
