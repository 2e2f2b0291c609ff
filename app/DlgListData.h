#pragma once
// The "数据显示" page: one table row per received frame, with that frame's values.
//
// The list view holds no cell texts: it is an owner-data list whose cells are read from the
// samples of the store, row r showing sample kLeadingZeroSamples + r of every series. A
// million rows therefore cost nothing beyond the samples themselves, and appending rows is one
// count update however long the recording is.

#include "device/store/TouchSampleStore.h"
#include "framework/Dialog.h"
#include "framework/VirtualList.h"
#include "res/resource.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class DlgListData : public CDialogEx {
  public:
    DlgListData() : CDialogEx(IDD_LIST_PAGE) {}

    const CListCtrl& List() const { return list_; }

    // Builds the columns for the channels of store (one column of row numbers without a
    // store) and drops every row, also the kept ones; WM_LIST_SETUP with the store's address.
    void Setup(TouchSampleStore* store);
    // Drops every row after the store was cleared; WM_LIST_CLEAR.
    void ClearRows();

    // Tells the page that frames were decoded; callable from any thread, also while the window
    // goes away. Posts WM_LIST_APPEND unless one is still pending, so the UI thread's queue
    // cannot flood at any frame rate.
    void NotifyFramesArrived();

    // Brings the rows up to the frames decoded into the store so far; false when there were
    // no new frames.
    bool CatchUp();

    // For "关闭设备": takes the channels out of store, which ends empty, and keeps showing
    // their rows until the next Setup. Nothing is copied.
    void KeepRowsOf(TouchSampleStore& store);

    // The store the rows come from (null before the first device), as the CSV export reads it.
    const TouchSampleStore* RowSource() const { return store_; }
    int RowCount() const { return rows_; }
    int ColumnCount() const { return list_.GetColumnCount(); }
    std::wstring ColumnTitle(int column) const { return list_.GetColumnTitle(column); }
    std::wstring CellText(int row, int column) const;

  protected:
    void DoDataExchange(DataExchange& dx) override { dx.Control(IDC_DATA_LIST, list_); }
    // Enter in the table neither closes the page nor anything else.
    void OnOK() override {}
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    LRESULT OnSetup(WPARAM, LPARAM store);
    LRESULT OnAppend(WPARAM, LPARAM);
    LRESULT OnClear(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM timer, LPARAM);
    LRESULT OnShowLast(WPARAM, LPARAM);
    LRESULT OnGetDisplayInfo(NMHDR* header);
    LRESULT OnCacheHint(NMHDR* header);

    // CatchUp, with the scroll to the newest row posted as a message of its own.
    bool CatchUpInTwoSteps();
    // Sets the row count to the frames decoded so far; false when there were no new frames.
    bool AddArrivedRows();
    void ShowLastRow();
    void BuildColumns();
    void SetRows(int rows);
    // Calls visit(present, value) for the first cells value cells of row, in column order;
    // present is false where the row has no sample. The store is locked and holds at least
    // cells / 4 channels.
    template <typename Visit>
    void VisitValueCells(int row, int cells, Visit visit) const;
    // Reads the value cells of rows first..last (as far as the table has them) into the cache.
    void FillCache(int first, int last);
    // The cached text of a value cell at out, or null when the cell is not cached.
    wchar_t* WriteCachedCell(int row, int column, wchar_t* out) const;
    // Writes the cell's text at out and returns its end; out has room for kMaxCellLength.
    template <typename Char>
    Char* WriteCell(int row, int column, Char* out) const;

    CVirtualListCtrl list_;
    // The rows' source: the main dialog's store, or kept_ after the device was closed.
    TouchSampleStore* store_ = nullptr;
    TouchSampleStore kept_;
    int rows_ = 0;
    // The value cells of the rows the list is about to paint (LVN_ODCACHEHINT), read under one
    // lock: while frames arrive the adapter's thread holds the store's lock most of the time, and
    // waiting for it once per cell made each repaint of the table several times slower.
    // Rows never change once they exist, so the cache stays right until rows go.
    struct RowCache {
        int first = 0;
        int count = 0;
        int columns = 0;                  // value columns: 1 .. columns
        std::vector<std::int64_t> cells;  // row by row; kNoValue where the row has no sample
    } cache_;
    std::atomic<bool> appendPending_{false};
    // The page's window as the adapter's thread posts to it: set by Setup, before any
    // frame is read, and kept after the window is destroyed, when a post to it simply fails.
    HWND appendTarget_ = nullptr;
    bool catchUpTimerRunning_ = false;
};
