#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QUrl>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "BoxFrame.h"
#include "Form1.h"
#include "NumberedCase.h"
#include "ScopedVariable.h"
#include "TableBytes.h"
#include "TableOnDisk.h"
#include "TempDir.h"
#include "skills/SkillFileLayout.h"

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
        const testing::TablePaths paths = testing::writeTable(dir, gameClientLayout(skills), stem);
        typePaths(paths.data, paths.index);
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
    // The icon's built-in pixels are the pictures' own, in their byte order.
    for (const int side : {16, 32}) {
        const QImage drawn =
            QImage(QStringLiteral(QUORREL_ICONS_DIR "/quorrel-%1.png").arg(side), "PNG")
                .convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(drawn.isNull()) << side;
        EXPECT_EQ(window.windowIcon()
                      .pixmap(QSize(side, side))
                      .toImage()
                      .convertToFormat(QImage::Format_ARGB32),
                  drawn)
            << side;
    }
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
    // The fields show the end of their paths, the file names, which tell them apart.
    EXPECT_EQ(txtPath()->cursorPosition(), txtPath()->text().size());
    EXPECT_EQ(txtPathIdx()->cursorPosition(), txtPathIdx()->text().size());
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

// As the platform's command buttons are; the focus stays on the button.
TEST_F(Form1Test, SpaceOrEnterOnTheFocusedButtonPressesIt) {
    typeFilesOf(kThreeSkills, "three");
    showActive();
    cmdGet()->setFocus();
    QSignalSpy clicks(cmdGet(), &QPushButton::clicked);
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(cmdGet(), key);
        EXPECT_EQ(clicks.count(), 1) << QKeySequence(key).toString().toStdString();
        EXPECT_EQ(shownItems(), kThreeItems);
        EXPECT_EQ(QApplication::focusWidget(), cmdGet());
        clicks.clear();
        window.lstSkills().Clear();
    }
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
// with the whole path as it stands. Left after editing, a field shows the end of its path again,
// its text as typed.
TEST_F(Form1Test, PathFieldsNameTheirFileAndShowItsNameWhenLeft) {
    showActive();
    const std::vector<std::pair<QLineEdit*, QString>> fields = {
        {txtPath(), "Skill data file (skills.mul)"},
        {txtPathIdx(), "Skill index file (skills.idx)"}};
    for (const auto& [field, name] : fields) {
        EXPECT_EQ(field->accessibleName(), name);
        EXPECT_EQ(field->placeholderText(), name);
        EXPECT_EQ(field->toolTip(), name + "\n" + field->text());
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Home);
        QTest::keyClicks(field, "/x");
        EXPECT_EQ(field->cursorPosition(), 2);
        lstSkills()->setFocus();
        EXPECT_TRUE(field->text().startsWith("/xc:\\program files"));
        EXPECT_EQ(field->cursorPosition(), field->text().size());
    }
}

// What a drop puts into the fields, whatever field it lands on, or the word that refuses it.
struct DropCase {
    std::string what;
    std::vector<std::string> dropped;  // names in the test's folder; "" is the folder itself
    bool onIndexField;
    std::string txtPath;     // file name expected in the data field, "" for unchanged
    std::string txtPathIdx;  // the same for the index field
    std::string refusal;     // words of the tooltip when the drop is refused
};

void PrintTo(const DropCase& c, std::ostream* out) {
    *out << c.what;
}

class Form1DropTest : public Form1Test, public ::testing::WithParamInterface<DropCase> {};

TEST_P(Form1DropTest, FillsTheFieldsTheRuleSaysOrSaysWhyNot) {
    const DropCase& c = GetParam();
    for (const char* name : {"skills.mul", "skills.idx", "other.mul", "notes.txt"}) {
        dir.write(name, {});
    }
    const QString dataBefore = txtPath()->text();
    const QString indexBefore = txtPathIdx()->text();
    QList<QUrl> urls;
    for (const std::string& name : c.dropped) {
        urls.push_back(name == "http"
                           ? QUrl(QStringLiteral("http://example.invalid/skills.mul"))
                           : QUrl::fromLocalFile(QString::fromStdString(
                                 (name.empty() ? dir.path() : dir.path() / name).string())));
    }
    QMimeData files;
    files.setUrls(urls);
    QLineEdit* field = c.onIndexField ? txtPathIdx() : txtPath();
    QToolTip::hideText();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
    EXPECT_EQ(enter.isAccepted(), c.refusal.empty());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &drop);

    const auto expected = [this](const std::string& name, const QString& before) {
        return name.empty() ? before : QString::fromStdString((dir.path() / name).string());
    };
    EXPECT_EQ(txtPath()->text(), expected(c.txtPath, dataBefore));
    EXPECT_EQ(txtPathIdx()->text(), expected(c.txtPathIdx, indexBefore));
    EXPECT_EQ(drop.isAccepted(), c.refusal.empty());
    if (!c.refusal.empty()) {
        EXPECT_TRUE(QToolTip::text().contains(QString::fromStdString(c.refusal)))
            << QToolTip::text().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Drops, Form1DropTest,
    ::testing::Values(
        DropCase{"one file, on the index field", {"notes.txt"}, true, "", "notes.txt", ""},
        DropCase{"both files, on the data field, index first",
                 {"skills.idx", "skills.mul"},
                 false,
                 "skills.mul",
                 "skills.idx",
                 ""},
        DropCase{"the folder that holds both", {""}, true, "skills.mul", "skills.idx", ""},
        DropCase{"two data files", {"skills.mul", "other.mul"}, false, "", "", "Cannot tell which"},
        DropCase{
            "three files", {"skills.mul", "skills.idx", "notes.txt"}, true, "", "", "Drop one"},
        DropCase{
            "a file that is not on this computer", {"http"}, false, "", "", "on this computer"}),
    testing::NumberedCase());

