#include "Form1.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include "BusyCursor.h"
#include "runtime/Failure.h"
#include "skills/LoadAction.h"
#include "skills/SkillFileLayout.h"

namespace quorrel {
namespace {

// The client area and the controls' places in it, in pixels at 96 dots per inch; the toolkit
// scales them on other screens.
constexpr QSize kClientSize(209, 409);
constexpr QRect kListRect(0, 8, 209, 334);
constexpr QRect kDataPathRect(8, 344, 193, 19);
constexpr QRect kIndexPathRect(8, 368, 193, 19);
constexpr QRect kGetRect(8, 392, 193, 17);

// A fixed frame with a close button only. A tool window keeps it out of the taskbar.
constexpr Qt::WindowFlags kWindowFlags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowCloseButtonHint |
                                         Qt::MSWindowsFixedSizeDialogHint;

QIcon windowIcon16And32() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/quorrel-16.png"));
    icon.addFile(QStringLiteral(":/icons/quorrel-32.png"));
    return icon;
}

}  // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent, kWindowFlags),
      lstSkills_(new QListView(this)),
      txtPath_(new QLineEdit(QString::fromUtf8(kDefaultDataPath), this)),
      txtPathIdx_(new QLineEdit(QString::fromUtf8(kDefaultIndexPath), this)),
      cmdGet_(new QPushButton(QStringLiteral("Get"), this)),
      skillModel_(new SkillListModel(this)),
      skillList_(*lstSkills_, *skillModel_) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quorrel by Ketterby"));
    setWindowIcon(windowIcon16And32());
    // Tool windows do not end the program when closed; this one is the program.
    setAttribute(Qt::WA_QuitOnClose, true);
    setFixedSize(kClientSize);

    lstSkills_->setModel(skillModel_);
    placeControls();
    orderTabStops();
    connect(cmdGet_, &QPushButton::clicked, this, &Form1::cmdGet_Click);
    placeWindow();
}

void Form1::placeControls() {
    lstSkills_->setObjectName(QStringLiteral("lstSkills"));
    lstSkills_->setGeometry(kListRect);
    lstSkills_->setUniformItemSizes(true);
    lstSkills_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstSkills_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    txtPath_->setObjectName(QStringLiteral("txtPath"));
    txtPath_->setGeometry(kDataPathRect);
    txtPathIdx_->setObjectName(QStringLiteral("txtPathIdx"));
    txtPathIdx_->setGeometry(kIndexPathRect);
    // A path longer than its field shows its start, where the drive and folders are.
    txtPath_->setCursorPosition(0);
    txtPathIdx_->setCursorPosition(0);

    cmdGet_->setObjectName(QStringLiteral("cmdGet"));
    cmdGet_->setGeometry(kGetRect);
    cmdGet_->setAutoDefault(false);
    cmdGet_->setDefault(false);
}

void Form1::orderTabStops() {
    QWidget::setTabOrder(lstSkills_, cmdGet_);
    QWidget::setTabOrder(cmdGet_, txtPath_);
    QWidget::setTabOrder(txtPath_, txtPathIdx_);
    lstSkills_->setFocus(Qt::OtherFocusReason);
}

void Form1::placeWindow() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    QRect placed(QPoint(0, 0), kClientSize);
    placed.moveCenter(screen->availableGeometry().center());
    move(placed.topLeft());
}

std::string Form1::txtPathText() const {
    return txtPath_->text().toStdString();
}

std::string Form1::txtPathIdxText() const {
    return txtPathIdx_->text().toStdString();
}

void Form1::cmdGet_Click() {
    if (const std::optional<QString> failure = runLoad()) {
        showFailure(*failure);
    }
}

// Runs the load under the busy cursor and returns the description of its failure, if any. The
// items added before a failure are shown too.
std::optional<QString> Form1::runLoad() {
    const BusyCursor busy;
    std::optional<QString> failure;
    try {
        loadSkills(*this, files_);
    } catch (const Failure& loadFailure) {
        failure = QString::fromStdString(loadFailure.description());
    }
    skillList_.publishPending();
    return failure;
}

void Form1::showFailure(const QString& description) {
    QMessageBox::critical(this, windowTitle(), description);
}

}  // namespace quorrel
