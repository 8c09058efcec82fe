#include "Form1.h"

#include <QGuiApplication>
#include <QIcon>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include "BusyCursor.h"
#include "Form1Layout.h"
#include "GuardedLoad.h"
#include "SkillItemDelegate.h"

namespace quorrel {
namespace {

QRect rectOf(form1::ControlId id) {
    const form1::Rect pixels = form1::placeOf(id).pixels();
    return {pixels.left, pixels.top, pixels.width, pixels.height};
}

QString textOf(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The client area in pixels at 96 dots per inch; the toolkit scales it on other screens.
constexpr QSize kClientSize(form1::kClientPixels.width, form1::kClientPixels.height);

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
      txtPath_(
          new PathField(textOf(form1::kDataPathFieldName), textOf(form1::kDataPathAtStart), this)),
      txtPathIdx_(new PathField(textOf(form1::kIndexPathFieldName),
                                textOf(form1::kIndexPathAtStart), this)),
      cmdGet_(new QPushButton(textOf(form1::kGetCaption), this)),
      skillModel_(new SkillListModel(this)),
      skillList_(*lstSkills_, *skillModel_) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(textOf(form1::kCaption));
    setWindowIcon(windowIcon16And32());
    // Tool windows do not end the program when closed; this one is the program.
    setAttribute(Qt::WA_QuitOnClose, true);
    setFixedSize(kClientSize);

    lstSkills_->setModel(skillModel_);
    lstSkills_->setItemDelegate(new SkillItemDelegate(lstSkills_));
    placeControls();
    orderTabStops();
    connect(cmdGet_, &QPushButton::clicked, this, &Form1::cmdGet_Click);
    placeWindow();
}

void Form1::placeControls() {
    lstSkills_->setObjectName(QStringLiteral("lstSkills"));
    lstSkills_->setGeometry(rectOf(form1::ControlId::lstSkills));
    lstSkills_->setUniformItemSizes(true);
    lstSkills_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstSkills_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    txtPath_->setObjectName(QStringLiteral("txtPath"));
    txtPath_->setGeometry(rectOf(form1::ControlId::txtPath));
    txtPathIdx_->setObjectName(QStringLiteral("txtPathIdx"));
    txtPathIdx_->setGeometry(rectOf(form1::ControlId::txtPathIdx));
    // A path longer than its field shows its start, where the drive and folders are.
    txtPath_->setCursorPosition(0);
    txtPathIdx_->setCursorPosition(0);

    cmdGet_->setObjectName(QStringLiteral("cmdGet"));
    cmdGet_->setGeometry(rectOf(form1::ControlId::cmdGet));
    cmdGet_->setAutoDefault(false);
    cmdGet_->setDefault(false);
}

void Form1::orderTabStops() {
    QWidget* previous = nullptr;
    for (const form1::ControlPlace& place : form1::kControls) {
        QWidget* next = control(place.id);
        if (previous == nullptr) {
            next->setFocus(Qt::OtherFocusReason);
        } else {
            QWidget::setTabOrder(previous, next);
        }
        previous = next;
    }
}

QWidget* Form1::control(form1::ControlId id) const {
    switch (id) {
        case form1::ControlId::lstSkills:
            return lstSkills_;
        case form1::ControlId::cmdGet:
            return cmdGet_;
        case form1::ControlId::txtPath:
            return txtPath_;
        case form1::ControlId::txtPathIdx:
            return txtPathIdx_;
    }
    return lstSkills_;
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

// Runs the load under the busy cursor and returns the description of whatever stopped it, if
// anything did: no exception may leave a Qt event handler. The items added before a failure are
// shown too.
std::optional<QString> Form1::runLoad() {
    const BusyCursor busy;
    const std::optional<std::string> failure = loadGuarded(*this, files_);
    skillList_.publishPending();
    if (!failure) {
        return std::nullopt;
    }
    return QString::fromStdString(*failure);
}

void Form1::showFailure(const QString& description) {
    QMessageBox::critical(this, windowTitle(), description);
}

}  // namespace quorrel
