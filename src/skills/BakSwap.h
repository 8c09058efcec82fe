#pragma once

#include <optional>
#include <span>
#include <vector>

#include "SkillTableBuilder.h"
#include "TableSwap.h"
#include "runtime/replace/TargetReplacement.h"

namespace quorrel {

// The versions that keep a replaced table's old files as its .bak pair: TableSwap's order, with
// the earlier .bak files as the table replaced and the old files as the new one, so that a stop at
// any moment leaves the .bak pair reading as the earlier backups or as the old table. The last
// version of each file is the old file's own bytes, which the run puts there by renaming the old
// file itself (ReplacementSteps::keepOldAsBak). An old file that did not exist has no version: its
// earlier .bak stays as it is. The padded order needs both old files' bytes, read whole, each
// record's flag within the old data file; otherwise the old files are renamed there as they are.
class BakSwap final : public ReplacementVersions {
  public:
    BakSwap(std::vector<OldFile> earlierBaks, std::vector<OldFile> old);
    BakSwap(const BakSwap&) = delete;
    BakSwap& operator=(const BakSwap&) = delete;

    std::span<const FileVersion> versions() const noexcept override { return versions_; }

  private:
    LaidOutTable oldTable_;
    std::optional<TableSwap> swap_;
    std::vector<FileVersion> versions_;
};

}  // namespace quorrel
