// Cost of one chart refresh of the chart page against the floor the platform sets.
//
// One "PlotCtrl" of the chart page's size (302 x 86 dialog units in "System" 12 pt bold)
// gets 32 line series of 999 points. Measured, each as the median of many repetitions:
//   refresh:  SetPoints on all 32 series and the one render that follows them;
//   floor:    the bare GDI Polyline calls for the same 32 x 999 screen points on the same
//             kind of device context (a memory DC compatible with the window's DC);
//   page tick: the same as "refresh" on four such charts (about 128,000 points);
//   unbatched: one chart whose 32 SetPoints are not bracketed by SetRefreshEnabled, so
//             that every one of them renders (for comparison only).
//   chart_bench [repetitions] [touch|waves]

#include "BenchTimings.h"
#include "ChartHost.h"
#include "chart/PlotCursor.h"
#include "chart/PlotLineSeries.h"
#include "chartpage/PageChartLook.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
constexpr int kSeries = 32;
constexpr unsigned kPoints = 999;

// A chart dressed as on the chart page, with its series.
struct PageChart {
    CPlotCtrl plot;
    std::vector<CPlotLineSeries*> series;

    void Build() {
        DressAsPageChart(plot);
        for (int k = 0; k < kSeries; ++k) {
            CPlotLineSeries* line = plot.CreateLineSeries(false, false);
            line->ClearPoints();
            line->SetOrdering(0);
            line->SetName(L"name");
            line->SetColor(RGB(37 * k % 256, 255 - 23 * k % 256, 91 * k % 256));
            series.push_back(line);
        }
        AddPageCursor(plot)->MoveToValue(2.5);
    }
};

using Signals = std::vector<std::vector<double>>;  // [series][point]

// What the chart page shows: per channel an integer baseline a little above the one
// before, a few counts of noise, and touches that pull the value down for a while.
Signals TouchSignals(int variant) {
    Signals y(kSeries, std::vector<double>(kPoints));
    unsigned seed = 12345u + 977u * static_cast<unsigned>(variant);
    for (int k = 0; k < kSeries; ++k) {
        for (unsigned i = 0; i < kPoints; ++i) {
            seed = seed * 1103515245u + 12345u;
            const int noise = static_cast<int>((seed >> 16) % 7) - 3;
            const bool touched = ((i + 37 * k + 50 * variant) / 120) % 4 == 1;
            y[k][i] = 2600 + 45 * k + noise - (touched ? 180 : 0);
        }
    }
    return y;
}

// A harder case: smooth waves with ripple, so that hardly two points share a pixel.
Signals WaveSignals(int variant) {
    Signals y(kSeries, std::vector<double>(kPoints));
    for (int k = 0; k < kSeries; ++k) {
        for (unsigned i = 0; i < kPoints; ++i) {
            const double t = (i + 3.0 * variant) / 40.0 + k;
            y[k][i] = 3000.0 + 40.0 * k + 25.0 * std::sin(t) + 6.0 * std::sin(11.0 * t + k);
        }
    }
    return y;
}

