#pragma once
// The soak: drives one Palvex after another through random open / receive / stop / clear /
// close cycles with page switches, scrolling, drags and point-count changes, while the
// simulated adapter brings random faults. It checks that the program always answers within
// a second, that the table holds one row per received frame after every stop, and that
// memory and handles come back to their level after every close.

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "tests/e2e/AcquisitionStates.h"
#include "tests/e2e/FaultPlan.h"
#include "tests/e2e/PalvexProcess.h"
#include "tests/e2e/PalvexWindow.h"
#include "tests/e2e/TwinChip.h"
#include "tests/e2e/Waiting.h"

struct SoakFigures {
    int lives = 0;  // programs started; a disconnected adapter ends one
    int cycles = 0;
    int receiveSessions = 0;
    std::uint64_t framesChecked = 0;  // frames received and found as rows
    int faultsPlanned = 0;            // opens with a fault waiting in the adapter
    int faultsSeen = 0;               // opens refused and devices closed by the program
    int messageBoxes = 0;
    int userActions = 0;
    std::chrono::milliseconds slowestAnswer{0};
    ProcessFigures start;    // after the first close of the first program
    ProcessFigures end;      // after the last close
    double worstGrowth = 0;  // largest rise over its program's level after a close, in percent
    std::vector<std::string> problems;
};

class Soak {
  public:
    Soak(std::wstring folder, std::uint32_t seed);
    SoakFigures Run(std::chrono::seconds duration);

  private:
    bool StartLife();
    void EndLife();
    // One open to close; the largest has the most rounds, each a longest receive session.
    void Cycle(const AdapterSettings& adapter, bool largest);
    void ReceiveSession(std::chrono::milliseconds duration);
    void IdleAction();
    void BusyFor(std::chrono::milliseconds duration);
    void UserAction();

    // Clicks a button and waits for the expected state; message boxes that come meanwhile
    // are answered. Returns the state the buttons end in.
    ButtonStates Press(int id, const ButtonStates& expected,
                       std::chrono::milliseconds timeout = 10s);
    bool AnswerBoxes();
    void CheckAnswers();
    void CheckRowsAgainstFrames();
    void CheckLevelsAfterClose();
    void Problem(const std::string& what);

    std::uint32_t Below(std::uint32_t bound);

    std::wstring folder_;
    std::mt19937 random_;
    FaultPlan plan_;
    SoakFigures figures_;
    std::unique_ptr<PalvexProcess> process_;
    std::unique_ptr<PalvexWindow> window_;
    std::optional<TwinChip> twin_;
    std::uint64_t framesAtClear_ = 0;
    std::uint64_t framesCounted_ = 0;
    std::optional<ProcessFigures> level_;
    int closesInLife_ = 0;
    std::deque<double> recentGrowth_;  // over the level at the last closes, in percent
    // The settings the simulated adapter works with. An unplugged adapter keeps its own until
    // an open finds it plugged back in, and its chip goes on from where it was.
    AdapterSettings adapter_;
    bool unplugged_ = false;
    std::wstring lastBoxText_;
    std::string lastAction_;
    int refusedInARow_ = 0;     // opens refused one after the other
    bool adapterGone_ = false;  // refused for longer than any transient fault lasts
};
