#pragma once

#include <QLineEdit>
#include <QString>
#include <functional>
#include <optional>

#include "DroppedPaths.h"
#include "Form1Layout.h"

class QMimeData;

namespace quorrel {

// A single-line field holding the path of one of the skill files. Its accessible name, and the
// hint it shows when empty, say which file it holds; its tooltip adds the whole path. While it does
// not have the focus it shows the end of a path too long for it, the file name, rather than the
// start; the text itself and editing are as in any line edit. Files dropped on it from a file
// manager go where the drop rule says, into this field or both; anything else dropped is refused
// with a word at the field.
class PathField final : public QLineEdit {
    Q_OBJECT

  public:
    using DropTaker = std::function<void(const form1::DropOutcome&)>;

    // `id` is the field's place in the window (txtPath or txtPathIdx); `fileName` says which
    // file it holds, for instance "Skill data file (skills.mul)".
    PathField(form1::ControlId id, const QString& fileName, const QString& path, QWidget* parent);

    // What is done with a drop that the rule takes: the window fills the fields it names. While
    // `held` says so (during a load), drops are refused.
    void takeDropsWith(DropTaker taker, std::function<bool()> held) {
        takeDrop_ = std::move(taker);
        dropsHeld_ = std::move(held);
    }

  protected:
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void describePath(const QString& path);
    void showEndUnlessFocused();
    // What dropping `dragged` here gives, or nothing when it carries no files, only text, which a
    // line edit takes as it always does.
    std::optional<form1::DropOutcome> outcomeOf(const QMimeData* dragged) const;
    void showRefusal(const std::string& refusal);

    form1::ControlId id_;
    QString fileName_;
    DropTaker takeDrop_;
    std::function<bool()> dropsHeld_;
    // Whether the files being dragged over the field would be taken; nothing when the drag
    // carries no files.
    std::optional<bool> draggedFilesTaken_;
};

}  // namespace quorrel
