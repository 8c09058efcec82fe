#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "TableOnDisk.h"
#include "TempDir.h"

namespace quorrel::bench {

using testing::TablePaths;

// Writes a table of `usedRecords` records in the game clients' layout into `directory`, as
// N.idx and N.mul, and returns where it lies. Names are made up and of mixed lengths; flags
// alternate, so half the items are checked.
TablePaths writeBenchTable(std::size_t usedRecords, const std::filesystem::path& directory);

// Skill tables written by writeBenchTable() into a private temporary directory that goes with the
// object.
class BenchTables {
  public:
    // Writes a table of `usedRecords` records and returns where it lies.
    TablePaths write(std::size_t usedRecords) const {
        return writeBenchTable(usedRecords, directory_.path());
    }

  private:
    testing::TempDir directory_;
};

}  // namespace quorrel::bench
