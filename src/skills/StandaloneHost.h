#pragma once

#include <string>
#include <utility>

#include "LoadHost.h"
#include "MemorySkillList.h"

namespace quorrel {

// A home for the load action outside a window: fixed path texts, a list in memory and the working
// fields, all owned here.
class StandaloneHost final : public LoadHost {
  public:
    StandaloneHost(std::string dataPath, std::string indexPath)
        : dataPath_(std::move(dataPath)), indexPath_(std::move(indexPath)) {}

    SkillList& lstSkills() override { return list_; }
    std::string txtPathText() const override { return dataPath_; }
    std::string txtPathIdxText() const override { return indexPath_; }
    LoadFields& loadFields() override { return fields_; }

    const MemorySkillList& list() const noexcept { return list_; }

  private:
    std::string dataPath_;
    std::string indexPath_;
    MemorySkillList list_;
    LoadFields fields_;
};

}  // namespace quorrel
