// The soak, run by scripts/soak.sh:  palvex_soak <program folder> <seconds> [seed]
// Prints its figures and every problem; the exit code is 0 only when there was none.

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "tests/e2e/Soak.h"

namespace {

double Mebibytes(std::size_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

void PrintFigures(const SoakFigures& f, long seconds, unsigned seed) {
    std::printf(
        "soak: %ld s, seed %u, %d programs, %d cycles, %d receive sessions, %d user "
        "actions\n",
        seconds, seed, f.lives, f.cycles, f.receiveSessions, f.userActions);
    std::printf("frames received and matched by rows: %llu\n",
                static_cast<unsigned long long>(f.framesChecked));
    std::printf(
        "faults: %d opens with a fault planned, %d seen (refused opens or starts, "
        "devices closed by the program); %d message boxes answered\n",
        f.faultsPlanned, f.faultsSeen, f.messageBoxes);
    std::printf("slowest answer of the window: %lld ms\n",
                static_cast<long long>(f.slowestAnswer.count()));
    std::printf(
        "after a close, start -> end: private bytes %.2f -> %.2f MiB, USER objects "
        "%lu -> %lu, ",
        Mebibytes(f.start.privateBytes), Mebibytes(f.end.privateBytes), f.start.userObjects,
        f.end.userObjects);
    if (f.end.gdiCounted) {
        std::printf("GDI objects %lu -> %lu", f.start.gdiObjects, f.end.gdiObjects);
    } else {
        std::printf("GDI objects not counted (Wine keeps no count)");
    }
    // Each program is held against its own level, the figures after its first close.
    std::printf("; largest rise over its program's level %.1f %%%s\n", f.worstGrowth,
                f.lives > 1 ? " (start and end are of different programs)" : "");
    std::printf("problems: %zu\n", f.problems.size());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: palvex_soak <program folder> <seconds> [seed]\n");
        return 2;
    }
    const long seconds = std::wcstol(argv[2], nullptr, 10);
    const auto seed = argc > 3 ? static_cast<unsigned>(std::wcstoul(argv[3], nullptr, 10))
                               : static_cast<unsigned>(std::time(nullptr));
    if (seconds <= 0) {
        std::fprintf(stderr, "palvex_soak: the duration must be a positive number of seconds\n");
        return 2;
    }
    Soak soak(argv[1], seed);
    const SoakFigures figures = soak.Run(std::chrono::seconds(seconds));
    PrintFigures(figures, seconds, seed);
    if (figures.framesChecked == 0) {
        std::fprintf(stderr, "palvex_soak: no frame was received, nothing was soaked\n");
        return 1;
    }
    return figures.problems.empty() ? 0 : 1;
}
