#pragma once
// The simulated adapter that the soak plugs in before each open: a random channel count and
// seed, and often a fault of a random kind, aimed at random requests, starting after a
// random number of them and lasting for good or for a few.

#include <cstdint>
#include <random>
#include <string>

#include "tests/e2e/PalvexProcess.h"

struct AdapterSettings {
    int channels = 8;
    std::uint32_t seed = 1;
    std::string fault = "none";
    std::string request = "frame";  // the requests the fault is aimed at
    std::uint32_t after = 0;        // requests of that kind answered normally first
    std::uint32_t length = 0;       // faulty requests, or refused opens of a disconnect; 0: all

    bool Faulty() const { return fault != "none"; }
    // Until the program ends, no open succeeds again.
    bool GoneForGood() const { return fault == "disconnect" && length == 0; }
    Environment Variables() const;
    std::string Describe() const;
};

class FaultPlan {
  public:
    explicit FaultPlan(std::uint32_t seed) : random_(seed) {}
    AdapterSettings Next();

  private:
    std::uint32_t Below(std::uint32_t bound);

    std::mt19937 random_;
};
