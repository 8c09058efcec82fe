#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QUrl>
#include <string>
#include <utility>
#include <vector>

#include "Form1.h"
#include "TempDir.h"
#include "skills/SkillTableLayout.h"

namespace quorrel {
namespace {

// The window with its failure message captured instead of shown in a box that waits for a person.
class RecordingForm1 final : public Form1 {
  public:
    std::vector<QString> failuresShown;

  protected:
    void showFailure(const QString& description) override { failuresShown.push_back(description); }
};

struct ShownItem {
    QString text;
    bool checked = false;

    bool operator==(const ShownItem&) const = default;
    friend void PrintTo(const ShownItem& item, std::ostream* out) {
        *out << (item.checked ? "[x] " : "[ ] ") << item.text.toStdString();
    }
};

class Form1Test : public ::testing::Test {
  protected:
    template <typename Control>
    Control* control(const char* name) {
        auto* found = window.findChild<Control*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QListView* lstSkills() { return control<QListView>("lstSkills"); }
    QLineEdit* txtPath() { return control<QLineEdit>("txtPath"); }
    QLineEdit* txtPathIdx() { return control<QLineEdit>("txtPathIdx"); }
    QPushButton* cmdGet() { return control<QPushButton>("cmdGet"); }

    std::vector<ShownItem> shownItems() {
        std::vector<ShownItem> items;
        const QAbstractItemModel* model = lstSkills()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            items.push_back(
                {index.data(Qt::DisplayRole).toString(),
                 index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked});
        }
        return items;
    }

    int currentRow() { return lstSkills()->currentIndex().row(); }

    // Writes the skill files under `stem` and types their paths into the window.
    void typeFilesOf(const std::vector<SkillRecord>& skills, const std::string& stem) {
        const SkillFiles files = gameClientLayout(skills);
        typePaths(dir.write(stem + ".mul", files.data), dir.write(stem + ".idx", files.index));
    }

    void typePaths(const std::string& dataPath, const std::string& indexPath) {
        retype(txtPath(), dataPath);
        retype(txtPathIdx(), indexPath);
    }

    static void retype(QLineEdit* field, const std::string& text) {
        field->selectAll();
        QTest::keyClicks(field, QString::fromStdString(text));
    }

    void clickGet() { QTest::mouseClick(cmdGet(), Qt::LeftButton); }

