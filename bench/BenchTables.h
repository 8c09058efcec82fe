#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace quorrel::bench {

// The paths of a generated skill table.
struct TablePaths {
    std::string index;
    std::string data;
};

// Skill tables of a given number of used records in the game clients' layout, written into a
// private temporary directory that goes with the object. Names are made up and of mixed lengths;
// flags alternate, so half the items are checked.
class BenchTables {
  public:
    BenchTables();
    BenchTables(const BenchTables&) = delete;
    BenchTables& operator=(const BenchTables&) = delete;
    ~BenchTables();

    // Writes a table of `usedRecords` records and returns where it lies.
    TablePaths write(std::size_t usedRecords) const;

  private:
    std::filesystem::path directory_;
};

}  // namespace quorrel::bench
