#pragma once

#include <array>
#include <optional>
#include <string>

#include "AccessibleControl.h"
#include "BalloonTip.h"
#include "CheckListSkillList.h"
#include "DroppedFiles.h"
#include "Form1Layout.h"
#include "Handles.h"
#include "PathFields.h"
#include "Win32Api.h"
#include "runtime/filetable/FileTable.h"
#include "skills/LoadFields.h"
#include "skills/LoadHost.h"

namespace quorrel::win32 {

// The program's one window on the Windows API: the skill list, the data and index file paths and
// the "Get" button that loads the list from those files. It is the load action's host: the action
// fills its list, reads its path fields and keeps its working fields here for the window's whole
// life. Geometry and font follow the DPI of the monitor the window is on and the system's
// settings. Files dropped on a path field fill the fields; screen readers hear every control's
// name and role, and each skill with its check mark.
class Form1 : public LoadHost {
  public:
    // Creates the window hidden, laid out for its monitor's DPI and centred on that monitor's work
    // area. Throws std::runtime_error when Windows refuses to create it. Common controls must have
    // been initialised, and COM too for screen readers to hear the window.
    Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    ~Form1() override;

    // Shows the window with the focus in the list.
    void show();

    HWND window() const noexcept { return window_.get(); }

    SkillList& lstSkills() override { return skillList_; }
    std::string txtPathText() const override;
    void txtPathTextInto(std::string& text) const override;
    std::string txtPathIdxText() const override;
    LoadFields& loadFields() override { return fields_; }

    // Repaints what needs it and answers what other programs send the window (the system asking
    // whether it answers, a screen reader), so that a long load does not get it taken for hung.
    // Input waits in the queue until the load is over.
    void whileLoading() override;

    // Rebuilds the list from the files named in the path fields. A failure is shown to the user
    // and leaves the window as the load left it.
    void cmdGet_Click();

  protected:
    // Tells the user why a load failed, in a standard error box owned by the window. Tests
    // replace it so that nothing waits for a person.
    virtual void showFailure(const std::wstring& description);

  private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    static LRESULT CALLBACK controlProcedure(HWND control, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR id, DWORD_PTR form);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> handleControlMessage(form1::ControlId id, UINT message, WPARAM wParam,
                                                LPARAM lParam);
    void reportEscapedException() noexcept;

    static std::array<HWND, form1::kControls.size()> createControls(HWND window);
    void layOut(UINT dpi);
    void applyFonts(UINT dpi);
    void loadIcons(UINT dpi);
    void fitClientArea(UINT dpi);
    void centreOnMonitor();
    void onDpiChanged(UINT dpi, const RECT& suggested);
    void onActivate(bool active);
    void onCommand(WORD id, WORD code, HWND from);
    LRESULT onNotify(NMHDR& header);
    void onSystemChange(UINT message, WPARAM wParam, LPARAM lParam);
    void onDrop(form1::ControlId field, HDROP drop);
    LRESULT onGetObject(form1::ControlId id, WPARAM wParam, LPARAM lParam);
    LRESULT onListPress(UINT message, WPARAM wParam, LPARAM lParam);
    HWND control(form1::ControlId id) const;

    // Declared before the windows, so that the windows that use them go first.
    FontHandle font_;
    FontHandle fieldFont_;
    IconHandle bigIcon_;
    IconHandle smallIcon_;
    // The hidden owner keeps the window out of the taskbar with an ordinary caption.
    WindowHandle owner_;
    WindowHandle window_;
    // Children of window_, which destroys them, by form1::ControlId.
    std::array<HWND, form1::kControls.size()> controls_;
    HWND lastFocus_;

    CheckListSkillList skillList_;
    PathFields pathFields_;
    BalloonTip dropRefusal_;
    // What screen readers are told of each control, by form1::ControlId; made when first asked.
    std::array<Microsoft::WRL::ComPtr<AccessibleControl>, form1::kControls.size()> accessibles_;
    LoadFields fields_;
    FileTable files_;
    bool loading_ = false;
};

}  // namespace quorrel::win32
