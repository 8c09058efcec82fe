#include "SkillListAccessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

#include "SkillListView.h"

namespace quorrel {
namespace {

class AccessibleSkillItem final : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    AccessibleSkillItem(const SkillListView& view, int row) : view_(&view), row_(row) {}

    bool isValid() const override {
        return view_ != nullptr && view_->model() != nullptr && row_ < view_->model()->rowCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return view_ != nullptr ? view_->window()->windowHandle() : nullptr;
    }

    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(const_cast<SkillListView*>(view_.data()));
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    // The name is the text the list shows.
    QString text(QAccessible::Text which) const override {
        return which == QAccessible::Name && isValid() ? index().data(Qt::DisplayRole).toString()
                                                       : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!isValid()) {
            return {};
        }
        const QRect shown = view_->visualRect(index());
        return {view_->viewport()->mapToGlobal(shown.topLeft()), shown.size()};
    }

    QAccessible::Role role() const override { return QAccessible::CheckBox; }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const QModelIndex item = index();
        state.focusable = true;
        state.selectable = true;
        state.checkable = true;
        state.checked = item.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
        state.selected =
            view_->selectionModel() != nullptr && view_->selectionModel()->isSelected(item);
        state.focused = view_->hasFocus() && view_->currentIndex() == item;
        if (!view_->viewport()->rect().intersects(view_->visualRect(item))) {
            state.invisible = true;
            state.offscreen = true;
        }
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {toggleAction()}; }
    void doAction(const QString& name) override {
        if (name == toggleAction() && isValid()) {
            const bool checked = state().checked;
            view_->model()->setData(index(), checked ? Qt::Unchecked : Qt::Checked,
                                    Qt::CheckStateRole);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    const SkillListView* view() const { return view_.data(); }
    int row() const { return row_; }

  private:
    QModelIndex index() const { return view_->model()->index(row_, 0); }

    QPointer<const SkillListView> view_;
    int row_;
};

// The list itself is described as any widget is, but for its children, which are its skills
// alone.
class AccessibleSkillList final : public QAccessibleWidget {
  public:
    explicit AccessibleSkillList(SkillListView* view)
        : QAccessibleWidget(view, QAccessible::List) {}

    int childCount() const override {
        return view().model() != nullptr ? view().model()->rowCount() : 0;
    }

    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < childCount() ? view().accessibleItem(index) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* item = dynamic_cast<const AccessibleSkillItem*>(child);
        return item != nullptr && item->view() == &view() && item->isValid() ? item->row() : -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const QModelIndex found = view().indexAt(view().viewport()->mapFromGlobal(QPoint(x, y)));
        return found.isValid() ? child(found.row()) : nullptr;
    }

    QAccessibleInterface* focusChild() const override {
        const QModelIndex current = view().currentIndex();
        return view().hasFocus() && current.isValid() ? child(current.row()) : nullptr;
    }

  private:
    const SkillListView& view() const { return *static_cast<const SkillListView*>(widget()); }
};

QAccessibleInterface* accessibleSkillList(const QString& className, QObject* object) {
    if (className == QLatin1String("quorrel::SkillListView")) {
        return new AccessibleSkillList(static_cast<SkillListView*>(object));
    }
    return nullptr;
}

}  // namespace

void installSkillListAccessibility() {
    static const bool installed = (QAccessible::installFactory(accessibleSkillList), true);
    static_cast<void>(installed);
}

QAccessibleInterface* newAccessibleSkillItem(const SkillListView& view, int row) {
    return new AccessibleSkillItem(view, row);
}

}  // namespace quorrel
