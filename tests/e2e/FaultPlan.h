#pragma once
// The simulated adapter that the soak plugs in before each open: a random channel count and
// seed, and often a fault of a random kind that starts after a random number of frames.

#include <cstdint>
#include <random>
#include <string>

#include "tests/e2e/PalvexProcess.h"

struct AdapterSettings {
    int channels = 8;
    std::uint32_t seed = 1;
    std::wstring fault = L"none";
    std::uint32_t faultAfter = 0;  // frame reads, the layout read included

    bool Faulty() const { return fault != L"none"; }
    // A disconnected adapter stays away until the program ends.
    bool GoneForGood() const { return fault == L"disconnect"; }
    Environment Variables() const;
};

class FaultPlan {
  public:
    explicit FaultPlan(std::uint32_t seed) : random_(seed) {}
    AdapterSettings Next();

  private:
    std::mt19937 random_;
};
