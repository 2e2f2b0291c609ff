#include "chart/PlotSeries.h"

#include "chart/PlotAxis.h"
#include "chart/PlotCtrl.h"

unsigned CPlotSeries::nextId_ = 0;

CPlotSeries::CPlotSeries(CPlotCtrl* control) : control_(control), id_(nextId_++) {}

CPlotSeries::~CPlotSeries() {
    if (horizontalAxis_ != nullptr) {
        horizontalAxis_->UnlinkSeries(this);
    }
    if (verticalAxis_ != nullptr) {
        verticalAxis_->UnlinkSeries(this);
    }
}

void CPlotSeries::SetName(const std::wstring& name) {
    name_ = name;
    if (control_ != nullptr) {
        control_->Refresh();
    }
}

void CPlotSeries::SetVisible(bool visible) {
    visible_ = visible;
    if (control_ != nullptr) {
        control_->Refresh();
    }
}

void CPlotSeries::SetColor(COLORREF colour) {
    colour_ = colour;
    if (control_ != nullptr) {
        control_->Refresh();
    }
}

POINT CPlotSeries::ValueToScreen(double x, double y) const {
    POINT point{0, 0};
    if (horizontalAxis_ != nullptr) {
        point.x = horizontalAxis_->ValueToScreen(x);
    }
    if (verticalAxis_ != nullptr) {
        point.y = verticalAxis_->ValueToScreen(y);
    }
    return point;
}

void CPlotSeries::RefreshAutoAxes(bool refresh) {
    if (control_ != nullptr) {
        control_->SetRefreshEnabled(false);
    }
    if (horizontalAxis_ != nullptr) {
        horizontalAxis_->RefreshAutoRange();
    }
    if (verticalAxis_ != nullptr) {
        verticalAxis_->RefreshAutoRange();
    }
    if (control_ != nullptr) {
        if (refresh) {
            control_->Refresh();
        }
        control_->SetRefreshEnabled(true);
    }
}
