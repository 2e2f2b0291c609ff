#include "tests/e2e/Soak.h"

#include <algorithm>
#include <cstdio>
#include <thread>

#include "app/ChannelBoxes.h"
#include "res/resource.h"
#include "tests/e2e/ChartPageActions.h"
#include "tests/e2e/TopLevelWindows.h"
#include "tests/e2e/Waiting.h"

namespace {

constexpr std::chrono::milliseconds kAnswerLimit = 1s;
constexpr int kMostRounds = 3;
// More refused opens in a row than the longest transient fault gives: unplugged for good.
constexpr int kMostRefusedOpens =
    6;  // receive sessions or idle actions between an open and a close
constexpr std::uint32_t kShortestSessionMillis = 300;
constexpr std::uint32_t kLongestSessionMillis = 2000;
// The largest cycle receives for longer, enough frames for the largest point count the charts
// take, which sizes their lines for the rest of the program's life.
constexpr std::chrono::milliseconds kLargestCycleSession = 3s;
constexpr int kLargestPointCount = 999;
// Under Wine one program's closes range over several megabytes, 5 % and more of its size,
// without a leak: the heap returns memory late and in large pieces.
constexpr double kAllowedGrowthPercent = 10.0;
// And one step of its heap may stay for good: a program at 27.3 MB after its first closes
// closed at 30.6 MB for the rest of its life, flat. A leak raises close after close and soon
// passes this too.
constexpr double kLastingHeapStepBytes = 4.0 * 1024 * 1024;
constexpr std::size_t kClosesBackToLevel = 3;
// The level is the highest of a program's first closes: Wine's heap gives memory back late,
// so one close can stand megabytes below the size that the program works at.
constexpr int kClosesSettingLevel = 3;
constexpr int kCharts[] = {IDC_BASELINE_CHART, IDC_FILTERED_CHART, IDC_DIFFERENCE_CHART,
                           IDC_NOISE_CHART};
constexpr int kScrollCodes[] = {SB_LINELEFT, SB_LINERIGHT, SB_PAGELEFT, SB_PAGERIGHT};
// Point counts a user might type, the refused ones included (0, and more than received).
constexpr int kPointCounts[] = {0, 10, 50, 100, 250, kLargestPointCount, 5000};

double GrowthPercent(double now, double level) {
    return level > 0 ? (now - level) * 100.0 / level : 0.0;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length > 1) {
        narrow.resize(static_cast<std::size_t>(length - 1));
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, narrow.data(), length, nullptr,
                              nullptr);
    }
    return narrow;
}

}  // namespace

Soak::Soak(std::wstring folder, std::uint32_t seed)
    : folder_(std::move(folder)), random_(seed), plan_(seed + 1) {}

std::uint32_t Soak::Below(std::uint32_t bound) {
    return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(random_);
}

void Soak::Problem(const std::string& what) {
    std::fprintf(stderr, "soak problem (cycle %d, %s, after %s): %s\n", figures_.cycles,
                 adapter_.Describe().c_str(), lastAction_.c_str(), what.c_str());
    figures_.problems.push_back(what);
}

SoakFigures Soak::Run(std::chrono::seconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < deadline) {
        if (process_ == nullptr || adapterGone_ || !process_->Running()) {
            EndLife();
            if (!StartLife()) {
                break;
            }
            // The largest cycle first: the most channels and the longest sessions without a
            // clear, so that the level after its close is the program's working size.
            AdapterSettings warmUp;
            warmUp.channels = kMaxChipChannels;
            Cycle(warmUp, true);
            continue;
        }
        Cycle(plan_.Next(), false);
    }
    EndLife();
    return figures_;
}

bool Soak::StartLife() {
    process_ = std::make_unique<PalvexProcess>();
    HWND main = process_->Start(folder_, {}) ? process_->WaitForMainWindow(30s) : nullptr;
    if (main == nullptr) {
        Problem("Palvex did not start");
        return false;
    }
    window_ = std::make_unique<PalvexWindow>(process_->Handle(), main);
    ++figures_.lives;
    level_.reset();
    closesInLife_ = 0;
    recentGrowth_.clear();
    refusedInARow_ = 0;
    adapterGone_ = false;
    return true;
}

