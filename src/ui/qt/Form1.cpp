#include "Form1.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QClipboard>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QListView>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStringEncoder>

#include "BusyCursor.h"
#include "Form1Layout.h"
#include "GuardedLoad.h"
#include "SkillItemDelegate.h"
#include "WindowIconPixels.h"

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

// The pictures are built in as pixels (window-icon-pixels writes them from the PNG files): reading
// a PNG at start-up has Qt list its image-format plugins and read what each says of itself before
// it decodes the picture, which cost start-up about 2 %.
QIcon windowIcon16And32() {
    QIcon icon;
    for (const window_icon::Picture& picture : window_icon::kPictures) {
        // An image over the program's constant pixels, which it only reads; the pixmap copies them.
        const QImage image(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.side,
                           picture.side, picture.side * 4, QImage::Format_ARGB32);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

// A screen reader meets Form1 as a window (a frame), not as the filler a plain widget is taken for.
QAccessibleInterface* accessibleForm1(const QString& className, QObject* object) {
    if (object != nullptr && object->isWidgetType() &&
        className == QLatin1String("quorrel::Form1")) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

// Holds the window's state of being in a load for as long as the object lives.
class LoadingScope {
  public:
    explicit LoadingScope(bool& loading) : loading_(loading) { loading_ = true; }
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;
    ~LoadingScope() { loading_ = false; }

  private:
    bool& loading_;
};

}  // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent, kWindowFlags),
      lstSkills_(new SkillListView(this)),
      txtPath_(new PathField(form1::ControlId::txtPath, textOf(form1::kDataPathFieldName),
                             textOf(form1::kDataPathAtStart), this)),
      txtPathIdx_(new PathField(form1::ControlId::txtPathIdx, textOf(form1::kIndexPathFieldName),
                                textOf(form1::kIndexPathAtStart), this)),
      cmdGet_(new QPushButton(textOf(form1::kGetCaption), this)),
      skillModel_(new SkillListModel(this)),
      skillList_(*lstSkills_, *skillModel_) {
    static const bool accessibleAsAWindow = (QAccessible::installFactory(accessibleForm1), true);
    static_cast<void>(accessibleAsAWindow);
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
    const auto takeDrop = [this](const form1::DropOutcome& outcome) { this->takeDrop(outcome); };
    const auto loading = [this] { return loading_; };
    txtPath_->takeDropsWith(takeDrop, loading);
    txtPathIdx_->takeDropsWith(takeDrop, loading);
    lstSkills_->installEventFilter(this);
    cmdGet_->installEventFilter(this);
    placeWindow();
}

void Form1::placeControls() {
    lstSkills_->setObjectName(QStringLiteral("lstSkills"));
    lstSkills_->setAccessibleName(textOf(form1::kSkillsListName));
    lstSkills_->setGeometry(rectOf(form1::ControlId::lstSkills));
    lstSkills_->setUniformItemSizes(true);
    lstSkills_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstSkills_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    txtPath_->setObjectName(QStringLiteral("txtPath"));
    txtPath_->setGeometry(rectOf(form1::ControlId::txtPath));
    txtPathIdx_->setObjectName(QStringLiteral("txtPathIdx"));
    txtPathIdx_->setGeometry(rectOf(form1::ControlId::txtPathIdx));

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

// Converted straight into the load's own string, with no byte array between: a load reads the
// field for every record.
void Form1::txtPathTextInto(std::string& text) const {
    const QString field = txtPath_->text();
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    text.resize(static_cast<std::size_t>(toUtf8.requiredSpace(field.size())));
    const char* const end = toUtf8.appendToBuffer(text.data(), field);
    text.resize(static_cast<std::size_t>(end - text.data()));
}

std::string Form1::txtPathIdxText() const {
    return txtPathIdx_->text().toStdString();
}

void Form1::cmdGet_Click() {
    // A screen reader may press the button while a load lets the window answer; one load at a
    // time.
    if (loading_) {
        return;
    }
    if (std::optional<QString> failure = runLoad()) {
        showFailure(QString::fromStdString(failureShown(failure->toStdString(), *this)));
    }
}

// Runs the load under the busy cursor and returns the description of whatever stopped it, if
// anything did: no exception may leave a Qt event handler. The items added before a failure are
// shown too.
std::optional<QString> Form1::runLoad() {
    const BusyCursor busy;
    const LoadingScope loading(loading_);
    const std::optional<std::string> failure = loadGuarded(*this, files_);
    skillList_.publishPending();
    if (!failure) {
        return std::nullopt;
    }
    return QString::fromStdString(*failure);
}

void Form1::whileLoading() {
    // Paint and expose events and the window manager's pings are handled, so the window is drawn
    // and not taken for one that hangs; clicks, keys and the close button wait in their queue for
    // the load to end, as they would if nothing were handled.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Form1::takeDrop(const form1::DropOutcome& outcome) {
    if (outcome.txtPath) {
        txtPath_->setText(QString::fromStdString(*outcome.txtPath));
    }
    if (outcome.txtPathIdx) {
        txtPathIdx_->setText(QString::fromStdString(*outcome.txtPathIdx));
    }
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == lstSkills_ && key->matches(QKeySequence::Copy)) {
        copyCurrentName();
        return true;
    }
    // A command button with the focus is pressed by Enter as by Space, as the platform's buttons
    // are; the button is still no default button, so Enter elsewhere presses nothing. A held
    // Enter starts one load, not one after another.
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == cmdGet_ && enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (!key->isAutoRepeat()) {
            cmdGet_->click();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// The whole name as its tooltip gives it, not the text the list draws cut short.
void Form1::copyCurrentName() const {
    const QModelIndex current = lstSkills_->currentIndex();
    if (current.isValid()) {
        QGuiApplication::clipboard()->setText(current.data(Qt::ToolTipRole).toString());
    }
}

void Form1::showFailure(const QString& description) {
    QMessageBox::critical(this, windowTitle(), description);
}

}  // namespace quorrel
