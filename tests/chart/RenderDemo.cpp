// Renders two charts into a BMP file so that a person can look at them: one dressed like
// a chart of the chart page (black, white axes, a drag line, channel colours) and one in
// the control's own defaults with title, axis titles and legend.
//   chart_render_demo <output.bmp>

#include "ChartHost.h"
#include "chart/PlotAxisLabel.h"
#include "chart/PlotCursor.h"
#include "chart/PlotLegend.h"
#include "chart/PlotLineSeries.h"
#include "chart/PlotStandardAxis.h"
#include "chart/PlotTitle.h"
#include "chartpage/ChannelColours.h"
#include "chartpage/PageChartLook.h"

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {
void FillWave(std::vector<double>& x, std::vector<double>& y, int channel) {
    for (size_t i = 0; i < x.size(); ++i) {
        x[i] = static_cast<double>(i) * 0.05;
        const double t = static_cast<double>(i) / 12.0 + channel;
        y[i] = 1200.0 + 150.0 * channel + 60.0 * std::sin(t) + 15.0 * std::sin(7.3 * t);
    }
}

void BuildPageChart(CPlotCtrl& plot) {
    DressAsPageChart(plot);
    std::vector<double> x(100);
    std::vector<double> y(100);
    plot.SetRefreshEnabled(false);
    for (int channel = 0; channel < 4; ++channel) {
        CPlotLineSeries* series = plot.CreateLineSeries(false, false);
        series->SetOrdering(0);
        series->SetName(L"name");
        series->SetColor(ChannelColours[channel]);
        FillWave(x, y, channel);
        series->SetPoints(x.data(), y.data(), 100);
    }
    plot.SetRefreshEnabled(true);
    AddPageCursor(plot)->MoveToValue(2.5);
    plot.Refresh();
}

void BuildDefaultChart(CPlotCtrl& plot) {
    for (int side : {kAxisBottom, kAxisLeft}) {
        CPlotStandardAxis* axis = plot.CreateStandardAxis(side);
        axis->SetAutoRange(true);
    }
    plot.GetAxis(kAxisBottom)->GetLabel().SetText(L"time (s)");
    plot.GetAxis(kAxisLeft)->GetLabel().SetText(L"counts");
    plot.GetTitle().AddLine(L"Three series, default look");
    plot.GetLegend().SetVisible(true);
    std::vector<double> x(400);
    std::vector<double> y(400);
    const wchar_t* names[] = {L"sine", L"cosine", L"ramp"};
    plot.SetRefreshEnabled(false);
    for (int k = 0; k < 3; ++k) {
        for (size_t i = 0; i < x.size(); ++i) {
            x[i] = static_cast<double>(i) * 0.025;
            const double t = x[i];
            y[i] = k == 0 ? std::sin(t) : k == 1 ? std::cos(t) : t / 5.0 - 1.0;
        }
        CPlotLineSeries* series = plot.CreateLineSeries(false, false);
        series->SetName(names[k]);
        series->SetPoints(x.data(), y.data(), static_cast<unsigned>(x.size()));
    }
    plot.SetRefreshEnabled(true);
    CPlotDragLineCursor* cursor = plot.CreateDragLineCursor(kAxisBottom);
    cursor->MoveToValue(4.0);
    plot.Refresh();
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: chart_render_demo <output.bmp>\n");
        return 2;
    }
    const SIZE page = DialogUnitsToPixels(302, 86, L"System", 12, true);
    const int width = page.cx;
    const int gap = 8;
    const int defaultHeight = 2 * page.cy + 40;
    ChartHost host(width + 2 * gap, page.cy + defaultHeight + 3 * gap);
    CPlotCtrl pageChart;
    CPlotCtrl defaultChart;
    if (!host.Attach(pageChart, gap, gap, width, page.cy) ||
        !host.Attach(defaultChart, gap, 2 * gap + page.cy, width, defaultHeight)) {
        std::fwprintf(stderr, L"cannot create the chart windows (is DISPLAY set?)\n");
        return 1;
    }
    BuildPageChart(pageChart);
    BuildDefaultChart(defaultChart);
    ::RedrawWindow(host.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ChartHost::PumpMessages();
    std::wprintf(L"chart of the page: %ld x %ld pixels\n", page.cx, page.cy);
    if (!Snapshot::OfWindow(host.hwnd()).SaveBmp(argv[1])) {
        std::fwprintf(stderr, L"cannot write %ls\n", argv[1]);
        return 1;
    }
    return 0;
}
