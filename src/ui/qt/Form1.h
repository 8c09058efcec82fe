#pragma once

#include <QWidget>
#include <optional>

#include "DroppedPaths.h"
#include "Form1Layout.h"
#include "ListViewSkillList.h"
#include "PathField.h"
#include "SkillListModel.h"
#include "SkillListView.h"
#include "runtime/filetable/FileTable.h"
#include "skills/LoadFields.h"
#include "skills/LoadHost.h"

class QPushButton;

namespace quorrel {

// The program's one window: the skill list, the data and index file paths and the "Get" button
// that loads the list from those files. It is the load action's host: the action fills its list,
// reads its path fields and keeps its working fields here for the window's whole life.
class Form1 : public QWidget, public LoadHost {
    Q_OBJECT

  public:
    explicit Form1(QWidget* parent = nullptr);

    SkillList& lstSkills() override { return skillList_; }
    std::string txtPathText() const override;
    void txtPathTextInto(std::string& text) const override;
    std::string txtPathIdxText() const override;
    LoadFields& loadFields() override { return fields_; }

    // Repaints the window and answers the window system during a long load, holding back the
    // user's input until the load is done.
    void whileLoading() override;

  public slots:
    // Rebuilds the list from the files named in the path fields. A failure is shown to the user
    // and leaves the window as the load left it.
    void cmdGet_Click();

  protected:
    // Tells the user why a load failed, in a standard error box. Tests replace it so that
    // nothing waits for a person.
    virtual void showFailure(const QString& description);

    // Ctrl+C in the list copies the current skill's name; Enter on the focused "Get" presses it.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void placeControls();
    void orderTabStops();
    QWidget* control(form1::ControlId id) const;
    void placeWindow();
    std::optional<QString> runLoad();
    void takeDrop(const form1::DropOutcome& outcome);
    void copyCurrentName() const;

    // The controls and the list's model belong to the window, which deletes them.
    SkillListView* const lstSkills_;
    PathField* const txtPath_;
    PathField* const txtPathIdx_;
    QPushButton* const cmdGet_;
    SkillListModel* const skillModel_;

    ListViewSkillList skillList_;
    LoadFields fields_;
    FileTable files_;
    bool loading_ = false;
};

}  // namespace quorrel
