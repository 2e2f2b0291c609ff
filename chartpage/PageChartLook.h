#pragma once
// How every chart of the chart page looks: black, fixed in place (no zoom, no pan), with
// automatic bottom and left axes and a drag-line cursor, all in white.

#include "chart/PlotCtrl.h"

class CPlotDragLineCursor;
class CPlotStandardAxis;

inline constexpr COLORREF kPageChartBackground = RGB(0, 0, 0);
inline constexpr COLORREF kPageChartInk = RGB(255, 255, 255);

struct PageChartAxes {
    CPlotStandardAxis* x;  // bottom
    CPlotStandardAxis* y;  // left
};

// Sets the page's background and mouse behaviour and creates its two axes.
PageChartAxes DressAsPageChart(CPlotCtrl& plot);
// Creates the page's white drag line on the bottom axis (which must exist).
CPlotDragLineCursor* AddPageCursor(CPlotCtrl& plot);
