// The load action on skill tables of 58 (a game client's size), 10,000, 200,000 and 1,000,000 used
// records, beside the floor of the same system calls measured in the same run. Prints the ratios at
// the end; the targets, in CPU time from 10,000 records up, are the load action within 1.15 times
// the floor and within 1.30 times the floor that reads the flag and the name in one read. A third
// floor makes exactly the load's own calls, which tells its code from its calls.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <map>
#include <stdexcept>

#include "BenchTables.h"
#include "RatioReporter.h"
#include "SyscallFloor.h"
#include "runtime/filetable/FileTable.h"
#include "skills/LoadAction.h"
#include "skills/StandaloneHost.h"

namespace {

using quorrel::bench::TablePaths;

constexpr std::size_t kLargestTable = 1'000'000;
constexpr std::size_t kTableSizes[] = {58, 10'000, 200'000, kLargestTable};
constexpr std::size_t kTargetsFrom = 10'000;
constexpr double kTarget = 1.15;
constexpr double kOneReadTarget = 1.30;

void checkCount(benchmark::State& state, std::size_t loaded) {
    if (loaded != static_cast<std::size_t>(state.range(0))) {
        state.SkipWithError("the table did not load in full");
    }
}

// The window keeps one host and one file table for its whole life, so one is kept here too.
void loadAction(benchmark::State& state, const TablePaths& table) {
    quorrel::StandaloneHost host(table.data, table.index);
    quorrel::FileTable files;
    for (auto _ : state) {
        quorrel::loadSkills(host, files);
        benchmark::DoNotOptimize(host.list().items().data());
    }
    checkCount(state, host.list().items().size());
}

template <std::size_t (*Floor)(const TablePaths&)>
void floorOf(benchmark::State& state, const TablePaths& table) {
    std::size_t loaded = 0;
    for (auto _ : state) {
        loaded = Floor(table);
        benchmark::DoNotOptimize(loaded);
    }
    checkCount(state, loaded);
}

void registerAll(const std::map<std::size_t, TablePaths>& tables) {
    for (const auto& [records, table] : tables) {
        const auto arg = static_cast<std::int64_t>(records);
        for (const auto& [name, run] :
             {std::pair{"load_action", &loadAction},
              std::pair{"floor", &floorOf<&quorrel::bench::floorLoad>},
              std::pair{"floor_one_read", &floorOf<&quorrel::bench::floorLoadOneRead>},
              std::pair{"floor_own_calls", &floorOf<&quorrel::bench::floorLoadOwnCalls>}}) {
            auto* benchmark = benchmark::RegisterBenchmark(name, run, table);
            benchmark->Arg(arg)->Unit(benchmark::kMillisecond)->UseRealTime();
            // A load of the largest table takes seconds: a few single runs tell enough.
            if (records >= kLargestTable) {
                benchmark->Iterations(1)->Repetitions(3);
            } else {
                benchmark->Repetitions(5);
            }
            benchmark->ReportAggregatesOnly(true);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const quorrel::bench::BenchTables writer;
    std::map<std::size_t, TablePaths> tables;
    for (const std::size_t records : kTableSizes) {
        tables.emplace(records, writer.write(records));
    }
    registerAll(tables);
    quorrel::bench::RatioReporter reporter(
        {{"load_action", "floor", kTarget, kTargetsFrom},
         {"load_action", "floor_one_read", kOneReadTarget, kTargetsFrom},
         {"load_action", "floor_own_calls", 0},
         {"floor_own_calls", "floor", 0}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.targetsMet() ? 0 : 1;
}
