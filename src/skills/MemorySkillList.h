#pragma once

#include <optional>
#include <string>
#include <vector>

#include "LoadFields.h"
#include "SkillList.h"
#include "SkillRow.h"

namespace quorrel {

// A skill list held in memory, for front ends without a window of their own. Each item is a row
// that also carries the number of the index record it was read from and that record's flag byte,
// which the load action keeps in its working fields while it adds the item.
class MemorySkillList final : public SkillList {
  public:
    // `fields` must outlive the list.
    explicit MemorySkillList(const LoadFields& fields) : fields_(fields) {}

    void Clear() override;
    int NewIndex() const override { return static_cast<int>(items_.size()) - 1; }

    const std::vector<SkillRow>& items() const noexcept { return items_; }
    std::optional<int> currentIndex() const noexcept { return current_; }

    // Hands the items over, leaving the list empty.
    std::vector<SkillRow> takeItems() noexcept;

  protected:
    void appendItem(std::string text) override;
    std::size_t itemCount() const override { return items_.size(); }
    void checkItem(std::size_t index, bool checked) override;
    void makeCurrent(std::size_t index) override;

  private:
    const LoadFields& fields_;
    std::vector<SkillRow> items_;
    std::optional<int> current_;
};

}  // namespace quorrel
