#include "AccessibleControl.h"

#include <string_view>
#include <utility>

#include "CheckListSkillList.h"

namespace quorrel::win32 {
namespace {

constexpr int kSelf = -1;
constexpr int kNoSuchChild = -2;

HRESULT textResult(std::wstring_view text, BSTR* result) {
    if (result == nullptr) {
        return E_INVALIDARG;
    }
    *result = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *result != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT numberResult(LONG number, VARIANT* result) {
    if (result == nullptr) {
        return E_INVALIDARG;
    }
    VariantInit(result);
    result->vt = VT_I4;
    result->lVal = number;
    return S_OK;
}

}  // namespace

// A COM object counts its own references and deletes itself in Release(). Without the system's
// description of the control there is nothing to wrap, and the control answers for itself.
Microsoft::WRL::ComPtr<AccessibleControl> AccessibleControl::create(HWND control, std::wstring name,
                                                                    LONG role,
                                                                    CheckListSkillList* items) {
    Microsoft::WRL::ComPtr<AccessibleControl> created;
    created.Attach(new AccessibleControl(control, std::move(name), role, items));
    if (created->system_ == nullptr) {
        created.Reset();
    }
    return created;
}

AccessibleControl::AccessibleControl(HWND control, std::wstring name, LONG role,
                                     CheckListSkillList* items)
    : control_(control), name_(std::move(name)), role_(role), items_(items) {
    CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                              reinterpret_cast<void**>(system_.GetAddressOf()));
}

LRESULT AccessibleControl::answer(WPARAM wParam) {
    return LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(this));
}

void AccessibleControl::disconnect() noexcept {
    control_ = nullptr;
    items_ = nullptr;
    system_.Reset();
}

int AccessibleControl::rowOf(const VARIANT& child) const {
    if (child.vt != VT_I4) {
        return kNoSuchChild;
    }
    if (child.lVal == CHILDID_SELF) {
        return kSelf;
    }
    if (items_ != nullptr && child.lVal >= 1 && child.lVal <= items_->shownCount()) {
        return static_cast<int>(child.lVal) - 1;
    }
    return kNoSuchChild;
}

template <typename Call>
HRESULT AccessibleControl::forControlOnly(const VARIANT& child, Call call) {
    if (system_ == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    return rowOf(child) == kSelf ? call(*system_.Get()) : DISP_E_MEMBERNOTFOUND;
}

template <typename Call>
HRESULT AccessibleControl::forKnownChild(const VARIANT& child, Call call) {
    if (system_ == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    const int row = rowOf(child);
    return row == kNoSuchChild ? E_INVALIDARG : call(row);
}

long AccessibleControl::itemState(int row) const {
    const auto shown = static_cast<UINT>(SendMessageW(
        control_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_FOCUSED | LVIS_SELECTED));
    long state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if ((shown & LVIS_SELECTED) != 0) {
        state |= STATE_SYSTEM_SELECTED;
    }
    if ((shown & LVIS_FOCUSED) != 0 && GetFocus() == control_) {
        state |= STATE_SYSTEM_FOCUSED;
    }
    if (items_->isChecked(row)) {
        state |= STATE_SYSTEM_CHECKED;
    }
    return state;
}

HRESULT AccessibleControl::QueryInterface(REFIID id, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG AccessibleControl::AddRef() {
    return ++references_;
}

ULONG AccessibleControl::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT AccessibleControl::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_INVALIDARG;
    }
    *count = 0;
    return S_OK;
}

HRESULT AccessibleControl::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}

HRESULT AccessibleControl::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT AccessibleControl::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                  UINT*) {
    return E_NOTIMPL;
}

// Below, every call first checks that the control is still there, then answers for an item of
// the list itself, and leaves the rest to the system's description of the control.

