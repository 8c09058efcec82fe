#pragma once

#include <QAccessible>
#include <QListView>
#include <unordered_map>

class QAccessibleInterface;

namespace quorrel {

// The check-box list of skills as a screen reader should hear it: each skill a check box that
// says whether it is checked, the current skill named when the keyboard enters the list, a
// skill's new mark said when it is set or cleared, and no word of the list while the keyboard is
// elsewhere (a "Get" run from the button makes a skill current without moving the focus).
class SkillListView final : public QListView {
    Q_OBJECT

  public:
    explicit SkillListView(QWidget* parent = nullptr);
    ~SkillListView() override;

    // What a screen reader is told of the item in `row`: the same object for as long as the list
    // keeps its items, so that the item an event names and the item asked about are one. The list
    // owns it; a new set of items (a load) gets new ones.
    QAccessibleInterface* accessibleItem(int row) const;

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void reset() override;

  private:
    void announceCurrentItem();
    void forgetAccessibleItems();

    mutable std::unordered_map<int, QAccessible::Id> accessibleItems_;
};

}  // namespace quorrel
