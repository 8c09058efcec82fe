// The load action on 1,000 records through a Wine prefix whose game folder holds 50,000 other
// files, with the paths typed in the case the files have and in another case (the window's
// lower-case defaults against "Program Files"). Matching names ignoring case lists a folder; the
// target is that it costs no more than twice the exact case, whatever the folder holds, because an
// unchanged folder's listing is kept.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchTables.h"
#include "RatioReporter.h"
#include "runtime/filetable/FileTable.h"
#include "skills/LoadAction.h"
#include "skills/StandaloneHost.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kRecords = 1'000;
constexpr std::size_t kOtherFiles = 50'000;
constexpr double kTarget = 2.0;

// A prefix with the table in drive_c/Program Files/Game Folder beside the other files, every
// folder last changed an hour ago as an installed game's are.
void writePrefix(const fs::path& prefix) {
    const fs::path game = prefix / "drive_c" / "Program Files" / "Game Folder";
    fs::create_directories(game);
    for (std::size_t i = 0; i < kOtherFiles; ++i) {
        std::ofstream(game / ("art" + std::to_string(i) + ".mul"));
    }
    const auto table = quorrel::bench::writeBenchTable(kRecords, game);
    fs::rename(table.index, game / "Skills.idx");
    fs::rename(table.data, game / "Skills.mul");
    const auto settled = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const fs::path& folder :
         {prefix / "drive_c", prefix / "drive_c" / "Program Files", game}) {
        fs::last_write_time(folder, settled);
    }
}

void load(benchmark::State& state, const std::string& folder) {
    quorrel::StandaloneHost host(folder + "\\Skills.mul", folder + "\\Skills.idx");
    quorrel::FileTable files;
    for (auto _ : state) {
        quorrel::loadSkills(host, files);
        benchmark::DoNotOptimize(host.list().items().data());
    }
    if (host.list().items().size() != kRecords) {
        state.SkipWithError("the table did not load in full");
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const quorrel::testing::TempDir prefix;
    writePrefix(prefix.path());
    ::setenv("WINEPREFIX", prefix.path().c_str(), 1);

    for (const auto& [name, folder] :
         {std::pair{"exact_case", R"(c:\Program Files\Game Folder)"},
          std::pair{"other_case", R"(c:\program files\GAME FOLDER)"}}) {
        benchmark::RegisterBenchmark(name, load, std::string(folder))
            ->Arg(static_cast<std::int64_t>(kRecords))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    }
    quorrel::bench::RatioReporter reporter({{"other_case", "exact_case", kTarget}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.targetsMet() ? 0 : 1;
}
