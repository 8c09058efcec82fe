#include "SkillListView.h"

#include <QAccessibleEvent>
#include <QFocusEvent>

#include "SkillListAccessible.h"

namespace quorrel {

SkillListView::SkillListView(QWidget* parent) : QListView(parent) {
    installSkillListAccessibility();
}

SkillListView::~SkillListView() {
    forgetAccessibleItems();
}

QAccessibleInterface* SkillListView::accessibleItem(int row) const {
    if (const auto known = accessibleItems_.find(row); known != accessibleItems_.end()) {
        return QAccessible::accessibleInterface(known->second);
    }
    QAccessibleInterface* item = newAccessibleSkillItem(*this, row);
    accessibleItems_.emplace(row, QAccessible::registerAccessibleInterface(item));
    return item;
}

void SkillListView::forgetAccessibleItems() {
    for (const auto& [row, id] : accessibleItems_) {
        QAccessible::deleteAccessibleInterface(id);
    }
    accessibleItems_.clear();
}

// The toolkit tells screen readers that the new current item has the focus even when the list
// does not have it: after a "Get" from the button, a screen reader would read the first skill
// while the keys still go to the button. The item is named when the list gets the focus instead.
void SkillListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (hasFocus()) {
        QListView::currentChanged(current, previous);
    } else {
        QAbstractItemView::currentChanged(current, previous);
    }
}

// The toolkit names only the list as the focus comes in. The current item is named once that has
// been said, after the focus change is done.
void SkillListView::focusInEvent(QFocusEvent* event) {
    const QModelIndex before = currentIndex();
    QListView::focusInEvent(event);
    // A list that had no current item made one and said so already.
    if (before.isValid() && before == currentIndex()) {
        QMetaObject::invokeMethod(this, &SkillListView::announceCurrentItem, Qt::QueuedConnection);
    }
}

void SkillListView::announceCurrentItem() {
    const QModelIndex current = currentIndex();
    if (QAccessible::isActive() && hasFocus() && current.isValid()) {
        QAccessibleEvent focused(this, QAccessible::Focus);
        focused.setChild(current.row());
        QAccessible::updateAccessibility(&focused);
    }
}

// A mark set or cleared is said as its new state; the toolkit tells screen readers nothing of it.
void SkillListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                const QList<int>& roles) {
    QListView::dataChanged(topLeft, bottomRight, roles);
    if (!QAccessible::isActive() || !topLeft.isValid() || !bottomRight.isValid() ||
        (!roles.isEmpty() && !roles.contains(Qt::CheckStateRole))) {
        return;
    }
    QAccessible::State changed;
    changed.checked = true;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        QAccessibleStateChangeEvent event(this, changed);
        event.setChild(row);
        QAccessible::updateAccessibility(&event);
    }
}

// Other items are other objects to a screen reader, whatever row they take.
void SkillListView::reset() {
    forgetAccessibleItems();
    QListView::reset();
}

}  // namespace quorrel
