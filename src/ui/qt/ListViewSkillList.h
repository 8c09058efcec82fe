#pragma once

#include <QListView>

#include "SkillListModel.h"
#include "skills/SkillList.h"

namespace quorrel {

// The skill list operations carried out on a check-box list view and its model. Appended items
// reach the view when publishPending() or ListIndex() runs, so a load shows them in one step.
class ListViewSkillList final : public SkillList {
  public:
    // Both must outlive this object.
    ListViewSkillList(QListView& view, SkillListModel& model) : view_(view), model_(model) {}

    void Clear() override { model_.clear(); }
    int NewIndex() const override;

    // Shows the items appended since the last call.
    void publishPending() { model_.publishPending(); }

  protected:
    // Memory running out is std::bad_alloc, which AddItem says as a failure.
    void appendItem(std::string text) override;
    std::size_t itemCount() const override;
    void checkItem(std::size_t index, bool checked) override;
    void makeCurrent(std::size_t index) override;

  private:
    QListView& view_;
    SkillListModel& model_;
};

}  // namespace quorrel
