#include "RatioReporter.h"

#include <cstdio>
#include <string>

namespace quorrel::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (!run.error_occurred && (single || median)) {
            times_[run.run_name.function_name][std::stoll(run.run_name.args)] = {
                run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        }
    }
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::printf("\n%-34s %10s %11s %10s %8s\n", "ratio of medians", "records", "real time",
                "CPU time", "target");
    for (const Ratio& ratio : ratios_) {
        for (const auto& [argument, measured] : times_[ratio.measured]) {
            const auto floor = times_[ratio.floor].find(argument);
            if (floor == times_[ratio.floor].end() || floor->second.real <= 0 ||
                floor->second.cpu <= 0) {
                continue;
            }
            const double real = measured.real / floor->second.real;
            const double cpu = measured.cpu / floor->second.cpu;
            const std::string label = ratio.measured + " / " + ratio.floor;
            std::printf("%-34s %10lld %11.3f %10.3f", label.c_str(),
                        static_cast<long long>(argument), real, cpu);
            if (ratio.target > 0 && argument >= ratio.targetFrom) {
                const bool met = cpu <= ratio.target;
                targetsMet_ = targetsMet_ && met;
                std::printf(" %7.2fx %s\n", ratio.target, met ? "met" : "NOT MET");
            } else {
                std::printf(" %8s\n", "-");
            }
        }
    }
    std::fflush(stdout);
}

}  // namespace quorrel::bench
