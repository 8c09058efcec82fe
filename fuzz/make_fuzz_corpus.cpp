// Writes the seed inputs of the load action's fuzzer into a folder, one file per case: tables in
// the game clients' layout and tables broken in each of the ways the load action must handle.
//
//   make-fuzz-corpus OUTPUT_FOLDER

#include <cstdint>
#include <filesystem>
#include <iostream>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "FuzzInput.h"
#include "TableBytes.h"
#include "TempDir.h"
#include "skills/SkillFileLayout.h"

namespace {

using quorrel::IndexRecord;
using quorrel::SkillRecord;
using quorrel::fuzz::FuzzFault;
using quorrel::fuzz::FuzzInput;
using Bytes = std::vector<std::uint8_t>;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct Seed {
    std::string name;
    Bytes index;
    Bytes data;
    FuzzInput options;
};

quorrel::SkillFiles sampleTable() {
    const std::vector<SkillRecord> skills = {
        {"Lanternwork", 1}, {"Brookcraft", 0},      {"Tidewatching", 255},
        {"Emberlore", 0},   {"Caf\xE9 Keeping", 1}, {"\x80uro Minting \x81\x9D", 7},
    };
    return quorrel::gameClientLayout(skills);
}

Bytes recordsThenData(const std::vector<IndexRecord>& records) {
    return quorrel::indexBytes(records);
}

std::vector<Seed> seeds() {
    const auto table = sampleTable();
    const Bytes data = table.data;
    const Bytes plainName = {1, 'Q', 'u', 'i', 'l', 'l', 0};
    std::vector<Seed> all = {
        {"game-client-table", table.index, data, {}},
        {"game-client-table-twice", table.index, data, {.runTwice = true}},
        {"failing-read", table.index, data, {.fault = FuzzFault::FailingRead, .faultAt = 2}},
        {"cutting-read", table.index, data, {.fault = FuzzFault::CuttingRead, .faultAt = 0x31}},
        {"failing-allocation",
         table.index,
         data,
         {.fault = FuzzFault::FailingAllocation, .faultAt = 5}},
        {"empty-index", {}, data, {}},
        {"only-empty-slots", recordsThenData({{-1, 5, 0}, {0, 0, 0}, {-1, 0, 9}}), data, {}},
        {"trailing-partial-record", table.index, data, {}},
        {"overflowing-offset-third",
         recordsThenData({{0, 7, 0}, {0, 7, 0}, {kMax, 7, 0}}),
         plainName,
         {}},
        {"overflowing-length", recordsThenData({{0, 7, 0}, {0, kMin, 0}}), plainName, {}},
        {"negative-length", recordsThenData({{0, -5, 0}}), plainName, {}},
        {"offset-below-start", recordsThenData({{-2, 7, 0}}), plainName, {}},
        {"longest-length", recordsThenData({{0, kMax, 0}}), plainName, {}},
        {"length-beyond-window", recordsThenData({{0, 100000, 0}, {2, 3, 0}}), plainName, {}},
        {"flag-past-end", recordsThenData({{40, 3, 0}, {6, 9, 0}}), plainName, {}},
        {"data-missing", table.index, {}, {.dataMissing = true}},
        {"index-missing", {}, {}, {.indexMissing = true}},
        {"data-is-index",
         recordsThenData({{4, 8, 0x41424344}, {0, 12, 0}}),
         {},
         {.dataIsIndex = true}},
    };
    all[4].index.insert(all[4].index.end(), {1, 2, 3, 4, 5});
    return all;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-fuzz-corpus OUTPUT_FOLDER\n";
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        for (Seed& seed : seeds()) {
            seed.options.index = seed.index;
            seed.options.data = seed.data;
            quorrel::testing::writeFile(folder / seed.name, seed.options.encode());
        }
    } catch (const std::exception& error) {
        std::cerr << "make-fuzz-corpus: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
