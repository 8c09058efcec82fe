#pragma once

#include <vector>

#include "SkillDump.h"
#include "skills/LoadFields.h"
#include "skills/SkillList.h"

namespace quorrel::cli {

// A skill list in memory whose items carry the number of the index record they were read from and
// its flag byte, which the load action keeps in its working fields while it handles the record.
class NumberedSkillList final : public SkillList {
  public:
    // `fields` must outlive the list.
    explicit NumberedSkillList(const LoadFields& fields) : fields_(fields) {}

    void Clear() override { skills_.clear(); }
    int NewIndex() const override { return static_cast<int>(skills_.size()) - 1; }
    void Selected(int index, bool checked) override;
    void ListIndex(int index) override;

    // Hands the items over, leaving the list empty.
    std::vector<DumpedSkill> takeSkills() noexcept { return std::move(skills_); }

  protected:
    void appendItem(std::string text) override;

  private:
    const LoadFields& fields_;
    std::vector<DumpedSkill> skills_;
};

}  // namespace quorrel::cli
