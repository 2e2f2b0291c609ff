#pragma once
// What a user does on the chart page, sent as the controls themselves would report it:
// scrolling through the recorded samples, dragging inside a chart and entering a point count.

#include <windows.h>

#include "tests/e2e/PalvexWindow.h"

// A scroll-bar code of the page's scroll bar (SB_LINELEFT, SB_PAGERIGHT, ...) as the bar
// reports it when its arrows or its track are clicked.
void ScrollCharts(const PalvexWindow& window, int scrollCode);
// Presses the left button at a fraction (0..1) of a chart's width and height, moves to
// another and releases it there.
void DragInChart(const PalvexWindow& window, int chartId, double fromX, double toX, double y);
// Types a point count into its edit and leaves the field, which applies it.
void EnterPointCount(const PalvexWindow& window, int count);
