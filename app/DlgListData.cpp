#include "app/DlgListData.h"

#include "app/DecimalText.h"
#include "app/PageMessages.h"
#include "device/recording/RecordingFormat.h"
#include "device/recording/RecordingStoreLines.h"
#include "framework/MessageMap.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr int kRowNumberWidth = 50;
constexpr int kValueWidth = 100;
constexpr int kColumnsPerChannel = static_cast<int>(kSampleQuantityCount);

// While frames keep coming, the page catches up with them on a timer of this period and the
// adapter thread's WM_LIST_APPEND only starts that timer. A posted message always goes before
// painting, so catching up on every post would keep the table and the charts from ever
// being drawn; and each catch-up grows and scrolls the list, each step costing about as much
// as a repaint of the whole table, whatever the number of new rows. Ten a second are plenty
// for a person and leave the window time to answer.
constexpr UINT_PTR kCatchUpTimer = 1;
// The largest number of rows that one cache hint fills: a screenful and more.
constexpr int kMaxCachedRows = 256;
constexpr std::int64_t kNoValue = INT64_MIN;
constexpr UINT kCatchUpMillis = 100;
// Posted to itself: the second step of a catch-up, scrolling to the newest row.
constexpr UINT WM_LIST_SHOW_LAST = WM_APP + 40;

}  // namespace

bool DlgListData::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static const auto messages =
        MessageMap<DlgListData>()
            .Message(WM_LIST_SETUP, &DlgListData::OnSetup)
            .Message(WM_LIST_APPEND, &DlgListData::OnAppend)
            .Message(WM_LIST_CLEAR, &DlgListData::OnClear)
            .Message(WM_TIMER, &DlgListData::OnTimer)
            .Message(WM_LIST_SHOW_LAST, &DlgListData::OnShowLast)
            .Notify(IDC_DATA_LIST, LVN_GETDISPINFOW, &DlgListData::OnGetDisplayInfo)
            .Notify(IDC_DATA_LIST, LVN_ODCACHEHINT, &DlgListData::OnCacheHint);
    return messages.Dispatch(*this, message, wParam, lParam, result) ||
           CDialogEx::OnWndMsg(message, wParam, lParam, result);
}

void DlgListData::NotifyFramesArrived() {
    if (!appendPending_.exchange(true) && !::PostMessageW(appendTarget_, WM_LIST_APPEND, 0, 0)) {
        appendPending_ = false;  // no window to tell (yet, or any more)
    }
}

LRESULT DlgListData::OnSetup(WPARAM, LPARAM store) {
    Setup(reinterpret_cast<TouchSampleStore*>(store));
    return 0;
}

void DlgListData::Setup(TouchSampleStore* store) {
    const ListPaintPause pause(list_);
    SetRows(0);
    cache_.count = 0;
    list_.DeleteAllColumns();
    kept_.RemoveAllChannels();  // the rows of the previous device go now
    store_ = store;
    appendTarget_ = m_hWnd;
    list_.SetExtendedStyle(list_.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    BuildColumns();
}

void DlgListData::BuildColumns() {
    if (store_ == nullptr) {
        list_.InsertColumn(0, kRowNumberTitle, LVCFMT_CENTER, kRowNumberWidth);
        return;
    }
    const std::vector<std::wstring> titles = StoreColumnTitles(*store_);
    for (std::size_t column = 0; column < titles.size(); ++column) {
        list_.InsertColumn(static_cast<int>(column), titles[column], LVCFMT_CENTER,
                           column == 0 ? kRowNumberWidth : kValueWidth);
    }
}

LRESULT DlgListData::OnAppend(WPARAM, LPARAM) {
    if (catchUpTimerRunning_) {
        return 0;  // the next tick catches up, and lets the adapter's thread post again
    }
    // The first frames after a pause show at once; later ones wait for the timer.
    CatchUpInTwoSteps();
    catchUpTimerRunning_ = SetTimer(kCatchUpTimer, kCatchUpMillis) != 0;
    if (!catchUpTimerRunning_) {
        appendPending_ = false;
    }
    return 0;
}

LRESULT DlgListData::OnTimer(WPARAM timer, LPARAM) {
    if (timer != kCatchUpTimer) {
        return Default();
    }
    // Cleared before reading the count: a frame decoded after the read then posts again.
    appendPending_ = false;
    if (!CatchUpInTwoSteps()) {
        // No frame for a whole period: stop ticking until the adapter's thread posts again.
        KillTimer(kCatchUpTimer);
        catchUpTimerRunning_ = false;
    }
    return 0;
}

bool DlgListData::CatchUp() {
    if (!AddArrivedRows()) {
        return false;
    }
    ShowLastRow();
    return true;
}

bool DlgListData::CatchUpInTwoSteps() {
    if (!AddArrivedRows()) {
        return false;
    }
    // Growing the list and scrolling it each cost a good part of a repaint; the window answers
    // the messages sent to it between the two steps.
    if (!PostMessage(WM_LIST_SHOW_LAST)) {
        ShowLastRow();
    }
    return true;
}

bool DlgListData::AddArrivedRows() {
    if (store_ == nullptr) {
        return false;
    }
    int frames = 0;
    {
        auto guard = store_->Lock();
        frames = static_cast<int>(std::min<std::uint32_t>(store_->FrameCount(), INT32_MAX));
    }
    if (frames <= rows_) {
        return false;
    }
    SetRows(frames);
    return true;
}

void DlgListData::ShowLastRow() {
    if (rows_ > 0) {
        list_.EnsureVisible(rows_ - 1, false);
    }
}

LRESULT DlgListData::OnShowLast(WPARAM, LPARAM) {
    ShowLastRow();
    return 0;
}

LRESULT DlgListData::OnClear(WPARAM, LPARAM) {
    ClearRows();
    return 0;
}

void DlgListData::ClearRows() {
    SetRows(0);
}

void DlgListData::KeepRowsOf(TouchSampleStore& store) {
    if (store_ != &store) {
        store.RemoveAllChannels();
        return;
    }
    CatchUp();
    store.HandOverTo(kept_);
    store_ = &kept_;
    cache_.count = 0;
}

void DlgListData::SetRows(int rows) {
    if (rows < cache_.first + cache_.count) {
        cache_.count = 0;  // cached rows are going
    }
    rows_ = rows;
    list_.SetRowCount(rows);
}

template <typename Char>
Char* DlgListData::WriteCell(int row, int column, Char* out) const {
    if (column == 0) {
        return WriteDecimal(std::int64_t{row} + 1, out);
    }
    const auto position = static_cast<std::uint32_t>((column - 1) / kColumnsPerChannel);
    const auto quantity = static_cast<SampleQuantity>((column - 1) % kColumnsPerChannel);
    const std::uint32_t index = kLeadingZeroSamples + static_cast<std::uint32_t>(row);
    if (store_ == nullptr || position >= store_->ChannelCount()) {
        return out;
    }
    const SampleSeries& series = store_->Channel(position).Series(quantity);
    // A row that the samples no longer hold (cleared a moment ago) shows nothing.
    return index < series.Size() ? WriteDecimal(series.At(index), out) : out;
}

LRESULT DlgListData::OnGetDisplayInfo(NMHDR* header) {
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
    LVITEMW& item = info->item;
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) {
        return 0;
    }
    wchar_t text[kMaxDecimalLength + 1];
    const wchar_t* end = text;
    if (item.iItem >= 0 && item.iItem < rows_ && item.iSubItem >= 0) {
        end = WriteCachedCell(item.iItem, item.iSubItem, text);
        if (end == nullptr) {
            auto guard = store_ != nullptr ? store_->Lock() : std::unique_lock<std::mutex>();
            end = WriteCell(item.iItem, item.iSubItem, text);
        }
    }
    const auto length = std::min<std::ptrdiff_t>(end - text, item.cchTextMax - 1);
    std::copy_n(text, length, item.pszText);
    item.pszText[length] = L'\0';
    return 0;
}

