// Acquisition benchmarks, each in a process of its own:
//   app_bench throughput <library folder> [seconds]
//       the real main dialog, adapter thread and data table against the simulator (set
//       TESSIK_SIM_REPORT_DELAY_US=0 and TESSIK_SIM_CHANNELS=32): frames per second, frames
//       lost, and the UI thread's WM_NULL round trips meanwhile; then the bare frame reads of
//       the same connection without any window, for comparison.
//   app_bench store blocks|vector [frames]
//       private-bytes growth per frame and the longest append (store lock held) of 32
//       channels, with the store's block series or with one growing vector per series.
//   app_bench table [rows]
//       scrolling the data table to its last row and painting it, against an ordinary report
//       list holding one string per cell.
//   app_bench export <file> [rows]
//       the CSV export of a 32-channel table: building its lines, writing them and the whole
//       export, each beside the export as it was before the line writer; then writing the
//       list's cell texts line by line.
//   app_bench load <file> [frames]
//       opening a 32-channel recording of that many frames in the main dialog: the load rate,
//       the longest WM_NULL round trip of the UI thread meanwhile, and the private bytes per
//       frame that the loaded recording costs.

#include "app/CsvExport.h"
#include "app/DlgListData.h"
#include "app/PageMessages.h"
#include "app/DecimalText.h"
#include "app/PalvexDlg.h"
#include "device/connection/DeviceConnection.h"
#include "device/recording/RecordingFormat.h"
#include "device/recording/RecordingHeader.h"
#include "device/recording/RecordingStoreLines.h"
#include "device/recording/TextEncoding.h"
#include "device/store/FrameDecoding.h"
#include "tessik/SimulatedChip.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kChannels = 32;

double Millis(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double Quantile(std::vector<double> values, double q) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
}

// The process's private committed memory. Wine leaves PrivateUsage at 0 and reports the
// private resident memory as page-file usage, which on Windows is the same figure.
double PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(),
                           reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return static_cast<double>(std::max(counters.PrivateUsage, counters.PagefileUsage));
}

// The UI thread's time per kind of message that it dispatches (window class and handle,
// control id, message, timer id): where a slow answer comes from.
class MessageTimes {
  public:
    void Add(const MSG& message, double millis) {
        wchar_t className[64] = L"?";
        ::GetClassNameW(message.hwnd, className, 64);
        wchar_t key[128];
        std::swprintf(
            key, 128, L"%ls %p %d message 0x%04X %llu", className, static_cast<void*>(message.hwnd),
            ::GetDlgCtrlID(message.hwnd), message.message,
            message.message == WM_TIMER ? static_cast<unsigned long long>(message.wParam) : 0ULL);
        Kind& kind = kinds_[key];
        ++kind.count;
        kind.total += millis;
        kind.longest = std::max(kind.longest, millis);
    }
    void Print() const {
        std::printf(
            "  UI thread per message (window, id, message, timer): count, total, "
            "longest\n");
        for (const auto& [key, kind] : kinds_) {
            std::printf("    %-52ls %6d %9.1f ms %7.1f ms\n", key.c_str(), kind.count, kind.total,
                        kind.longest);
        }
    }

  private:
    struct Kind {
        int count = 0;
        double total = 0.0;
        double longest = 0.0;
    };
    std::map<std::wstring, Kind> kinds_;
};

