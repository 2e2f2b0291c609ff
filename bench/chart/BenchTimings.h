#pragma once
// Repeated timings of one benchmark step and their quantiles.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

// Times of one measured step, in milliseconds.
class Timings {
  public:
    explicit Timings(int repetitions) { times_.reserve(static_cast<size_t>(repetitions)); }
    template <class Body>
    void Time(Body&& body) {
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        body();
        times_.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    double Quantile(double q) const {
        std::vector<double> sorted = times_;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0.0 : sorted[static_cast<size_t>(q * (sorted.size() - 1))];
    }
    double Median() const { return Quantile(0.5); }
    // "median (p10 a, p90 b)": the spread shows how steady the machine was.
    void Print(const char* what) const {
        std::printf("%-38s %.3f ms (p10 %.3f, p90 %.3f)\n", what, Median(), Quantile(0.1),
                    Quantile(0.9));
    }

  private:
    std::vector<double> times_;
};
