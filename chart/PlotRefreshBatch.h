#pragma once
// Holds back a chart's refreshes for the life of a scope: whatever the scope changes is
// rendered once, when the outermost batch of that chart ends.

#include "chart/PlotCtrl.h"

class CPlotRefreshBatch {
  public:
    explicit CPlotRefreshBatch(CPlotCtrl& control) : control_(control) {
        control_.SetRefreshEnabled(false);
    }
    ~CPlotRefreshBatch() { control_.SetRefreshEnabled(true); }
    CPlotRefreshBatch(const CPlotRefreshBatch&) = delete;
    CPlotRefreshBatch& operator=(const CPlotRefreshBatch&) = delete;

  private:
    CPlotCtrl& control_;
};
