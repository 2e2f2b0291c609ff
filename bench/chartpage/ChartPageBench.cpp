// Cost of one timer tick of the real chart page against the floor the platform sets.
//
// The page (DlgChart from its dialog template) runs in a window the size of the main
// dialog's tab area, drawing a store of 32 channels that the simulated chip fills. Before
// every tick one more frame is decoded into the store, as the adapter's thread does. Measured,
// each as the median of many repetitions taken in alternating blocks:
//   tick:   the page's WM_TIMER handling: four charts of 32 lines each, the four value
//           lists and the scroll bar;
//   floor:  the bare GDI Polyline calls for the same screen points (four charts of 32 lines
//           of n points) on memory DCs compatible with the charts' windows.
// Also counted: allocations during a tick, and renders per chart per tick.
//   chartpage_bench [repetitions] [point count ...]   (default: 200 999 100)

#include "AllocationCounter.h"
#include "BenchTimings.h"
#include "ChartHost.h"
#include "SimulatedRecording.h"
#include "chart/PlotLineSeries.h"
#include "chartpage/DlgChart.h"
#include "framework/Prompts.h"
#include "res/resource.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
constexpr int kChannels = 32;

// A refused point count would stop the measurement: report it instead of showing a box.
class FailingPrompts final : public UserPrompts {
  public:
    int ShowMessage(HWND, const std::wstring& text, const std::wstring&, UINT) override {
        std::fwprintf(stderr, L"the page refused the input: %ls\n", text.c_str());
        std::exit(1);
    }
    bool AskSaveFile(HWND, const SaveFileOptions&, std::wstring&) override { return false; }
};

// The screen points of every line of the page's four charts, as the last tick left them.
struct PagePoints {
    std::vector<std::vector<POINT>> lines[kSampleQuantityCount];  // [chart][channel][point]
};

PagePoints ScreenPointsOf(DlgChart& page) {
    PagePoints points;
    for (SampleQuantity q : kAllSampleQuantities) {
        QuantityChart& chart = page.Chart(q);
        for (std::uint32_t c = 0; c < kChannels; ++c) {
            const CPlotLineSeries* line = chart.Line(c);
            std::vector<POINT> screen(line->GetPointsCount());
            for (unsigned i = 0; i < screen.size(); ++i) {
                screen[i] = line->GetPointScreenCoord(i);
            }
            points.lines[QuantityIndex(q)].push_back(std::move(screen));
        }
    }
    return points;
}

