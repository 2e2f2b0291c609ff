#include "chartpage/PageChartLook.h"

#include "chart/PlotCursor.h"
#include "chart/PlotStandardAxis.h"

namespace {
CPlotStandardAxis* CreatePageAxis(CPlotCtrl& plot, int side) {
    CPlotStandardAxis* axis = plot.CreateStandardAxis(side);
    axis->SetAutoRange(true);
    axis->SetTickLabelColor(kPageChartInk);
    axis->SetLineColor(kPageChartInk);
    return axis;
}
}  // namespace

PageChartAxes DressAsPageChart(CPlotCtrl& plot) {
    plot.SetBackgroundColor(kPageChartBackground);
    plot.SetZoomEnabled(false);
    plot.SetPanEnabled(false);
    CPlotStandardAxis* x = CreatePageAxis(plot, kAxisBottom);
    CPlotStandardAxis* y = CreatePageAxis(plot, kAxisLeft);
    return {x, y};
}

CPlotDragLineCursor* AddPageCursor(CPlotCtrl& plot) {
    CPlotDragLineCursor* cursor = plot.CreateDragLineCursor(kAxisBottom);
    cursor->SetColor(kPageChartInk);
    return cursor;
}
