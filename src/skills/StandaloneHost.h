#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "LoadHost.h"
#include "MemorySkillList.h"

namespace quorrel {

// A home for the load action outside a window, as quorrel-dump, the tests and the benchmarks
// have it: fixed path texts and code page, a list in memory and the working fields, all owned
// here.
class StandaloneHost final : public LoadHost {
  public:
    StandaloneHost(std::string dataPath, std::string indexPath,
                   CodePage codePage = CodePage::ofSystem())
        : dataPath_(std::move(dataPath)), indexPath_(std::move(indexPath)), codePage_(codePage) {}

    SkillList& lstSkills() override { return list_; }
    std::string txtPathText() const override { return dataPath_; }
    std::string txtPathIdxText() const override { return indexPath_; }
    LoadFields& loadFields() override { return fields_; }
    CodePage namesCodePage() const override { return codePage_; }

    const MemorySkillList& list() const noexcept { return list_; }
    MemorySkillList& list() noexcept { return list_; }

    // The load leaves the number of the record it stopped at: the count of those before it, empty
    // slots included.
    std::uint64_t recordsGoneThrough() const noexcept { return fields_.record; }

  private:
    std::string dataPath_;
    std::string indexPath_;
    CodePage codePage_;
    LoadFields fields_;
    MemorySkillList list_{fields_};
};

}  // namespace quorrel