void Soak::EndLife() {
    if (process_ == nullptr) {
        return;
    }
    if (process_->Running()) {
        AnswerBoxes();
        ::PostMessageW(window_->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        const auto code = process_->WaitForExit(15s);
        if (!code) {
            Problem("the program did not end after its window was closed");
        } else if (*code != 0) {
            Problem("the program ended with exit code " + std::to_string(*code));
        }
    } else {
        Problem("the program ended by itself");
    }
    window_.reset();
    process_.reset();
}

void Soak::Cycle(const AdapterSettings& adapter, bool largest) {
    ++figures_.cycles;
    const bool pluggedBackIn = unplugged_;
    if (!unplugged_) {
        adapter_ = adapter;
    }
    if (!process_->ChangeSimulatorSettings(adapter.Variables())) {
        Problem("cannot change the simulated adapter's settings");
        adapterGone_ = true;  // start a fresh program instead
        return;
    }
    figures_.faultsPlanned += adapter.Faulty() ? 1 : 0;
    lastBoxText_.clear();
    if (Press(IDC_OPEN_DEVICE, kOpened) != kOpened) {
        ++figures_.faultsSeen;
        if (ReadButtonStates(*window_) != kClosed) {
            Problem("a refused open left the buttons in another state than Closed");
        }
        unplugged_ =
            lastBoxText_.starts_with(L"设备未连接！");  // the adapter itself refused to open
        adapterGone_ = ++refusedInARow_ > kMostRefusedOpens;
        CheckLevelsAfterClose();
        return;
    }
    refusedInARow_ = 0;
    unplugged_ = false;
    if (pluggedBackIn) {
        twin_.reset();  // its chip's frames so far are not known
    } else {
        twin_.emplace(adapter_.channels, adapter_.seed);
    }
    framesAtClear_ = framesCounted_ = 0;
    const int rounds = largest ? kMostRounds : 1 + static_cast<int>(Below(kMostRounds));
    for (int round = 0; round < rounds && ReadButtonStates(*window_) == kOpened; ++round) {
        if (largest) {
            ReceiveSession(kLargestCycleSession);
        } else if (Below(3) != 0) {
            ReceiveSession(std::chrono::milliseconds(
                kShortestSessionMillis + Below(kLongestSessionMillis - kShortestSessionMillis)));
        } else {
            IdleAction();
        }
    }
    if (largest) {
        lastAction_ = "the largest point count";
        EnterPointCount(*window_, kLargestPointCount);
        std::this_thread::sleep_for(300ms);
        AnswerBoxes();
    }
    if (ReadButtonStates(*window_) == kOpened) {
        Press(IDC_CLEAR_DATA, kOpened);
        Press(IDC_CLOSE_DEVICE, kClosed);
    }
    if (!WaitUntil([&] { return ReadButtonStates(*window_) == kClosed; }, 10s)) {
        Problem("the device did not close");
        return;
    }
    CheckLevelsAfterClose();
}

void Soak::ReceiveSession(std::chrono::milliseconds duration) {
    if (Press(IDC_CONTINUE_RECEIVING, kReceiving) != kReceiving) {
        ++figures_.faultsSeen;  // the start request was refused
        return;
    }
    ++figures_.receiveSessions;
    BusyFor(duration);
    if (ReadButtonStates(*window_) == kReceiving && Press(IDC_STOP_RECEIVING, kOpened) == kOpened) {
        CheckRowsAgainstFrames();
        return;
    }
    // A failed read: the program stops and closes by itself, without a message, and keeps
    // the rows it had.
    ++figures_.faultsSeen;
    if (!WaitUntil([&] { return ReadButtonStates(*window_) == kClosed; }, 10s)) {
        Problem("after a failed read the device did not end closed");
    } else if (window_->DataList().RowCount() < static_cast<int>(framesCounted_ - framesAtClear_)) {
        Problem("after a failed read the table lost rows");
    }
    // Only the chart page's point-count warnings ("警告") may be open now.
    if (const auto box = FindMessageBox(process_->Id()); box && box->caption != L"警告") {
        Problem("a failed read showed a message: " + Narrow(box->text));
    }
    AnswerBoxes();
}

void Soak::IdleAction() {
    if (Below(4) == 0) {
        if (Press(IDC_CLEAR_DATA, kOpened) == kOpened) {
            if (!WaitUntil([&] { return window_->DataList().RowCount() == 0; }, 5s)) {
                Problem("clearing left rows in the table");
            }
            framesAtClear_ = framesCounted_;
        }
    } else {
        UserAction();
    }
    ++figures_.userActions;
    std::this_thread::sleep_for(100ms);
    AnswerBoxes();
    CheckAnswers();
}

void Soak::BusyFor(std::chrono::milliseconds duration) {
    const auto until = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < until && ReadButtonStates(*window_) == kReceiving) {
        UserAction();
        ++figures_.userActions;
        std::this_thread::sleep_for(std::chrono::milliseconds(50 + Below(250)));
        AnswerBoxes();
        CheckAnswers();
    }
}

