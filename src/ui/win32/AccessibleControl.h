#pragma once

#include <atomic>
#include <string>

#include "Win32Api.h"

// After windows.h: its types first.
#include <oleacc.h>
#include <wrl/client.h>

namespace quorrel::win32 {

class CheckListSkillList;

// What a screen reader is told of one of the window's controls (Microsoft Active Accessibility):
// the control's name and role, and for the skill list each item as a check box with its text and
// check mark, which its default action sets or clears.
// The rest (where the control is, its parent, its value) comes from the system's own description
// of the control, which this one wraps. The window hands it out for WM_GETOBJECT and disconnects it
// before the control goes; a screen reader that still holds it then gets CO_E_OBJNOTCONNECTED.
class AccessibleControl final : public IAccessible {
  public:
    // `items`, when given, are the control's items, as for the skill list; they must stay until
    // disconnect(), and are toggled by an item's default action. Null when the system gives no
    // description of the control to wrap.
    static Microsoft::WRL::ComPtr<AccessibleControl> create(HWND control, std::wstring name,
                                                            LONG role, CheckListSkillList* items);

    // Answers WM_GETOBJECT for the control's client area.
    LRESULT answer(WPARAM wParam);

    // Tells nothing more about the control from here on.
    void disconnect() noexcept;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: not offered; screen readers use the IAccessible calls.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

  private:
    AccessibleControl(HWND control, std::wstring name, LONG role, CheckListSkillList* items);
    ~AccessibleControl() = default;

    // The item a child id names: -1 for the control itself, -2 for no such child.
    int rowOf(const VARIANT& child) const;
    // What the system's description says when asked about the control itself; items have
    // nothing of the kind.
    template <typename Call>
    HRESULT forControlOnly(const VARIANT& child, Call call);
    // Asks `call` with the row of the control itself or of one of its items; no such child is an
    // invalid argument.
    template <typename Call>
    HRESULT forKnownChild(const VARIANT& child, Call call);
    long itemState(int row) const;

    std::atomic<ULONG> references_{1};
    HWND control_;
    std::wstring name_;
    LONG role_;
    CheckListSkillList* items_;
    Microsoft::WRL::ComPtr<IAccessible> system_;
};

}  // namespace quorrel::win32
