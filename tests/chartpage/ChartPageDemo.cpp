// Shows the chart page as a user finds it after recording from a 32-channel chip, and
// saves the picture as a BMP file:
//   chartpage_demo <output.bmp> [frames]

#include "ChartHost.h"
#include "SimulatedRecording.h"
#include "chartpage/DlgChart.h"

#include <commctrl.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: chartpage_demo <output.bmp> [frames]\n");
        return 2;
    }
    const auto frames =
        static_cast<std::uint32_t>(argc > 2 ? std::wcstoul(argv[2], nullptr, 10) : 400);
    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
    ::InitCommonControlsEx(&controls);

    TouchSampleStore store;
    SimulatedRecording recording(store, 32);
    recording.Record(frames);

    // The page in a window of the size of the main dialog's tab area.
    const SIZE area = DialogUnitsToPixels(495, 390, L"System", 12, true);
    ChartHost host(area.cx, area.cy);
    DlgChart page;
    if (!page.Create(host.hwnd())) {
        std::fwprintf(stderr, L"cannot create the page (is DISPLAY set?)\n");
        return 1;
    }
    page.ShowWindow(SW_SHOW);
    page.SetStore(&store);
    page.SendMessage(WM_CHART_SETUP);
    page.SendMessage(WM_CHART_REFRESH);
    ::RedrawWindow(host.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ChartHost::PumpMessages();
    if (!Snapshot::OfWindow(host.hwnd()).SaveBmp(argv[1])) {
        std::fwprintf(stderr, L"cannot write %ls\n", argv[1]);
        return 1;
    }
    std::wprintf(L"%u channels, %u frames, page %ld x %ld pixels\n", recording.ChannelCount(),
                 frames, area.cx, area.cy);
    return 0;
}
