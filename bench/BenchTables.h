#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "TempDir.h"

namespace quorrel::bench {

// The paths of a generated skill table.
struct TablePaths {
    std::string index;
    std::string data;
};

// Writes a table of `usedRecords` records in the game clients' layout into `directory`, as
// N.idx and N.mul, and returns where it lies. Names are made up and of mixed lengths; flags
// alternate, so half the items are checked.
TablePaths writeTable(std::size_t usedRecords, const std::filesystem::path& directory);

// Skill tables written by writeTable() into a private temporary directory that goes with the
// object.
class BenchTables {
  public:
    // Writes a table of `usedRecords` records and returns where it lies.
    TablePaths write(std::size_t usedRecords) const {
        return writeTable(usedRecords, directory_.path());
    }

  private:
    testing::TempDir directory_;
};

}  // namespace quorrel::bench
