#include "SkillItemDelegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

namespace quorrel {
namespace {

bool textIsCutShort(const QStyleOptionViewItem& option, const QModelIndex& index,
                    const QAbstractItemView* view) {
    QStyleOptionViewItem item = option;
    item.index = index;
    item.features |= QStyleOptionViewItem::HasDisplay;
    item.text = index.data(Qt::DisplayRole).toString();
    const QStyle* style = view->style();
    // An item is as wide as its text; what the list shows of it ends at the list's edge.
    const QRect textRect =
        style->subElementRect(QStyle::SE_ItemViewItemText, &item, view) & view->viewport()->rect();
    // The style pads the text by a margin on each side, which the text itself cannot use.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const bool cutByWidth =
        item.fontMetrics.horizontalAdvance(item.text) > textRect.width() - 2 * margin;
    return cutByWidth || index.data(Qt::ToolTipRole).toString() != item.text;
}

}  // namespace

bool SkillItemDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                  const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event == nullptr || view == nullptr || event->type() != QEvent::ToolTip ||
        !index.isValid()) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    if (textIsCutShort(option, index, view)) {
        QToolTip::showText(event->globalPos(), index.data(Qt::ToolTipRole).toString(),
                           view->viewport(), option.rect);
    } else {
        QToolTip::hideText();
    }
    return true;
}

}  // namespace quorrel
