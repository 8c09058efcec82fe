#include "PathField.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <optional>

namespace quorrel {
namespace {

// The local file a drag carries as its first item, if it carries one.
std::optional<QString> droppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty() ||
        !data->urls().front().isLocalFile()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(data->urls().front().toLocalFile());
}

}  // namespace

PathField::PathField(const QString& fileName, const QString& path, QWidget* parent)
    : QLineEdit(path, parent), fileName_(fileName) {
    setAccessibleName(fileName_);
    describePath(path);
    connect(this, &QLineEdit::textChanged, this, &PathField::describePath);
}

void PathField::describePath(const QString& path) {
    setAccessibleDescription(path);
    setToolTip(fileName_ + QLatin1Char('\n') + path);
}

void PathField::dragEnterEvent(QDragEnterEvent* event) {
    if (droppedFile(event->mimeData())) {
        event->acceptProposedAction();
        return;
    }
    QLineEdit::dragEnterEvent(event);
}

void PathField::dragMoveEvent(QDragMoveEvent* event) {
    if (droppedFile(event->mimeData())) {
        event->acceptProposedAction();
        return;
    }
    QLineEdit::dragMoveEvent(event);
}

// A dropped file replaces the path rather than being inserted into it as text.
void PathField::dropEvent(QDropEvent* event) {
    if (const auto file = droppedFile(event->mimeData())) {
        setText(*file);
        setCursorPosition(0);
        event->acceptProposedAction();
        return;
    }
    QLineEdit::dropEvent(event);
}

}  // namespace quorrel
