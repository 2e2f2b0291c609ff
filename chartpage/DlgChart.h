#pragma once
// The "曲线显示" page: four live quantity charts with their value lists, the X and Y
// settings and the scroll bar through the recorded samples. The main dialog drives it through
// its member functions.

#include "chartpage/ChartPageMessages.h"
#include "chartpage/CursorValueTable.h"
#include "chartpage/QuantityChart.h"
#include "device/store/TouchSampleStore.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

class DlgChart : public CDialogEx {
  public:
    // The id of the refresh timer that runs while receiving.
    static constexpr UINT_PTR kRefreshTimer = 1;

    DlgChart();

    // The store the page draws from; the main dialog sets it before Setup.
    void SetStore(TouchSampleStore* store) { store_ = store; }

    // What the main dialog tells the page; the window messages of ChartPageMessages.h, for
    // other senders, do the same.
    // One line per channel of the store in every chart and one row per channel in the value
    // lists; after every device open (WM_CHART_SETUP, lParam 0).
    void Setup();
    // Starts and stops the refresh timer of receiving (WM_CHART_START, WM_CHART_STOP).
    void StartRefreshing();
    void StopRefreshing();
    // Snaps all four charts to the newest samples, the lists to the cursor and the scroll
    // bar to its right end (WM_CHART_REFRESH, and every tick of the timer).
    void RefreshFromStore();
    // Shows or hides the lines of a channel of the store in all four charts
    // (WM_CHART_SHOW_CHANNEL); a channel that the store does not hold changes nothing.
    void ShowChannel(std::uint32_t channel, bool shown);
    // Draws horizontal lines at the given values in a channel's colour across the
    // difference chart, such as the channel's quiet band and finger threshold, in place of
    // those drawn before; whether the store holds the channel does not matter. They stay
    // through refreshes, scrolling, point-count changes and shown or hidden channels;
    // Setup removes them, so a caller draws them again after it. False, drawing none, for
    // a channel without a colour or more than QuantityChart::kMaxLevels values; values that
    // are not finite are left out.
    bool ShowDifferenceLevels(std::uint32_t channel, std::span<const double> levels);
    void ClearDifferenceLevels();

    // What the page shows, for the tests and the benchmark.
    std::uint32_t PointCount() const { return pointCount_; }
    double CursorValue() const { return cursorValue_; }
    std::int32_t WindowStart() const { return windowStart_; }
    // The period of the running refresh timer in milliseconds; 0 while none runs.
    unsigned RefreshPeriod() const { return refreshPeriod_; }
    QuantityChart& Chart(SampleQuantity quantity) { return charts_[QuantityIndex(quantity)]; }
    const QuantityChart& Chart(SampleQuantity quantity) const {
        return charts_[QuantityIndex(quantity)];
    }

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnOK() override;
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    LRESULT OnSetup(WPARAM, LPARAM lParam);
    LRESULT OnCursorMoved(WPARAM chartWindow, LPARAM value);
    LRESULT OnStart(WPARAM, LPARAM);
    LRESULT OnStop(WPARAM, LPARAM);
    LRESULT OnRefresh(WPARAM, LPARAM);
    LRESULT OnShowChannel(WPARAM number, LPARAM shown);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnHorizontalScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnListCustomDraw(NMHDR* header);
    LRESULT OnListDisplayInfo(NMHDR* header);
    void OnShowXLabels();
    void OnAutoRangeClicked(UINT id);
    void OnPointCountEdited();

    // Shows the window of samples from start on in all four charts and the lists.
    void ScrollCharts(std::uint32_t start);
    void ShowValuesAtCursor(double x);
    // Writes the value under cursor value x of every channel into the lists; the caller
    // holds the store's lock.
    void FillValueLists(double x);
    void Warn(const std::wstring& text);

    TouchSampleStore* store_ = nullptr;              // not owned
    std::uint32_t pointCount_ = kDefaultPointCount;  // n: points per line
    std::int32_t windowStart_ = 0;  // s: sample shown first; negative while filling up
    double cursorValue_ = QuantityChart::kInitialCursorValue;  // x, in chart units
    unsigned refreshPeriod_ = 0;
    CursorValueTable cursorValues_;  // what the value lists show

    std::array<QuantityChart, kSampleQuantityCount> charts_;
    std::array<CListCtrl, kSampleQuantityCount> valueLists_;
    std::array<CButton, kSampleQuantityCount> autoRangeBoxes_;
    std::array<CEdit, kSampleQuantityCount> rangeMaxEdits_;
    std::array<CEdit, kSampleQuantityCount> rangeMinEdits_;
    CButton showXLabelsBox_;
    CEdit pointCountEdit_;
    CScrollBar windowScroll_;
};