void Measure(DlgChart& page, SimulatedRecording& recording, int repetitions,
             std::uint32_t pointCount) {
    ::SetDlgItemTextW(page.m_hWnd, IDC_X_POINT_COUNT, std::to_wstring(pointCount).c_str());
    page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_X_POINT_COUNT, EN_KILLFOCUS),
                     reinterpret_cast<LPARAM>(::GetDlgItem(page.m_hWnd, IDC_X_POINT_COUNT)));
    auto tick = [&] { page.SendMessage(WM_TIMER, DlgChart::kRefreshTimer); };

    // The floor draws the points of several recent ticks in turn, on DCs like the charts'.
    constexpr int kVariants = 8;
    std::vector<PagePoints> floorData;
    for (int v = 0; v < kVariants; ++v) {
        recording.Record(1);
        tick();
        floorData.push_back(ScreenPointsOf(page));
    }
    MemoryDC targets[kSampleQuantityCount];
    std::vector<Pen> pens;
    for (SampleQuantity q : kAllSampleQuantities) {
        CPlotCtrl& plot = page.Chart(q).Chart();
        const RECT client = plot.GetClientRect();
        ClientDC dc(plot.m_hWnd);
        targets[QuantityIndex(q)].create(dc.get(), client.right, client.bottom);
    }
    for (std::uint32_t c = 0; c < kChannels; ++c) {
        pens.emplace_back(
            ::CreatePen(PS_SOLID, 1, page.Chart(SampleQuantity::Baseline).Line(c)->GetColor()));
    }
    auto drawChartFloor = [&](int repetition, size_t q) {
        const PagePoints& data = floorData[static_cast<size_t>(repetition) % kVariants];
        HDC dc = targets[q].get();
        for (std::uint32_t c = 0; c < kChannels; ++c) {
            ScopedSelect pen(dc, pens[c].get());
            const std::vector<POINT>& line = data.lines[q][c];
            ::Polyline(dc, line.data(), static_cast<int>(line.size()));
        }
    };
    auto drawFloor = [&](int repetition) {
        for (size_t q = 0; q < kSampleQuantityCount; ++q) {
            drawChartFloor(repetition, q);
        }
        ::GdiFlush();
    };

    constexpr int kBlock = 10;
    Timings tickTimes(repetitions);
    Timings floorTimes(repetitions);
    long allocations = 0;
    const unsigned rendersBefore = page.Chart(SampleQuantity::Noise).Chart().GetRenderCount();
    for (int done = 0; done < repetitions; done += kBlock) {
        const int block = std::min(kBlock, repetitions - done);
        for (int r = done; r < done + block; ++r) {
            recording.Record(1);  // the adapter thread's frame, outside the measured tick
            AllocationCounter::Start();
            tickTimes.Time(tick);
            allocations += AllocationCounter::Stop();
        }
        for (int r = done; r < done + block; ++r) {
            floorTimes.Time([&] { drawFloor(r); });
        }
    }
    const unsigned renders =
        page.Chart(SampleQuantity::Noise).Chart().GetRenderCount() - rendersBefore;
    // How the floor divides among the charts: the data decide what the lines cost.
    std::vector<Timings> chartFloors(kSampleQuantityCount, Timings(repetitions));
    for (int r = 0; r < repetitions; ++r) {
        for (size_t q = 0; q < kSampleQuantityCount; ++q) {
            chartFloors[q].Time([&] {
                drawChartFloor(r, q);
                ::GdiFlush();
            });
        }
    }

    std::printf("n = %u: %d channels x 4 charts, %d ticks (medians)\n", page.PointCount(),
                kChannels, repetitions);
    tickTimes.Print("page tick (WM_TIMER):");
    floorTimes.Print("floor (bare Polyline, 4 x 32 lines):");
    std::printf("%-38s %.2f (target <= 1.30)\n",
                "ratio of medians tick / floor:", tickTimes.Median() / floorTimes.Median());
    std::printf("%-38s %.3f / %.3f / %.3f / %.3f ms\n",
                "floor by chart (base/filt/diff/noise):", chartFloors[0].Median(),
                chartFloors[1].Median(), chartFloors[2].Median(), chartFloors[3].Median());
    std::printf("%-38s %.2f\n",
                "renders per chart per tick:", static_cast<double>(renders) / repetitions);
    std::printf("%-38s %ld\n", "allocations in all ticks:", allocations);
}
}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200;
    std::vector<std::uint32_t> pointCounts;
    for (int a = 2; a < argc; ++a) {
        pointCounts.push_back(static_cast<std::uint32_t>(std::atoi(argv[a])));
    }
    if (pointCounts.empty()) {
        pointCounts = {999, 100};
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
    ::InitCommonControlsEx(&controls);
    FailingPrompts prompts;
    InstallPrompts(&prompts);

    TouchSampleStore store;
    SimulatedRecording recording(store, kChannels);
    recording.Record(1000);  // enough received samples for 999 points

    const SIZE area = DialogUnitsToPixels(495, 390, L"System", 12, true);
    ChartHost host(area.cx, area.cy);
    DlgChart page;
    if (!page.Create(host.hwnd())) {
        std::fprintf(stderr, "cannot create the page (is DISPLAY set?)\n");
        return 1;
    }
    page.ShowWindow(SW_SHOW);
    page.SetStore(&store);
    page.SendMessage(WM_CHART_SETUP);
    ChartHost::PumpMessages();
    for (std::uint32_t n : pointCounts) {
        Measure(page, recording, repetitions, n);
    }
    return 0;
}
