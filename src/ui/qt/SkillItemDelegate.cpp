#include "SkillItemDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

#include "BoxFrame.h"

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

void SkillItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QStyle* style = item.widget != nullptr ? item.widget->style() : QApplication::style();
    if (!item.features.testFlag(QStyleOptionViewItem::HasCheckIndicator) ||
        style->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0) {
        return;
    }
    // The box's outermost ring of pixels, as the style draws its frame.
    const QRect box =
        style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &item, item.widget);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->translate(0.5, 0.5);
    painter->setPen(boxFrameColour(item.palette));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(box.adjusted(0, 0, -1, -1));
    painter->restore();
}

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
