#pragma once
// The scroll bar of an axis: a standard scroll-bar child of the chart control, laid along
// the axis' edge inside the plotting rectangle, that moves a zoomed axis over the extent
// of its series in steps of a tenth of the shown range. It is created hidden and shows
// itself only while hovered, and only when enabled.

#include "framework/Controls.h"

class CPlotAxis;

class CPlotScrollBar : public CScrollBar {
  public:
    static constexpr int kControlId = 100;

    explicit CPlotScrollBar(CPlotAxis* axis) : axis_(axis) {}
    ~CPlotScrollBar() override;

    void CreateBar(const RECT& plotRect);
    void RefreshSteps();
    void HandleScroll(int code, int position);
    void ShowIfEnabled();
    void HideIfEnabled();
    bool IsScrollReversed() const;

    // The bar's window size, and moving the window; both remember the last placement so
    // that the refresh after every data update costs no window-manager round trip.
    SIZE GetWindowSize() const;
    void Place(const RECT& rect);

    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool IsEnabled() const { return enabled_; }
    void SetAutoHide(bool autoHide) { autoHide_ = autoHide; }
    CPlotAxis* GetAxis() const { return axis_; }

  private:
    CPlotAxis* axis_;
    bool enabled_ = false;
    bool autoHide_ = true;
    bool placed_ = false;
    RECT placement_{};
    bool stepsKnown_ = false;  // what RefreshSteps last wrote still holds
    int stepCount_ = 0;
    int stepPosition_ = 0;
};