// A screen reader finds the window as a frame, every control named, and each item's check mark.
TEST_F(Form1Test, EveryControlHasARoleAndANameForScreenReaders) {
    typeFilesOf(kThreeSkills, "three");
    showActive();
    clickGet();
    QAccessibleInterface* form = QAccessible::queryAccessibleInterface(&window);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->role(), QAccessible::Window);
    EXPECT_EQ(form->text(QAccessible::Name), "Quorrel by Ketterby");
    const std::vector<std::tuple<QWidget*, QAccessible::Role, QString>> controls = {
        {lstSkills(), QAccessible::List, "Skills"},
        {txtPath(), QAccessible::EditableText, "Skill data file (skills.mul)"},
        {txtPathIdx(), QAccessible::EditableText, "Skill index file (skills.idx)"},
        {cmdGet(), QAccessible::Button, "Get"}};
    for (const auto& [widget, role, name] : controls) {
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(control, nullptr) << name.toStdString();
        EXPECT_EQ(control->role(), role) << name.toStdString();
        EXPECT_EQ(control->text(QAccessible::Name), name);
    }
    // Each skill is a check box, so that one without a mark is heard as "not checked".
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(lstSkills());
    ASSERT_EQ(list->childCount(), 3);
    for (int row = 0; row < 3; ++row) {
        QAccessibleInterface* item = list->child(row);
        EXPECT_EQ(item->role(), QAccessible::CheckBox);
        EXPECT_EQ(item->text(QAccessible::Name), kThreeItems[static_cast<std::size_t>(row)].text);
        EXPECT_TRUE(item->state().checkable);
        EXPECT_EQ(item->state().checked, kThreeItems[static_cast<std::size_t>(row)].checked);
        EXPECT_EQ(item->parent(), list);
        EXPECT_EQ(list->indexOfChild(item), row);
    }
    list->child(1)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(shownItems()[1].checked);
}

// The contrast between the list's background and the frame of the check box on `row`: the first
// pixel from the row's left edge, along its middle, that is not the background.
double boxFrameContrast(QListView& list, int row) {
    const QImage shown = list.viewport()->grab().toImage();
    const QRect item = list.visualRect(list.model()->index(row, 0));
    const QColor background = list.palette().color(QPalette::Base);
    const int y = item.center().y() * shown.height() / list.viewport()->height();
    for (int x = 0; x < shown.width(); ++x) {
        if (shown.pixelColor(x, y).rgb() != background.rgb()) {
            return contrastRatio(shown.pixelColor(x, y), background);
        }
    }
    return 1.0;
}

QPalette darkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x23, 0x23, 0x23));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    return dark;
}

// A skill's box stands out from the list, checked or not: its frame has at least 3:1 contrast
// with the list's background (WCAG 2.1, 1.4.11), in the default palette and in a dark one.
TEST_F(Form1Test, EveryCheckBoxFrameStandsOutFromTheList) {
    typeFilesOf(kThreeSkills, "three");
    showActive();
    clickGet();
    for (const auto& [name, palette] :
         {std::pair{"default", QApplication::style()->standardPalette()},
          std::pair{"dark", darkPalette()}}) {
        lstSkills()->setPalette(palette);
        // Rows 1 and 2, unchecked and checked, are not the current row, drawn highlighted.
        for (const int row : {1, 2}) {
            EXPECT_GE(boxFrameContrast(*lstSkills(), row), 3.0) << name << " palette, row " << row;
        }
    }
}

TEST_F(Form1Test, CtrlCInTheListCopiesTheCurrentSkillsName) {
    typeFilesOf(kThreeSkills, "three");
    clickGet();
    showActive();
    lstSkills()->setFocus();
    QTest::keyClick(lstSkills(), Qt::Key_End);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(lstSkills(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), kThreeItems[2].text);
}

// A failure about a path the window started with says how to point it at the game's files.
TEST_F(Form1Test, AFailureOnTheDefaultPathsSaysHowToPointTheWindowAtTheFiles) {
    const testing::ScopedVariable prefix("WINEPREFIX", (dir.path() / "no-prefix").string());
    clickGet();
    ASSERT_EQ(window.failuresShown.size(), 1u);
    EXPECT_TRUE(window.failuresShown[0].contains("drop the two files"))
        << window.failuresShown[0].toStdString();
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
