#include <gtest/gtest.h>

#include <QListView>
#include <functional>
#include <string>
#include <utility>

#include "ExpectFailure.h"
#include "ListViewSkillList.h"
#include "ShownText.h"
#include "SkillListModel.h"
#include "runtime/base/Failure.h"

namespace quorrel {
namespace {

class ListViewSkillListTest : public ::testing::Test {
  protected:
    ListViewSkillListTest() { view.setModel(&model); }

    QString shownText(int row) const { return model.index(row).data(Qt::DisplayRole).toString(); }
    bool shownChecked(int row) const {
        return model.index(row).data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
    }

    QListView view;
    SkillListModel model;
    ListViewSkillList list{view, model};
};

TEST_F(ListViewSkillListTest, AppendedItemsWaitForOneInsertionThenShowInOrder) {
    int insertions = 0;
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] { ++insertions; });
    list.AddItem("Zeta");
    list.AddItem("Alpha");
    list.Selected(list.NewIndex(), true);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(list.NewIndex(), 1);

    list.publishPending();
    list.publishPending();
    EXPECT_EQ(insertions, 1);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(shownText(0), "Zeta");
    EXPECT_EQ(shownText(1), "Alpha");
    EXPECT_FALSE(shownChecked(0));
    EXPECT_TRUE(shownChecked(1));
}

TEST_F(ListViewSkillListTest, TextEndsAtTheFirstZeroCharacter) {
    list.AddItem(std::string("Fen\0ding", 8));
    list.AddItem(std::string("\0", 1));
    list.publishPending();
    EXPECT_EQ(shownText(0), "Fen");
    EXPECT_EQ(shownText(1), "");
}

TEST_F(ListViewSkillListTest, ListIndexShowsTheItemsAndMakesOneCurrent) {
    list.AddItem("One");
    list.AddItem("Two");
    list.ListIndex(1);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(view.currentIndex().row(), 1);
}

TEST_F(ListViewSkillListTest, ClearEmptiesTheListAndDropsTheCurrentItem) {
    list.AddItem("One");
    list.ListIndex(0);
    list.AddItem("Waiting");
    list.Clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(list.NewIndex(), -1);
    EXPECT_FALSE(view.currentIndex().isValid());
    list.publishPending();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(ListViewSkillListTest, OperationsOnAMissingItemFailWithTheirKinds) {
    list.AddItem("Only");
    EXPECT_FAILURE(list.Selected(1, true), FailureKind::ListOperation,
                   "cannot set the check mark of item 1: the list has 1 items");
    EXPECT_FAILURE(list.Selected(-1, false), FailureKind::ListOperation,
                   "cannot set the check mark of item -1: the list has 1 items");
    EXPECT_FAILURE(list.ListIndex(1), FailureKind::InvalidListIndex,
                   "cannot make item 1 current: the list has 1 items");
    EXPECT_FAILURE(list.ListIndex(-1), FailureKind::InvalidListIndex,
                   "cannot make item -1 current: the list has 1 items");
    list.Clear();
    EXPECT_THROW(list.ListIndex(0), Failure);
}

TEST_F(ListViewSkillListTest, UserToggleChangesTheStoredMark) {
    list.AddItem("One");
    list.publishPending();
    EXPECT_TRUE(model.setData(model.index(0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(model.isChecked(0));
    EXPECT_TRUE(model.flags(model.index(0)).testFlag(Qt::ItemIsUserCheckable));
    EXPECT_FALSE(model.setData(model.index(0), QStringLiteral("renamed"), Qt::EditRole));
    EXPECT_EQ(shownText(0), "One");
}

// The list takes a huge name's text over rather than copying it, so it is held once.
TEST_F(ListViewSkillListTest, AVeryLongTextIsHeldOnceShownCutShortButKeptWhole) {
    std::string longText(5 * 1024 * 1024, 'x');
    const char* const heldAt = longText.data();
    list.AddItem(std::move(longText));
    list.publishPending();
    const QString shown = shownText(0);
    EXPECT_EQ(static_cast<std::size_t>(shown.size()), kLongestShownText + 1);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
    EXPECT_EQ(model.text(0).size(), 5u * 1024 * 1024);
    EXPECT_EQ(model.text(0).data(), heldAt);
}

}  // namespace
}  // namespace quorrel
