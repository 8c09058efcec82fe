#pragma once

#include <QAbstractListModel>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "PackedItems.h"

namespace quorrel {

// The items of the skill list, kept compact enough for a million of them: every text in one UTF-8
// block and one check mark per item, with no object per item.
//
// Appending does not tell the views at once: items wait until publishPending() shows them all in
// one step, so that a load of many items costs the views one insertion instead of one per item.
class SkillListModel final : public QAbstractListModel {
    Q_OBJECT

  public:
    // The list shows at most kLongestShownText units of a text (ShownText.h); the item keeps its
    // whole text. The tooltip gives the whole text, but a hostile gigabyte-long name only this far.
    static constexpr std::size_t kLongestToolTipText = 16 * 1024;

    explicit SkillListModel(QObject* parent = nullptr);

    // Items stored, shown or still waiting.
    std::size_t storedCount() const noexcept { return items_.size(); }

    // Stores an item, unchecked and not yet shown, taking its text over. On failure the items stay
    // as they were.
    void append(std::string utf8Text);
    void clear();
    void publishPending();

    std::string_view text(std::size_t row) const;
    bool isChecked(std::size_t row) const { return (items_.marks(row) & kChecked) != 0; }
    void setChecked(std::size_t row, bool checked);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    static constexpr std::uint8_t kChecked = 1;

    bool isShown(const QModelIndex& index) const;
    QString shownText(std::size_t row, std::size_t longest) const;

    PackedItems items_;          // each item's whole text and its check mark
    std::size_t published_ = 0;  // the first items that the views know of
};

}  // namespace quorrel
