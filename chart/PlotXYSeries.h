#pragma once
// A series of XY points.

#include "chart/PlotSeriesBase.h"

class CPlotXYSeries : public CPlotSeriesBase<SPlotXYPoint> {
  public:
    using CPlotSeriesBase::CPlotSeriesBase;
    ~CPlotXYSeries() override = default;
};
