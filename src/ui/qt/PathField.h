#pragma once

#include <QLineEdit>
#include <QString>

namespace quorrel {

// A single-line field holding the path of one of the skill files. Its accessible name says which
// file it holds, its tooltip adds the whole path, which the field is often too narrow to show,
// and a file dropped on it from a file manager puts that file's path in it.
class PathField final : public QLineEdit {
    Q_OBJECT

  public:
    // `fileName` says which file the field holds, for instance "Skill data file (skills.mul)".
    PathField(const QString& fileName, const QString& path, QWidget* parent);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void describePath(const QString& path);

    QString fileName_;
};

}  // namespace quorrel
