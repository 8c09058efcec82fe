#pragma once

#include <QStyledItemDelegate>

namespace quorrel {

// Draws the skill list's items as the platform does, and shows an item's whole name as a tooltip
// when its text does not fit: cut short by the list's width, or by the list's limit on the length
// of the text it lays out. Where Qt's own style (Fusion, when no desktop theme is set) draws the
// check boxes, their frame is drawn again in a colour that stands out from the list, at the same
// place and size: its pale grey on white is hard to see for low vision.
class SkillItemDelegate final : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

}  // namespace quorrel
