#pragma once
// The numeric axis: ticks at multiples of a 1-2-5 step chosen for the axis length, with
// labels in fixed notation.

#include "chart/PlotAxis.h"

#include <string>

class CPlotStandardAxis : public CPlotAxis {
  public:
    CPlotStandardAxis();
    ~CPlotStandardAxis() override;

    double FirstTickValue() const override;
    bool NextTickValue(double current, double& next) const override;
    int TickScreenPosition(double value) const override;
    int ValueToScreenCentered(double value) const override;
    const std::wstring& TickLabelText(double value) override;
    void UpdateTickStep() override;
    void UpdateFirstTick() override;

    double GetFirstTick() const { return firstTick_; }
    double GetTickStep() const { return tickStep_; }
    int GetDecimals() const { return decimals_; }

  private:
    double firstTick_ = 0.0;
    double tickStep_ = 1.0;
    int decimals_ = 0;
    std::wstring labelText_;  // reused for every label, so that labelling allocates nothing
};
