#include "PathField.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QMimeData>
#include <QToolTip>
#include <QUrl>
#include <string>
#include <vector>

namespace quorrel {
namespace {

constexpr const char* kNotLocalFiles =
    "Only files and folders on this computer can be dropped here.";
constexpr const char* kWhileLoading = "Wait until the skills are loaded.";

}  // namespace

PathField::PathField(form1::ControlId id, const QString& fileName, const QString& path,
                     QWidget* parent)
    : QLineEdit(path, parent), id_(id), fileName_(fileName) {
    setAccessibleName(fileName_);
    // A screen reader reads the field's text itself. Without a description of its own the toolkit
    // would give the tooltip, name and path, as one, and the path would be spoken once more; the
    // name again is heard as nothing new.
    setAccessibleDescription(fileName_);
    setPlaceholderText(fileName_);
    describePath(path);
    connect(this, &QLineEdit::textChanged, this, &PathField::describePath);
}

void PathField::describePath(const QString& path) {
    setToolTip(fileName_ + QLatin1Char('\n') + path);
    showEndUnlessFocused();
}

// The file name at the end of a path tells the two fields apart; the folders they share do not.
void PathField::showEndUnlessFocused() {
    if (!hasFocus()) {
        end(false);
    }
}

void PathField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Leaving the window or opening a menu keeps the field as the user left it, to go on editing.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) {
        showEndUnlessFocused();
    }
}

std::optional<form1::DropOutcome> PathField::outcomeOf(const QMimeData* dragged) const {
    if (dragged == nullptr || !dragged->hasUrls()) {
        return std::nullopt;
    }
    if (dropsHeld_ && dropsHeld_()) {
        return form1::DropOutcome{std::nullopt, std::nullopt, kWhileLoading};
    }
    std::vector<std::string> paths;
    for (const QUrl& url : dragged->urls()) {
        if (!url.isLocalFile()) {
            return form1::DropOutcome{std::nullopt, std::nullopt, kNotLocalFiles};
        }
        paths.push_back(url.toLocalFile().toStdString());
    }
    return form1::pathsFromDrop(paths, id_);
}

void PathField::showRefusal(const std::string& refusal) {
    QToolTip::showText(mapToGlobal(rect().bottomLeft()), QString::fromStdString(refusal), this);
}

// A drag the rule refuses is refused as it enters, with the reason at the field, so the user
// learns why before letting go.
void PathField::dragEnterEvent(QDragEnterEvent* event) {
    const auto outcome = outcomeOf(event->mimeData());
    draggedFilesTaken_ = outcome ? std::optional<bool>(outcome->taken()) : std::nullopt;
    if (!outcome) {
        QLineEdit::dragEnterEvent(event);
    } else if (outcome->taken()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
        showRefusal(outcome->refusal);
    }
}

// Decided as the drag entered: a folder dragged over the field is not listed again at every move.
void PathField::dragMoveEvent(QDragMoveEvent* event) {
    if (!draggedFilesTaken_) {
        QLineEdit::dragMoveEvent(event);
    } else if (*draggedFilesTaken_) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

// Dropped files replace the paths rather than being inserted into the text as addresses.
void PathField::dropEvent(QDropEvent* event) {
    const auto outcome = outcomeOf(event->mimeData());
    if (!outcome) {
        QLineEdit::dropEvent(event);
        return;
    }
    if (!outcome->taken()) {
        event->ignore();
        showRefusal(outcome->refusal);
        return;
    }
    if (takeDrop_) {
        takeDrop_(*outcome);
    }
    event->acceptProposedAction();
}

}  // namespace quorrel