void PumpFor(Clock::duration duration, MessageTimes* times = nullptr) {
    const auto end = Clock::now() + duration;
    MSG message;
    while (Clock::now() < end) {
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            const auto start = Clock::now();
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
            if (times != nullptr) {
                times->Add(message, Millis(Clock::now() - start));
            }
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

// Another thread asks the UI thread for a WM_NULL round trip every 5 ms, from construction
// until Finish, which returns every round trip's time in milliseconds.
class AnswerProbe {
  public:
    explicit AnswerProbe(HWND window)
        : thread_([this, window] {
              while (probing_) {
                  const auto sent = Clock::now();
                  DWORD_PTR ignored = 0;
                  ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
                  roundTrips_.push_back(Millis(Clock::now() - sent));
                  std::this_thread::sleep_for(std::chrono::milliseconds(5));
              }
          }) {}
    ~AnswerProbe() {
        if (thread_.joinable()) {
            Finish();
        }
    }

    std::vector<double> Finish() {
        probing_ = false;
        PumpFor(std::chrono::milliseconds(100));  // answers the probe's last round trip
        thread_.join();
        return roundTrips_;
    }

  private:
    std::atomic<bool> probing_{true};
    std::vector<double> roundTrips_;
    std::thread thread_;  // last: it starts once the members above exist
};

// How old the key evaluation's figures are while receiving: at each sample, the time since the
// store was read for the figures shown (since receiving began, before the first figures of the
// run), by the frames received so far.
class FigureAges {
  public:
    explicit FigureAges(const DlgKeyEvaluation& page) : page_(page), started_(Clock::now()) {}

    void Sample(std::uint32_t frames) {
        const KeysEvaluated& shown = page_.Shown();
        const double age = Millis(Clock::now() - std::max(shown.readAt, started_)) / 1000.0;
        for (Bracket& bracket : brackets_) {
            if (frames <= bracket.frames) {
                bracket.oldest = std::max(bracket.oldest, age);
                ++bracket.samples;
            }
        }
        if (shown.readAt > started_ && shown.readAt != lastReadAt_) {
            lastReadAt_ = shown.readAt;
            ++passes_;
            framesJudged_ = shown.frames;
        }
    }

    void Print() const {
        std::printf("  key evaluation: %d passes shown, the last of %llu frames\n", passes_,
                    static_cast<unsigned long long>(framesJudged_));
        for (const Bracket& bracket : brackets_) {
            if (bracket.samples > 0) {
                if (bracket.frames == UINT32_MAX) {
                    std::printf("    figures' age over the whole run: at most %.2f s\n",
                                bracket.oldest);
                } else {
                    std::printf("    figures' age up to %u frames: at most %.2f s\n",
                                bracket.frames, bracket.oldest);
                }
            }
        }
    }

  private:
    struct Bracket {
        std::uint32_t frames;
        double oldest = 0.0;
        int samples = 0;
    };
    const DlgKeyEvaluation& page_;
    Clock::time_point started_;
    Clock::time_point lastReadAt_{};
    int passes_ = 0;
    std::uint64_t framesJudged_ = 0;
    std::array<Bracket, 3> brackets_{{{100000}, {1000000}, {UINT32_MAX}}};
};

void Click(HWND dialog, int id) {
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// Click, then the messages until the command has its adapter's answer.
void ClickAndWait(const CPalvexDlg& dialog, int id) {
    Click(dialog.m_hWnd, id);
    const auto end = Clock::now() + std::chrono::seconds(30);
    while (dialog.WaitingForAdapter() && Clock::now() < end) {
        PumpFor(std::chrono::milliseconds(1));
    }
}

// The floor: frame reads back to back through the same libraries, with no window and no
// worker.
void BareFrameReads(const std::wstring& folder, const char* when) {
    DeviceConnection connection(folder);
    TouchSampleStore store;
    if (connection.Connect() != ConnectResult::Connected || !connection.StartStreaming() ||
        !connection.ReadChannelLayout(store)) {
        std::fprintf(stderr, "the device did not open\n");
        return;
    }
    std::uint32_t read = 0;
    const auto start = Clock::now();
    while (Clock::now() - start < std::chrono::seconds(3) && connection.ReadFrame(store)) {
        ++read;
    }
    std::printf("bare frame reads without windows (%s): %.0f frames/s\n", when,
                read / (Millis(Clock::now() - start) / 1000.0));
    connection.StopStreaming();
}

int Throughput(const std::wstring& folder, double seconds) {
    BareFrameReads(folder, "before");
    CPalvexDlg dialog(folder);
    if (!dialog.Create(nullptr)) {
        std::fprintf(stderr, "no window (no display?)\n");
        return 1;
    }
    dialog.ShowWindow(SW_SHOW);
    const HWND hwnd = dialog.m_hWnd;
    // The data page is shown, as a person watching the table would have it.
    const int tab =
        _wgetenv(L"PALVEX_BENCH_TAB") != nullptr ? _wtoi(_wgetenv(L"PALVEX_BENCH_TAB")) : 1;
    ::SendMessageW(::GetDlgItem(hwnd, IDC_PAGE_TABS), TCM_SETCURSEL, tab, 0);
    NMHDR changed{::GetDlgItem(hwnd, IDC_PAGE_TABS), IDC_PAGE_TABS, TCN_SELCHANGE};
    ::SendMessageW(hwnd, WM_NOTIFY, IDC_PAGE_TABS, reinterpret_cast<LPARAM>(&changed));
    ClickAndWait(dialog, IDC_OPEN_DEVICE);
    if (dialog.Store().ChannelCount() == 0) {
        std::fprintf(stderr, "the device did not open\n");
        return 1;
    }

    AnswerProbe probe(hwnd);

    MessageTimes messageTimes;
    FigureAges ages(dialog.EvaluationPage());
    const auto started = Clock::now();
    ClickAndWait(dialog, IDC_CONTINUE_RECEIVING);
    const auto end = started + std::chrono::duration_cast<Clock::duration>(
                                   std::chrono::duration<double>(seconds));
    while (Clock::now() < end) {
        PumpFor(std::chrono::milliseconds(10), &messageTimes);
        ages.Sample(dialog.Store().FrameCount());
    }
    ClickAndWait(dialog, IDC_STOP_RECEIVING);
    const double elapsed = Millis(Clock::now() - started) / 1000.0;
    const std::vector<double> roundTrips = probe.Finish();

    const DlgListData& page = dialog.ListPage();
    const std::uint32_t frames = dialog.Store().FrameCount();
    const std::uint32_t samples = dialog.Store().Channel(0).SampleCount();
    std::printf("end to end, %d channels, %.1f s: %.0f frames/s\n",
                static_cast<int>(dialog.Store().ChannelCount()), elapsed, frames / elapsed);
    std::printf(
        "  rows %d, frames %u, samples - 100 = %u: %s\n", page.RowCount(), frames,
        samples - kLeadingZeroSamples,
        page.RowCount() == static_cast<int>(frames) && samples - kLeadingZeroSamples == frames
            ? "no frame lost"
            : "FRAMES LOST");
    std::printf("  WM_NULL round trip: median %.3f ms, p99 %.3f ms, max %.3f ms (%zu probes)\n",
                Quantile(roundTrips, 0.5), Quantile(roundTrips, 0.99), Quantile(roundTrips, 1.0),
                roundTrips.size());
    messageTimes.Print();
    ages.Print();
    // The table as it stands after the run, repainted whole: what one catch-up can cost.
    const HWND list = page.List().m_hWnd;
    std::vector<double> repaints;
    for (int i = 0; i < 20; ++i) {
        ::InvalidateRect(list, nullptr, TRUE);
        const auto start = Clock::now();
        ::UpdateWindow(list);
        repaints.push_back(Millis(Clock::now() - start));
    }
    std::printf("  repainting the whole visible table of %d rows: median %.3f ms\n",
                page.RowCount(), Quantile(repaints, 0.5));
    Click(hwnd, IDC_CLOSE_DEVICE);
    dialog.DestroyWindow();

    BareFrameReads(folder, "after");
    return 0;
}

std::vector<ChipFrame> SomeFrames(std::size_t count) {
    SimulatedChip chip(kChannels, -1, 7);
    std::vector<ChipFrame> frames(count);
    for (ChipFrame& frame : frames) {
        frame = chip.NextFrame();
    }
    return frames;
}

// The design the store replaced: one growing vector per series.
struct VectorStore {
    std::vector<std::vector<std::int32_t>> series =
        std::vector<std::vector<std::int32_t>>(kChannels * 4, std::vector<std::int32_t>(100));
    void Decode(const std::uint8_t* frame) {
        for (int c = 0; c < kChannels; ++c) {
            const int group = 3 + 6 * c;
            const int b = (frame[group] << 8) | frame[group + 1];
            const int f = (frame[group + 2] << 8) | frame[group + 3];
            const int n = (frame[group + 4] << 8) | frame[group + 5];
            series[4 * c].push_back(b);
            series[4 * c + 1].push_back(f);
            series[4 * c + 2].push_back(b - f);
            series[4 * c + 3].push_back(n);
        }
    }
};

// A visible top-level window for a page or a list of the data page's size.
HWND HostWindow() {
    HWND host = ::CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  1000, 700, nullptr, nullptr, nullptr, nullptr);
    return host;
}

int StoreGrowth(bool blocks, std::uint32_t frames) {
    // A few thousand distinct frames, used over and over: generating a million would itself
    // take memory.
    const std::vector<ChipFrame> source = SomeFrames(4096);
    TouchSampleStore store;
    std::uint8_t count = 0;
    DecodeChannelLayout(source[0].data(), store, count);
    VectorStore vectors;
    std::mutex vectorLock;
    // The data page shows the store's rows as they come, as while receiving.
    DlgListData page;
    if (blocks) {
        page.Create(HostWindow());
        page.SendMessage(WM_LIST_SETUP, 0, reinterpret_cast<LPARAM>(&store));
    }
    const double before = PrivateBytes();
    // The longest append at the frames where the first series starts a new block, and
    // elsewhere; and how many took over a millisecond (on a busy machine the thread is
    // sometimes preempted inside).
    double longestAtBlockStart = 0.0;
    double longestElsewhere = 0.0;
    std::uint32_t overOneMilli = 0;
    std::uint32_t longestAt = 0;
    std::vector<double> blockStarts;
    blockStarts.reserve(frames / SampleSeries::kBlockSamples + 1);
    for (std::uint32_t k = 0; k < frames; ++k) {
        const std::uint8_t* frame = source[k % source.size()].data();
        const auto start = Clock::now();
        if (blocks) {
            DecodeSamples(frame, count, store);
        } else {
            std::lock_guard guard(vectorLock);
            vectors.Decode(frame);
        }
        const double took = Millis(Clock::now() - start);
        const bool blockStart = (kLeadingZeroSamples + k) % SampleSeries::kBlockSamples == 0;
        if (blockStart) {
            blockStarts.push_back(took);
        }
        double& longest = blockStart ? longestAtBlockStart : longestElsewhere;
        if (took > longest) {
            longest = took;
            longestAt = took >= std::max(longestAtBlockStart, longestElsewhere) ? k + 1 : longestAt;
        }
        overOneMilli += took > 1.0 ? 1 : 0;
        if (blocks && k % 1024 == 0) {
            page.CatchUp();
        }
    }
    if (blocks) {
        page.CatchUp();
    }
    const double grown = PrivateBytes() - before;
    std::printf("%s, %u frames of %d channels: %.3f KB per frame of private bytes\n",
                blocks ? "store in blocks with the data page" : "one vector per series", frames,
                kChannels, grown / frames / 1024.0);
    std::printf(
        "  longest append (lock held): %.3f ms at frame %u; where the first series starts a block "
        "%.3f ms, "
        "elsewhere %.3f ms; %u of %u over 1 ms\n",
        std::max(longestAtBlockStart, longestElsewhere), longestAt, longestAtBlockStart,
        longestElsewhere, overOneMilli, frames);
    std::printf("  appends where the first series starts a block: median %.3f ms\n",
                Quantile(blockStarts, 0.5));
    return 0;
}

// A store of rows frames of 32 channels, and the data page showing it.
struct FilledPage {
    TouchSampleStore store;
    DlgListData page;
    explicit FilledPage(std::uint32_t rows) {
        const std::vector<ChipFrame> source = SomeFrames(4096);
        std::uint8_t count = 0;
        DecodeChannelLayout(source[0].data(), store, count);
        for (std::uint32_t k = 0; k < rows; ++k) {
            DecodeSamples(source[k % source.size()].data(), count, store);
        }
        page.Create(HostWindow());
        RECT area{0, 0, 980, 660};
        page.MoveWindow(area, true);
        page.ShowWindow(SW_SHOW);
        page.SendMessage(WM_LIST_SETUP, 0, reinterpret_cast<LPARAM>(&store));
        page.CatchUp();
    }
};

int Table(std::uint32_t rows) {
    FilledPage filled(rows);
    const HWND list = filled.page.GetDlgItem(IDC_DATA_LIST);
    std::vector<double> times;
    for (int i = 0; i < 40; ++i) {
        ListView_EnsureVisible(list, 0, FALSE);
        ::UpdateWindow(list);
        const auto start = Clock::now();
        ListView_EnsureVisible(list, static_cast<int>(rows) - 1, FALSE);
        ::UpdateWindow(list);
        times.push_back(Millis(Clock::now() - start));
    }
    std::printf(
        "owner-data table, %d rows x %d columns: scroll to the end and paint median "
        "%.3f ms, max %.3f ms\n",
        ListView_GetItemCount(list), filled.page.ColumnCount(), Quantile(times, 0.5),
        Quantile(times, 1.0));
    times.clear();
    for (int i = 0; i < 40; ++i) {
        ::InvalidateRect(list, nullptr, TRUE);
        const auto start = Clock::now();
        ::UpdateWindow(list);
        times.push_back(Millis(Clock::now() - start));
    }
    std::printf("  repainting the whole visible table alone: median %.3f ms\n",
                Quantile(times, 0.5));
    const auto cellsStart = Clock::now();
    for (int i = 0; i < 10000; ++i) {
        wchar_t text[64];
        ListView_GetItemText(list, i % 30, i % 129, text, 64);
    }
    std::printf("  one cell text through the list: %.3f us\n",
                Millis(Clock::now() - cellsStart) / 10.0);

    // The table as it was before the data list page: an ordinary report list with one string per
    // cell, far fewer rows.
    const std::uint32_t naiveRows = std::min<std::uint32_t>(rows, 1000);
    HWND naive = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0,
                                   980, 660, HostWindow(), nullptr, nullptr, nullptr);
    for (int column = 0; column < filled.page.ColumnCount(); ++column) {
        LVCOLUMNW item{};
        item.mask = LVCF_TEXT | LVCF_WIDTH;
        item.cx = column == 0 ? 50 : 100;
        std::wstring title = filled.page.ColumnTitle(column);
        item.pszText = title.data();
        ListView_InsertColumn(naive, column, &item);
    }
    const double before = PrivateBytes();
    const auto insertStart = Clock::now();
    for (std::uint32_t r = 0; r < naiveRows; ++r) {
        std::wstring text = filled.page.CellText(static_cast<int>(r), 0);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(r);
        item.pszText = text.data();
        ListView_InsertItem(naive, &item);
        for (int column = 1; column < filled.page.ColumnCount(); ++column) {
            text = filled.page.CellText(static_cast<int>(r), column);
            ListView_SetItemText(naive, static_cast<int>(r), column, text.data());
        }
        ListView_EnsureVisible(naive, static_cast<int>(r), FALSE);
    }
    const double insertMillis = Millis(Clock::now() - insertStart);
    const double grown = PrivateBytes() - before;
    times.clear();
    for (int i = 0; i < 10; ++i) {
        ListView_EnsureVisible(naive, 0, FALSE);
        ::UpdateWindow(naive);
        const auto start = Clock::now();
        ListView_EnsureVisible(naive, static_cast<int>(naiveRows) - 1, FALSE);
        ::UpdateWindow(naive);
        times.push_back(Millis(Clock::now() - start));
    }
    std::printf(
        "ordinary report list, %u rows: %.3f ms per appended row, %.2f KB per row, "
        "scroll to the end and paint median %.3f ms\n",
        naiveRows, insertMillis / naiveRows, grown / naiveRows / 1024.0, Quantile(times, 0.5));
    return 0;
}

// The export as it was before the line writer: the titles read back from the list, each row
// formatted by hand under a lock of its own, gathered into pieces of 1 MB. Kept as the
// reference the writer's figures are compared with.
namespace earlierExport {

constexpr std::size_t kWritePiece = RecordingLineWriter::kWritePiece;

void AppendRowFields(const TouchSampleStore& store, int row, int columns, std::string& line) {
    const std::size_t start = line.size();
    line.resize(start + static_cast<std::size_t>(columns) * (kMaxDecimalLength + 1));
    char* out = WriteDecimal(std::int64_t{row} + 1, line.data() + start);
    *out++ = ',';
    auto guard = store.Lock();
    const std::uint32_t index = kLeadingZeroSamples + static_cast<std::uint32_t>(row);
    int cells = columns - 1;
    for (std::uint32_t position = 0; cells > 0 && position < store.ChannelCount(); ++position) {
        for (SampleQuantity quantity : kAllSampleQuantities) {
            if (cells-- == 0) {
                break;
            }
            const SampleSeries& series = store.Channel(position).Series(quantity);
            if (index < series.Size()) {
                out = WriteDecimal(series.At(index), out);
            }
            *out++ = ',';
        }
    }
    line.resize(static_cast<std::size_t>(out - line.data()));
}

// Builds every line and hands each full piece to write.
template <typename Write>
bool WriteRows(const DlgListData& table, Write write) {
    std::string piece;
    piece.reserve(kWritePiece + 4096);
    const int columns = table.ColumnCount();
    for (int row = 0; row < table.RowCount(); ++row) {
        AppendRowFields(*table.RowSource(), row, columns, piece);
        piece += '\n';
        if (piece.size() >= kWritePiece) {
            if (!write(piece)) {
                return false;
            }
            piece.clear();
        }
    }
    return write(piece);
}

bool WriteFile(const DlgListData& table, const std::wstring& path) {
    const std::wstring temporary = path + L".tmp";
    std::FILE* file = ::_wfopen(temporary.c_str(), L"wt");
    if (file == nullptr) {
        return false;
    }
    const auto write = [file](const std::string& text) {
        return std::fwrite(text.data(), 1, text.size(), file) == text.size();
    };
    std::wstring header;
    for (int column = 0; column < table.ColumnCount(); ++column) {
        header += table.ColumnTitle(column) + L',';
    }
    const bool written = write(ToActiveCodePage(header + L'\n')) && WriteRows(table, write);
    return std::fclose(file) == 0 && written &&
           ::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

}  // namespace earlierExport

double FileBytes(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return static_cast<double>(data.nFileSizeLow) +
           static_cast<double>(data.nFileSizeHigh) * 4294967296.0;
}

constexpr int kRuns = 7;

// The rate in MB/s of bytes done by one run; 0 when it failed.
template <typename Run>
double Rate(double bytes, Run run) {
    const auto start = Clock::now();
    return run() ? bytes / (Millis(Clock::now() - start) / 1000.0) / 1e6 : 0.0;
}

// The median rate of run, kRuns times.
template <typename Run>
double MedianRate(double bytes, Run run) {
    std::vector<double> rates;
    for (int i = 0; i < kRuns; ++i) {
        rates.push_back(Rate(bytes, run));
    }
    return Quantile(rates, 0.5);
}

struct Rates {
    double ours = 0.0;
    double earlier = 0.0;
};

// The median rates of ours and of the earlier path, run by turns kRuns times each: on a shared
// machine the load changes from second to second, and by turns both paths bear it alike.
template <typename Ours, typename Earlier>
Rates MedianRatesByTurns(double bytes, Ours ours, Earlier earlier) {
    std::vector<double> oursRates;
    std::vector<double> earlierRates;
    for (int i = 0; i < kRuns; ++i) {
        oursRates.push_back(Rate(bytes, ours));
        earlierRates.push_back(Rate(bytes, earlier));
    }
    return {Quantile(oursRates, 0.5), Quantile(earlierRates, 0.5)};
}

int Export(const std::wstring& path, std::uint32_t rows) {
    FilledPage filled(rows);
    const DlgListData& table = filled.page;
    const CsvWriteResult result = WriteTableAsCsv(table, path);
    if (result.outcome != CsvWriteResult::Outcome::Saved) {
        std::fprintf(stderr, "export failed: %lu\n", static_cast<unsigned long>(result.error));
        return 1;
    }
    const double size = FileBytes(path);
    if (!earlierExport::WriteFile(table, path) || FileBytes(path) != size) {
        std::fprintf(stderr, "the earlier export wrote other bytes\n");
        return 1;
    }

    const Rates whole = MedianRatesByTurns(
        size,
        [&] { return WriteTableAsCsv(table, path).outcome == CsvWriteResult::Outcome::Saved; },
        [&] { return earlierExport::WriteFile(table, path); });
    const Rates lines = MedianRatesByTurns(
        size,
        [&] {
            RecordingLineWriter writer([](std::string_view) { return true; });
            return WriteStoreLines(*table.RowSource(), static_cast<std::uint32_t>(rows), writer) &&
                   writer.Flush();
        },
        [&] { return earlierExport::WriteRows(table, [](const std::string&) { return true; }); });
    std::string all;
    RecordingLineWriter gather([&all](std::string_view piece) {
        all += piece;
        return true;
    });
    WriteStoreLines(*table.RowSource(), static_cast<std::uint32_t>(rows), gather);
    gather.Flush();
    const double writing = MedianRate(size, [&] {
        std::FILE* file = ::_wfopen(path.c_str(), L"wb");
        const bool written =
            file != nullptr && std::fwrite(all.data(), 1, all.size(), file) == all.size();
        return file != nullptr && std::fclose(file) == 0 && written;
    });
    std::printf("export, %u rows x %d fields, %.1f MB, median of %d, the earlier path by turns:\n",
                rows, table.ColumnCount(), size / 1e6, kRuns);
    std::printf("  building the lines: %.0f MB/s (the earlier path %.0f MB/s, %.1fx)\n", lines.ours,
                lines.earlier, lines.ours / lines.earlier);
    std::printf("  writing them alone: %.0f MB/s\n", writing);
    std::printf("  whole export: %.0f MB/s (the earlier path %.0f MB/s, %.1fx)\n", whole.ours,
                whole.earlier, whole.ours / whole.earlier);

    // The plainest export: the list's cell texts, a line at a time, converted and written.
    const HWND list = filled.page.GetDlgItem(IDC_DATA_LIST);
    const int columns = filled.page.ColumnCount();
    const auto start = Clock::now();
    std::FILE* file = ::_wfopen(path.c_str(), L"wt");
    if (file == nullptr) {
        return 1;
    }
    for (std::uint32_t r = 0; r < rows; ++r) {
        std::wstring line;
        for (int column = 0; column < columns; ++column) {
            wchar_t text[64];
            ListView_GetItemText(list, static_cast<int>(r), column, text, 64);
            line += text;
            line += L',';
        }
        line += L'\n';
        char bytes[4096];
        const int length =
            ::WideCharToMultiByte(CP_ACP, 0, line.c_str(), static_cast<int>(line.size()), bytes,
                                  sizeof bytes, nullptr, nullptr);
        std::fwrite(bytes, 1, static_cast<std::size_t>(length), file);
    }
    std::fclose(file);
    std::printf("cell texts line by line: %.0f MB/s\n",
                size / (Millis(Clock::now() - start) / 1000.0) / 1e6);
    ::DeleteFileW(path.c_str());
    return 0;
}

// A recording of frames frames of 32 channels, as the export writes it, with values that
// change from line to line like a touched key's.
bool WriteRecording(const std::wstring& path, std::uint32_t frames) {
    std::FILE* file = ::_wfopen(path.c_str(), L"wb");
    if (file == nullptr) {
        return false;
    }
    RecordingLineWriter lines(RecordingLineWriter::FileSink(file));
    bool written = lines.WriteText(RecordingHeaderBytes(NumberedChannels(kChannels)));
    std::int32_t values[kChannels * 4];
    for (std::uint32_t frame = 0; written && frame < frames; ++frame) {
        for (std::uint32_t c = 0; c < kChannels; ++c) {
            const auto baseline = static_cast<std::int32_t>(2000 + 10 * c);
            const auto filtered = static_cast<std::int32_t>(baseline - (frame + 37 * c) % 400);
            values[4 * c] = baseline;
            values[4 * c + 1] = filtered;
            values[4 * c + 2] = baseline - filtered;
            values[4 * c + 3] = static_cast<std::int32_t>((frame * 7 + c) % 9);
        }
        lines.BeginLine(1 + kChannels * 4);
        lines.Field(std::int64_t{frame} + 1);
        lines.Fields(values, kChannels * 4, 1);
        written = lines.EndLine();
    }
    written = lines.Flush() && written;
    return std::fclose(file) == 0 && written;
}

int Load(const std::wstring& path, std::uint32_t frames) {
    if (!WriteRecording(path, frames)) {
        std::fprintf(stderr, "the recording could not be written\n");
        return 1;
    }
    CPalvexDlg dialog(L".");
    if (!dialog.Create(nullptr)) {
        std::fprintf(stderr, "no window (no display?)\n");
        return 1;
    }
    dialog.ShowWindow(SW_SHOW);
    const HWND hwnd = dialog.m_hWnd;
    PumpFor(std::chrono::milliseconds(200));

    AnswerProbe probe(hwnd);
    const double before = PrivateBytes();
    const auto start = Clock::now();
    dialog.OpenRecording(path);
    MessageTimes messageTimes;
    while (dialog.LoadingRecording() && Clock::now() - start < std::chrono::minutes(5)) {
        PumpFor(std::chrono::milliseconds(1), &messageTimes);
    }
    const double seconds = Millis(Clock::now() - start) / 1000.0;
    const double grown = PrivateBytes() - before;
    const std::vector<double> roundTrips = probe.Finish();

    const double size = FileBytes(path);
    const bool whole = dialog.ListPage().RowCount() == static_cast<int>(frames) &&
                       dialog.Store().FrameCount() == frames;
    std::printf("loading a recording of %u frames x %d channels, %.1f MB: %.0f MB/s (%.2f s), %s\n",
                frames, kChannels, size / 1e6, size / seconds / 1e6, seconds,
                whole ? "every frame shown" : "FRAMES MISSING");
    std::printf("  WM_NULL round trip meanwhile: median %.3f ms, max %.3f ms (%zu probes)\n",
                Quantile(roundTrips, 0.5), Quantile(roundTrips, 1.0), roundTrips.size());
    std::printf("  private bytes grown: %.3f KB per frame\n", grown / frames / 1024.0);
    messageTimes.Print();
    dialog.DestroyWindow();
    ::DeleteFileW(path.c_str());
    return whole ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // each figure as soon as it is measured
    INITCOMMONCONTROLSEX classes{sizeof(classes), 0xFF};
    ::InitCommonControlsEx(&classes);
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    const auto number = [&](int index, double fallback) {
        return argc > index ? std::wcstod(argv[index], nullptr) : fallback;
    };
    if (mode == L"throughput" && argc > 2) {
        return Throughput(argv[2], number(3, 10));
    }
    if (mode == L"store" && argc > 2) {
        return StoreGrowth(std::wstring(argv[2]) == L"blocks",
                           static_cast<std::uint32_t>(number(3, 1000000)));
    }
    if (mode == L"table") {
        return Table(static_cast<std::uint32_t>(number(2, 1000000)));
    }
    if (mode == L"export" && argc > 2) {
        return Export(argv[2], static_cast<std::uint32_t>(number(3, 100000)));
    }
    if (mode == L"load" && argc > 2) {
        return Load(argv[2], static_cast<std::uint32_t>(number(3, 200000)));
    }
    std::fprintf(stderr, "usage: app_bench throughput|store|table|export|load ...\n");
    return 2;
}