void SetAll(PageChart& chart, const std::vector<double>& x, const Signals& y, bool batched) {
    if (batched) {
        chart.plot.SetRefreshEnabled(false);
    }
    for (int k = 0; k < kSeries; ++k) {
        chart.series[k]->SetPoints(x.data(), y[k].data(), kPoints);
    }
    if (batched) {
        chart.plot.SetRefreshEnabled(true);
    }
}
}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const SIZE size = DialogUnitsToPixels(302, 86, L"System", 12, true);
    ChartHost host(size.cx + 20, 4 * (size.cy + 5) + 20);
    PageChart charts[4];
    for (int c = 0; c < 4; ++c) {
        if (!host.Attach(charts[c].plot, 10, 10 + c * (size.cy + 5), size.cx, size.cy)) {
            std::fprintf(stderr, "cannot create the chart windows (is DISPLAY set?)\n");
            return 1;
        }
        charts[c].Build();
    }
    ChartHost::PumpMessages();

    std::vector<double> x(kPoints);
    for (unsigned i = 0; i < kPoints; ++i) {
        x[i] = i * 0.05;
    }
    // Several data sets in turn, made before timing, so that every refresh draws new data.
    constexpr int kVariants = 8;
    const bool waves = argc > 2 && std::strcmp(argv[2], "waves") == 0;
    std::vector<Signals> data;
    for (int v = 0; v < kVariants; ++v) {
        data.push_back(waves ? WaveSignals(v) : TouchSignals(v));
    }
    auto dataFor = [&](int repetition) -> const Signals& {
        return data[static_cast<size_t>(repetition + 1) % kVariants];
    };

    PageChart& chart = charts[0];

    // The floor: for each data set the screen points the chart maps it to, straight to
    // Polyline on a DC of the same kind as the chart's off-screen DC.
    using ScreenPoints = std::vector<std::vector<POINT>>;  // [series][point]
    std::vector<ScreenPoints> screen(kVariants, ScreenPoints(kSeries, std::vector<POINT>(kPoints)));
    for (int v = 0; v < kVariants; ++v) {
        SetAll(chart, x, data[static_cast<size_t>(v)], true);
        for (int k = 0; k < kSeries; ++k) {
            for (unsigned i = 0; i < kPoints; ++i) {
                screen[static_cast<size_t>(v)][k][i] = chart.series[k]->GetPointScreenCoord(i);
            }
        }
    }
    std::vector<Pen> pens;
    for (int k = 0; k < kSeries; ++k) {
        pens.emplace_back(::CreatePen(PS_SOLID, 1, chart.series[k]->GetColor()));
    }
    MemoryDC target;
    {
        ClientDC client(chart.plot.m_hWnd);
        target.create(client.get(), size.cx, size.cy);
    }
    auto drawFloor = [&](int repetition) {
        const ScreenPoints& points = screen[static_cast<size_t>(repetition + 1) % kVariants];
        for (int k = 0; k < kSeries; ++k) {
            ScopedSelect pen(target.get(), pens[k].get());
            ::Polyline(target.get(), points[k].data(), static_cast<int>(kPoints));
        }
        ::GdiFlush();
    };

    // The measurements take turns in short blocks: each block runs with warm caches, and
    // whatever else the machine does at a moment weighs on all three alike.
    constexpr int kBlock = 10;
    drawFloor(-1);  // warm-up: buffers grow, fonts are created
    SetAll(chart, x, dataFor(-1), true);
    Timings refreshTimes(repetitions);
    Timings floorTimes(repetitions);
    Timings tickTimes(repetitions);
    const unsigned rendersBefore = chart.plot.GetRenderCount();
    int refreshes = 0;
    for (int done = 0; done < repetitions; done += kBlock) {
        const int block = std::min(kBlock, repetitions - done);
        for (int r = done; r < done + block; ++r) {
            refreshTimes.Time([&] { SetAll(chart, x, dataFor(r), true); });
        }
        for (int r = done; r < done + block; ++r) {
            floorTimes.Time([&] { drawFloor(r); });
        }
        for (int r = done; r < done + block; ++r) {
            tickTimes.Time([&] {
                for (PageChart& c : charts) {
                    SetAll(c, x, dataFor(r), true);
                }
            });
        }
        refreshes += 2 * block;
    }
    const unsigned renders = chart.plot.GetRenderCount() - rendersBefore;
    const double refresh = refreshTimes.Median();
    const double floor = floorTimes.Median();
    const double tick = tickTimes.Median();

    Timings unbatchedTimes(repetitions / 10 + 1);
    for (int r = 0; r <= repetitions / 10; ++r) {
        unbatchedTimes.Time([&] { SetAll(chart, x, dataFor(r), false); });
    }
    const double unbatched = unbatchedTimes.Median();

    std::printf(
        "%s data; chart %ld x %ld pixels, %d series x %u points, %d repetitions (medians)\n",
        waves ? "wave" : "touch", size.cx, size.cy, kSeries, kPoints, repetitions);
    std::printf("%-38s %.2f\n",
                "renders per batched update:", static_cast<double>(renders) / refreshes);
    refreshTimes.Print("full refresh (SetPoints x32 + render):");
    floorTimes.Print("floor (bare Polyline x32):");
    tickTimes.Print("chart-page tick (4 charts):");
    std::printf("%-38s %.2f (target <= 1.30)\n",
                "ratio of medians refresh / floor:", refresh / floor);
    std::printf("%-38s %.3f ms (target <= 6.0)\n", "median chart-page tick:", tick);
    std::printf("%-38s %.3f ms\n", "unbatched SetPoints x32 (32 renders):", unbatched);
    return 0;
}