HRESULT AccessibleControl::get_accParent(IDispatch** parent) {
    if (system_ == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    return system_->get_accParent(parent);
}

HRESULT AccessibleControl::get_accChildCount(long* count) {
    if (system_ == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    if (items_ != nullptr && count != nullptr) {
        *count = items_->shownCount();
        return S_OK;
    }
    return system_->get_accChildCount(count);
}

HRESULT AccessibleControl::get_accChild(VARIANT child, IDispatch** object) {
    if (system_ == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    if (object == nullptr) {
        return E_INVALIDARG;
    }
    *object = nullptr;
    // Items are simple elements: the list answers for them by their child ids.
    const int row = rowOf(child);
    return row >= 0 ? S_FALSE : E_INVALIDARG;
}

HRESULT AccessibleControl::get_accName(VARIANT child, BSTR* name) {
    return forKnownChild(child, [&](int row) {
        return textResult(row == kSelf ? name_ : items_->shownText(row), name);
    });
}

HRESULT AccessibleControl::get_accValue(VARIANT child, BSTR* value) {
    return forControlOnly(child,
                          [&](IAccessible& system) { return system.get_accValue(child, value); });
}

HRESULT AccessibleControl::get_accDescription(VARIANT child, BSTR* description) {
    return forControlOnly(
        child, [&](IAccessible& system) { return system.get_accDescription(child, description); });
}

// Each skill is a check box, so that a screen reader says "not checked" of one without a mark
// rather than nothing.
HRESULT AccessibleControl::get_accRole(VARIANT child, VARIANT* role) {
    return forKnownChild(child, [&](int row) {
        return numberResult(row == kSelf ? role_ : ROLE_SYSTEM_CHECKBUTTON, role);
    });
}

HRESULT AccessibleControl::get_accState(VARIANT child, VARIANT* state) {
    return forKnownChild(child, [&](int row) {
        return row == kSelf ? system_->get_accState(child, state)
                            : numberResult(itemState(row), state);
    });
}

HRESULT AccessibleControl::get_accHelp(VARIANT child, BSTR* help) {
    return forControlOnly(child,
                          [&](IAccessible& system) { return system.get_accHelp(child, help); });
}

HRESULT AccessibleControl::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    return forControlOnly(
        child, [&](IAccessible& system) { return system.get_accHelpTopic(file, child, topic); });
}

HRESULT AccessibleControl::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return forControlOnly(child, [&](IAccessible& system) {
        return system.get_accKeyboardShortcut(child, shortcut);
    });
}

HRESULT AccessibleControl::get_accFocus(VARIANT* focus) {
    if (system_ == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    if (items_ != nullptr && GetFocus() == control_) {
        if (const int row = items_->currentRow(); row >= 0) {
            return numberResult(row + 1, focus);
        }
    }
    return system_->get_accFocus(focus);
}

HRESULT AccessibleControl::get_accSelection(VARIANT* selection) {
    if (system_ == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    if (items_ == nullptr) {
        return system_->get_accSelection(selection);
    }
    const auto row = static_cast<int>(
        SendMessageW(control_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0) {
        VariantInit(selection);
        return S_FALSE;
    }
    return numberResult(row + 1, selection);
}

// A check box's default action, named as Windows names it, sets or clears its mark.
HRESULT AccessibleControl::get_accDefaultAction(VARIANT child, BSTR* action) {
    return forKnownChild(child, [&](int row) {
        if (row == kSelf) {
            return system_->get_accDefaultAction(child, action);
        }
        return textResult(items_->isChecked(row) ? L"Uncheck" : L"Check", action);
    });
}

HRESULT AccessibleControl::accSelect(long flags, VARIANT child) {
    return forControlOnly(child,
                          [&](IAccessible& system) { return system.accSelect(flags, child); });
}

HRESULT AccessibleControl::accLocation(long* left, long* top, long* width, long* height,
                                       VARIANT child) {
    if (system_ == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    const int row = rowOf(child);
    if (row == kSelf) {
        return system_->accLocation(left, top, width, height, child);
    }
    if (row == kNoSuchChild || left == nullptr || top == nullptr || width == nullptr ||
        height == nullptr) {
        return E_INVALIDARG;
    }
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    if (!SendMessageW(control_, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(&bounds))) {
        return S_FALSE;
    }
    MapWindowPoints(control_, nullptr, reinterpret_cast<POINT*>(&bounds), 2);
    *left = bounds.left;
    *top = bounds.top;
    *width = bounds.right - bounds.left;
    *height = bounds.bottom - bounds.top;
    return S_OK;
}

HRESULT AccessibleControl::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (system_ == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    const int row = rowOf(start);
    if (items_ == nullptr || row == kNoSuchChild) {
        return row == kSelf ? system_->accNavigate(direction, start, end) : E_INVALIDARG;
    }
    const int count = items_->shownCount();
    int to = kNoSuchChild;
    if (row == kSelf && direction == NAVDIR_FIRSTCHILD) {
        to = 0;
    } else if (row == kSelf && direction == NAVDIR_LASTCHILD) {
        to = count - 1;
    } else if (row == kSelf) {
        return system_->accNavigate(direction, start, end);
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) {
        to = row + 1;
    } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) {
        to = row - 1;
    }
    if (to < 0 || to >= count) {
        VariantInit(end);
        return S_FALSE;
    }
    return numberResult(to + 1, end);
}

HRESULT AccessibleControl::accHitTest(long left, long top, VARIANT* child) {
    if (system_ == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    if (items_ != nullptr) {
        LVHITTESTINFO hit{};
        hit.pt = {left, top};
        ScreenToClient(control_, &hit.pt);
        const auto row = static_cast<int>(
            SendMessageW(control_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (row >= 0 && row < items_->shownCount()) {
            return numberResult(row + 1, child);
        }
    }
    return system_->accHitTest(left, top, child);
}

HRESULT AccessibleControl::accDoDefaultAction(VARIANT child) {
    return forKnownChild(child, [&](int row) {
        if (row == kSelf) {
            return system_->accDoDefaultAction(child);
        }
        items_->toggle(row);
        return S_OK;
    });
}

HRESULT AccessibleControl::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}

HRESULT AccessibleControl::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}

}  // namespace quorrel::win32
