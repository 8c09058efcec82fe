#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quorrel::bench {

// One line of the closing summary: `measured` over `floor`, both taken at the same argument, held
// against a target ratio.
struct Ratio {
    std::string measured;
    std::string floor;
    double target = 0;  // 0 when the line only informs
    // The smallest argument the target holds for; below it the line only informs.
    std::int64_t targetFrom = 0;
};

// The console report, followed by the asked ratios of benchmarks measured in the same run, of real
// (wall-clock) time and of CPU time (user and system). Each benchmark's figure is the median of its
// repetitions, or its only run when it has none. The target is held against the CPU time, which
// other programs on a shared machine disturb far less than the real time.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    explicit RatioReporter(std::vector<Ratio> ratios) : ratios_(std::move(ratios)) {}

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

    // Whether every ratio with a target met it; known after Finalize().
    bool targetsMet() const noexcept { return targetsMet_; }

  private:
    std::vector<Ratio> ratios_;
    struct Times {
        double real = 0;
        double cpu = 0;
    };
    // benchmark name -> argument -> median times
    std::map<std::string, std::map<std::int64_t, Times>> times_;
    bool targetsMet_ = true;
};

}  // namespace quorrel::bench
