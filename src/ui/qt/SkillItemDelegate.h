#pragma once

#include <QStyledItemDelegate>

namespace quorrel {

// Draws the skill list's items as the platform does, and shows an item's whole name as a tooltip
// when its text does not fit: cut short by the list's width, or by the list's limit on the length
// of the text it lays out.
class SkillItemDelegate final : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

}  // namespace quorrel
