#pragma once

#include <optional>
#include <string>
#include <vector>

#include "TableOnDisk.h"
#include "TempDir.h"
#include "runtime/base/Failure.h"

namespace quorrel::testing {

// One way to call the load action and what it must end in.
struct LoadCase {
    std::string name;
    TablePaths paths;
    std::optional<FailureKind> failure;  // none when the load succeeds
    std::size_t items = 0;               // items in the list afterwards
};

// A directory of skill files covering a successful load, an empty table and every way a load can
// fail on bad files, with the case for each.
class HostileTables {
  public:
    HostileTables();

    const std::vector<LoadCase>& cases() const noexcept { return cases_; }
    const TempDir& directory() const noexcept { return directory_; }

  private:
    TempDir directory_;
    std::vector<LoadCase> cases_;
};

}  // namespace quorrel::testing
