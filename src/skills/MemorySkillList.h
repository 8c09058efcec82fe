#pragma once

#include <optional>
#include <string>
#include <vector>

#include "SkillList.h"

namespace quorrel {

// One entry of a skill list: its text and whether its check mark is set.
struct SkillItem {
    std::string text;
    bool checked = false;

    bool operator==(const SkillItem&) const = default;
};

// A skill list held in memory, for front ends without a window of their own.
class MemorySkillList final : public SkillList {
  public:
    void Clear() override;
    int NewIndex() const override { return static_cast<int>(items_.size()) - 1; }
    void Selected(int index, bool checked) override;
    void ListIndex(int index) override;

    const std::vector<SkillItem>& items() const noexcept { return items_; }
    std::optional<int> currentIndex() const noexcept { return current_; }

  protected:
    void appendItem(std::string text) override;

  private:
    std::vector<SkillItem> items_;
    std::optional<int> current_;
};

}  // namespace quorrel