void Soak::UserAction() {
    switch (Below(6)) {
        case 0: {
            const int tab = static_cast<int>(Below(3));
            lastAction_ = "showing tab " + std::to_string(tab);
            window_->ShowTab(tab);
            if (tab == 2) {
                // A key's row, or none: its levels come and go on the difference chart.
                const RemoteListView table = window_->EvaluationTable();
                const int row =
                    static_cast<int>(Below(static_cast<std::uint32_t>(table.RowCount()) + 1)) - 1;
                lastAction_ += ", selecting key row " + std::to_string(row);
                table.Select(row);
            }
            break;
        }
        case 1: {
            const int box =
                kChannelBoxIds[Below(static_cast<std::uint32_t>(kChannelBoxIds.size()))];
            if (window_->Enabled(box)) {
                lastAction_ = "clicking channel box " + std::to_string(box);
                window_->Click(box);
            }
            break;
        }
        case 2: {
            const int button = Below(2) == 0 ? IDC_SELECT_ALL : IDC_CLEAR_SELECTION;
            lastAction_ = "clicking " + std::to_string(button);
            window_->Click(button);
            break;
        }
        case 3: {
            const int chart = kCharts[Below(std::size(kCharts))];
            lastAction_ = "a drag in chart " + std::to_string(chart);
            DragInChart(*window_, chart, 0.5, 0.2 + Below(60) / 100.0, 0.5);
            break;
        }
        case 4: {
            const int code = kScrollCodes[Below(std::size(kScrollCodes))];
            lastAction_ = "scroll code " + std::to_string(code);
            ScrollCharts(*window_, code);
            break;
        }
        default: {
            const int count = kPointCounts[Below(std::size(kPointCounts))];
            lastAction_ = "point count " + std::to_string(count);
            EnterPointCount(*window_, count);
            break;
        }
    }
}

ButtonStates Soak::Press(int id, const ButtonStates& expected, std::chrono::milliseconds timeout) {
    AnswerBoxes();
    lastAction_ = "pressing " + std::to_string(id);
    window_->Click(id);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (AnswerBoxes()) {
            // A refusal may come in more than one box (the loader's, then the program's); a
            // box of an earlier action (a refused point count) may come before the click's
            // effect.
            WaitUntil(
                [&] {
                    AnswerBoxes();
                    return ReadButtonStates(*window_) == expected;
                },
                1s);
            break;
        }
        if (ReadButtonStates(*window_) == expected) {
            break;
        }
        std::this_thread::sleep_for(20ms);
    }
    CheckAnswers();
    return ReadButtonStates(*window_);
}

bool Soak::AnswerBoxes() {
    bool answered = false;
    while (const auto box = FindMessageBox(process_->Id())) {
        ++figures_.messageBoxes;
        lastBoxText_ = box->text;
        if (!AnswerMessageBox(*box)) {
            Problem("a message box did not go away: " + Narrow(box->text));
            break;
        }
        answered = true;
    }
    return answered;
}