    void showActive() {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    testing::TempDir dir;
    RecordingForm1 window;
};

const std::vector<SkillRecord> kThreeSkills = {
    {"Dowsing", 1}, {"Gilding", 0}, {"Caf\xE9 Lore", 255}};
const std::vector<ShownItem> kThreeItems = {
    {"Dowsing", true}, {"Gilding", false}, {QString::fromUtf8("Caf\u00E9 Lore"), true}};

TEST_F(Form1Test, ControlsStandAtTheirPlacesInAFixedClientArea) {
    const std::vector<std::pair<const char*, QRect>> places = {
        {"lstSkills", QRect(0, 8, 209, 334)},
        {"txtPath", QRect(8, 344, 193, 19)},
        {"txtPathIdx", QRect(8, 368, 193, 19)},
        {"cmdGet", QRect(8, 392, 193, 17)},
    };
    for (const auto& [name, rect] : places) {
        EXPECT_EQ(control<QWidget>(name)->geometry(), rect) << name;
    }
    window.show();
    EXPECT_EQ(window.size(), QSize(209, 409));
    EXPECT_EQ(window.minimumSize(), QSize(209, 409));
    EXPECT_EQ(window.maximumSize(), QSize(209, 409));
}

TEST_F(Form1Test, IsAFixedCaptionedToolWindowWithOnlyACloseButton) {
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_EQ(window.windowTitle(), "Quorrel by Ketterby");
    EXPECT_TRUE(window.isWindow());
    // A tool window has no taskbar entry.
    EXPECT_EQ(window.windowType(), Qt::Tool);
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_TRUE(window.windowIcon().availableSizes().contains(QSize(16, 16)));
}

TEST_F(Form1Test, OpensCentredOnTheScreen) {
    window.show();
    const QPoint offCentre =
        window.screen()->availableGeometry().center() - window.geometry().center();
    // The frame that the platform draws around the client area moves it by a few pixels.
    EXPECT_LE(offCentre.manhattanLength(), 8) << offCentre.x() << "," << offCentre.y();
}

TEST_F(Form1Test, ClosingTheWindowEndsTheProgram) {
    constexpr int kStillRunning = 7;
    QTimer stillRunning;
    stillRunning.setSingleShot(true);
    QObject::connect(&stillRunning, &QTimer::timeout,
                     [] { QCoreApplication::exit(kStillRunning); });
    stillRunning.start(5000);
    window.show();
    QTimer::singleShot(0, &window, [this] { window.close(); });
    EXPECT_EQ(QApplication::exec(), 0);
}

TEST_F(Form1Test, StartsWithTheDefaultPathsAndAnEmptyList) {
    EXPECT_EQ(txtPath()->text(), "c:\\program files\\ultima online\\skills.mul");
    EXPECT_EQ(txtPathIdx()->text(), "c:\\program files\\ultima online\\skills.idx");
    // The fields show the start of their paths, the drive and folders, not the end.
    EXPECT_EQ(txtPath()->cursorPosition(), 0);
    EXPECT_EQ(txtPathIdx()->cursorPosition(), 0);
    EXPECT_EQ(cmdGet()->text(), "Get");
    EXPECT_EQ(lstSkills()->model()->rowCount(), 0);
    EXPECT_FALSE(lstSkills()->currentIndex().isValid());
    EXPECT_TRUE(window.failuresShown.empty());
}

TEST_F(Form1Test, FocusStartsInTheListAndTabGoesListButtonDataIndex) {
    showActive();
    EXPECT_EQ(QApplication::focusWidget(), lstSkills());
    const std::vector<QWidget*> order = {cmdGet(), txtPath(), txtPathIdx(), lstSkills()};
    for (QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
}

TEST_F(Form1Test, GetShowsTheSkillsOfTheTypedPathsWithTheFirstCurrent) {
    typeFilesOf(kThreeSkills, "three");
    clickGet();
    EXPECT_EQ(shownItems(), kThreeItems);
    EXPECT_EQ(currentRow(), 0);
    EXPECT_TRUE(window.failuresShown.empty());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(Form1Test, SecondGetRestoresMarksAndCurrentItemThatTheUserChanged) {
    typeFilesOf(kThreeSkills, "three");
    clickGet();
    showActive();
    lstSkills()->setFocus();
    QTest::keyClick(lstSkills(), Qt::Key_Space);  // clears the first item's mark
    QTest::keyClick(lstSkills(), Qt::Key_Down);
    QTest::keyClick(lstSkills(), Qt::Key_Space);  // sets the second item's mark
    const std::vector<ShownItem> toggled = {
        {kThreeItems[0].text, false}, {kThreeItems[1].text, true}, kThreeItems[2]};
    ASSERT_EQ(shownItems(), toggled);
    ASSERT_EQ(currentRow(), 1);

    clickGet();
    EXPECT_EQ(shownItems(), kThreeItems);
    EXPECT_EQ(currentRow(), 0);
}

TEST_F(Form1Test, SecondGetReplacesTheListWithTheNewFiles) {
    typeFilesOf(kThreeSkills, "three");
    clickGet();
    typeFilesOf({{"Whittling", 0}}, "one");
    clickGet();
    EXPECT_EQ(shownItems(), (std::vector<ShownItem>{{"Whittling", false}}));
    EXPECT_EQ(currentRow(), 0);
}

TEST_F(Form1Test, EnterInAPathFieldAndEscapeDoNothing) {
    typeFilesOf(kThreeSkills, "three");
    showActive();
    QSignalSpy clicks(cmdGet(), &QPushButton::clicked);
    for (QLineEdit* field : {txtPath(), txtPathIdx()}) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(field, Qt::Key_Enter);
        QTest::keyClick(field, Qt::Key_Escape);
    }
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_TRUE(shownItems().empty());
    EXPECT_TRUE(window.isVisible());
}

TEST_F(Form1Test, SpaceOnTheFocusedButtonPressesIt) {
    typeFilesOf(kThreeSkills, "three");
    showActive();
    cmdGet()->setFocus();
    QTest::keyClick(cmdGet(), Qt::Key_Space);
    EXPECT_EQ(shownItems(), kThreeItems);
}

TEST_F(Form1Test, FailingGetShowsItsMessageAndKeepsTheItemsAddedBeforeIt) {
    const SkillFiles good = gameClientLayout(kThreeSkills);
    // Dowsing and Gilding (flag, name and zero: 9 bytes each), then an offset that cannot be
    // turned into a position.
    const std::vector<IndexRecord> records = {{0, 9, 0}, {9, 9, 0}, {2147483647, 4, 0}};
    typePaths(dir.write("bad.mul", good.data), dir.write("bad.idx", indexBytes(records)));
    window.show();
    clickGet();

    ASSERT_EQ(window.failuresShown.size(), 1u);
    EXPECT_TRUE(window.failuresShown[0].contains("bad.idx"))
        << window.failuresShown[0].toStdString();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(shownItems(), (std::vector<ShownItem>{kThreeItems[0], kThreeItems[1]}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // The window is ready for another Get.
    typeFilesOf(kThreeSkills, "three");
    clickGet();
    EXPECT_EQ(shownItems(), kThreeItems);
    EXPECT_EQ(window.failuresShown.size(), 1u);
}

TEST_F(Form1Test, MissingFileMessageNamesThePathTyped) {
    const std::string missing = (dir.path() / "no-such.idx").string();
    typePaths((dir.path() / "no-such.mul").string(), missing);
    clickGet();
    ASSERT_EQ(window.failuresShown.size(), 1u);
    EXPECT_TRUE(window.failuresShown[0].contains(QString::fromStdString(missing)))
        << window.failuresShown[0].toStdString();
    EXPECT_TRUE(shownItems().empty());
}

// Each path field says which file it holds, to a screen reader and in its tooltip, the tooltip
// with the whole path as it stands; a file dropped from a file manager replaces the path.
TEST_F(Form1Test, PathFieldsNameTheirFileAndTakeADroppedFile) {
    const std::vector<std::pair<QLineEdit*, QString>> fields = {
        {txtPath(), "Skill data file (skills.mul)"},
        {txtPathIdx(), "Skill index file (skills.idx)"}};
    for (const auto& [field, name] : fields) {
        EXPECT_EQ(field->accessibleName(), name);
        EXPECT_EQ(field->toolTip(), name + "\n" + field->text());

        const QString dropped = QString::fromStdString(dir.write("dropped.bin", {}));
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(dropped)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field, &enter);
        EXPECT_TRUE(enter.isAccepted()) << name.toStdString();
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field, &drop);
        EXPECT_EQ(field->text(), QDir::toNativeSeparators(dropped));
        EXPECT_EQ(field->toolTip(), name + "\n" + field->text());
    }
}

// An item whose name the list is too narrow for shows the whole name as its tooltip; one that
// fits shows none.
TEST_F(Form1Test, AnItemCutShortShowsItsWholeNameAsATooltip) {
    const std::string longName = "Underwater Basket Weaving for the Patient and the Dry of Hand";
    typeFilesOf({{"Dowsing", 1}, {longName, 0}}, "long");
    showActive();
    clickGet();
    const auto tooltipAt = [this](int row) {
        QListView* list = lstSkills();
        const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
        QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &help);
        return QToolTip::text();
    };
    EXPECT_EQ(tooltipAt(0), QString());
    EXPECT_EQ(tooltipAt(1), QString::fromStdString(longName));
}

}  // namespace
}  // namespace quorrel