LRESULT DlgListData::OnCacheHint(NMHDR* header) {
    const auto* hint = reinterpret_cast<const NMLVCACHEHINT*>(header);
    FillCache(hint->iFrom, hint->iTo);
    return 0;
}

template <typename Visit>
void DlgListData::VisitValueCells(int row, int cells, Visit visit) const {
    const std::uint32_t index = kLeadingZeroSamples + static_cast<std::uint32_t>(row);
    for (std::uint32_t position = 0; cells > 0; ++position) {
        const ChannelSamples& channel = store_->Channel(position);
        for (SampleQuantity quantity : kAllSampleQuantities) {
            if (cells-- == 0) {
                return;
            }
            const SampleSeries& series = channel.Series(quantity);
            // A row that the samples no longer hold (cleared a moment ago) shows nothing.
            const bool present = index < series.Size();
            visit(present, present ? series.At(index) : 0);
        }
    }
}

void DlgListData::FillCache(int first, int last) {
    cache_.count = 0;
    first = std::max(first, 0);
    last = std::min({last, rows_ - 1, first + kMaxCachedRows - 1});
    if (store_ == nullptr || first > last) {
        return;
    }
    auto guard = store_->Lock();
    const std::uint32_t channels = store_->ChannelCount();
    const int count = last - first + 1;
    cache_.columns = static_cast<int>(channels) * kColumnsPerChannel;
    cache_.cells.resize(static_cast<std::size_t>(count) * cache_.columns);
    std::int64_t* cell = cache_.cells.data();
    for (int row = first; row <= last; ++row) {
        VisitValueCells(row, cache_.columns, [&](bool present, std::int32_t value) {
            *cell++ = present ? value : kNoValue;
        });
    }
    cache_.first = first;
    cache_.count = count;
}

wchar_t* DlgListData::WriteCachedCell(int row, int column, wchar_t* out) const {
    if (column == 0) {
        return WriteCell(row, column, out);  // the row number needs no samples
    }
    if (row < cache_.first || row >= cache_.first + cache_.count || column > cache_.columns) {
        return nullptr;
    }
    const std::int64_t value =
        cache_.cells[static_cast<std::size_t>(row - cache_.first) * cache_.columns + column - 1];
    return value == kNoValue ? out : WriteDecimal(value, out);
}

std::wstring DlgListData::CellText(int row, int column) const {
    if (row < 0 || row >= rows_ || column < 0) {
        return {};
    }
    wchar_t text[kMaxDecimalLength];
    auto guard = store_ != nullptr ? store_->Lock() : std::unique_lock<std::mutex>();
    return std::wstring(text, WriteCell(row, column, text));
}
