#include "SkillListModel.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "ShownText.h"

namespace quorrel {

SkillListModel::SkillListModel(QObject* parent) : QAbstractListModel(parent) {}

void SkillListModel::append(std::string utf8Text) {
    items_.append(std::move(utf8Text), 0);
}

void SkillListModel::clear() {
    beginResetModel();
    items_.clear();
    published_ = 0;
    endResetModel();
}

void SkillListModel::publishPending() {
    // A view counts rows in int; items past that stay stored but cannot be shown.
    const std::size_t shownLimit = static_cast<std::size_t>(std::numeric_limits<int>::max());
    const std::size_t target = std::min(storedCount(), shownLimit);
    if (target <= published_) {
        return;
    }
    beginInsertRows(QModelIndex(), static_cast<int>(published_), static_cast<int>(target - 1));
    published_ = target;
    endInsertRows();
}

std::string_view SkillListModel::text(std::size_t row) const {
    return items_.text(row);
}

void SkillListModel::setChecked(std::size_t row, bool checked) {
    items_.setMark(row, kChecked, checked);
    if (row < published_) {
        const QModelIndex changed = index(static_cast<int>(row));
        emit dataChanged(changed, changed, {Qt::CheckStateRole});
    }
}

int SkillListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(published_);
}

bool SkillListModel::isShown(const QModelIndex& index) const {
    return index.isValid() && !index.parent().isValid() && index.row() >= 0 &&
           static_cast<std::size_t>(index.row()) < published_;
}

QString SkillListModel::shownText(std::size_t row, std::size_t longest) const {
    const ShownPart part = shownPart(text(row), longest);
    QString shown = QString::fromUtf8(part.text.data(), static_cast<qsizetype>(part.text.size()));
    if (part.cut) {
        shown.append(QChar(0x2026));
    }
    return shown;
}

QVariant SkillListModel::data(const QModelIndex& index, int role) const {
    if (!isShown(index)) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    switch (role) {
        case Qt::DisplayRole:
            return shownText(row, kLongestShownText);
        case Qt::ToolTipRole:
            return shownText(row, kLongestToolTipText);
        case Qt::CheckStateRole:
            return isChecked(row) ? Qt::Checked : Qt::Unchecked;
        default:
            return {};
    }
}

bool SkillListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!isShown(index) || role != Qt::CheckStateRole) {
        return false;
    }
    setChecked(static_cast<std::size_t>(index.row()),
               value.value<Qt::CheckState>() != Qt::Unchecked);
    return true;
}

Qt::ItemFlags SkillListModel::flags(const QModelIndex& index) const {
    if (!isShown(index)) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
           Qt::ItemNeverHasChildren;
}

}  // namespace quorrel