void Soak::CheckAnswers() {
    if (!process_->Running()) {
        Problem("the program ended unexpectedly");
        return;
    }
    const auto before = std::chrono::steady_clock::now();
    const bool answered = window_->Answers(kAnswerLimit);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - before);
    figures_.slowestAnswer = std::max(figures_.slowestAnswer, took);
    if (!answered) {
        Problem("the window did not answer within 1 s");
        // Under Wine a remote thread or remote memory for a program that is stuck waits for
        // it without end, and the soak would hang with it: the next life starts instead.
        process_->Terminate();
    }
}

void Soak::CheckRowsAgainstFrames() {
    const RemoteListView list = window_->DataList();
    const int rows = list.RowCount();
    if (rows == 0 || !twin_) {
        return;
    }
    const TableRow last = list.Row(rows - 1);
    if (ReadButtonStates(*window_) != kOpened || list.RowCount() != rows) {
        return;  // the program is closing the device after a late failed read
    }
    if (last.empty() || last[0] != std::to_wstring(rows)) {
        Problem("the last row is not numbered " + std::to_string(rows));
    }
    // With one row per frame since the last clear, the last row shows the frame that many
    // frames on. (Searching for the row's values instead could stop early at a frame that
    // happens to look the same, which is likely with one channel.)
    const std::uint64_t frame = framesAtClear_ + static_cast<std::uint64_t>(rows);
    if (!twin_->FrameShows(frame, last)) {
        Problem(std::to_string(rows) + " rows since the clear, but the last does not show the " +
                std::to_string(rows) + "th frame since then");
        twin_.reset();
        return;
    }
    figures_.framesChecked += frame - framesCounted_;
    framesCounted_ = frame;
}

void Soak::CheckLevelsAfterClose() {
    std::this_thread::sleep_for(200ms);  // let posted work finish before counting
    const ProcessFigures now = process_->Figures();
    figures_.end = now;
    std::printf("cycle %d closed: %zu private bytes, %lu GDI, %lu USER objects (%s)\n",
                figures_.cycles, now.privateBytes, now.gdiObjects, now.userObjects,
                adapter_.Describe().c_str());
    std::fflush(stdout);
    if (closesInLife_++ < kClosesSettingLevel) {
        if (!level_) {
            level_ = now;
            if (figures_.lives == 1) {
                figures_.start = now;
            }
        }
        level_->privateBytes = std::max(level_->privateBytes, now.privateBytes);
        level_->gdiObjects = std::max(level_->gdiObjects, now.gdiObjects);
        level_->userObjects = std::max(level_->userObjects, now.userObjects);
        return;
    }
    const double privateBytes = static_cast<double>(now.privateBytes);
    const double levelBytes = static_cast<double>(level_->privateBytes);
    const double objectGrowth = std::max(GrowthPercent(now.gdiObjects, level_->gdiObjects),
                                         GrowthPercent(now.userObjects, level_->userObjects));
    figures_.worstGrowth =
        std::max({figures_.worstGrowth, objectGrowth, GrowthPercent(privateBytes, levelBytes)});
    const double growth =
        std::max(objectGrowth, GrowthPercent(privateBytes, levelBytes + kLastingHeapStepBytes));
    // Under Wine the private bytes of one close can stand well above the next ones while the
    // heap gives memory back late; a leak raises every close. So the lowest of the last few
    // closes must be back at the level.
    recentGrowth_.push_back(growth);
    if (recentGrowth_.size() > kClosesBackToLevel) {
        recentGrowth_.pop_front();
    }
    const double floor = *std::min_element(recentGrowth_.begin(), recentGrowth_.end());
    if (recentGrowth_.size() == kClosesBackToLevel && floor > kAllowedGrowthPercent) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "%zu closes above the level: now %zu private bytes, %lu GDI, %lu USER "
                      "objects; level %zu, %lu, %lu",
                      kClosesBackToLevel, now.privateBytes, now.gdiObjects, now.userObjects,
                      level_->privateBytes, level_->gdiObjects, level_->userObjects);
        Problem(text);
    }
}
