#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ControlIds.h"
#include "ExpectFailure.h"
#include "ExplorerDrop.h"
#include "Form1.h"
#include "Form1Layout.h"
#include "MessageLoop.h"
#include "TableBytes.h"
#include "TableOnDisk.h"
#include "TempDir.h"
#include "WindowText.h"
#include "runtime/base/Failure.h"
#include "skills/SkillFileLayout.h"

// After windows.h: its types first.
#include <oleacc.h>
#include <wrl/client.h>

namespace quorrel::form1 {

void PrintTo(const Rect& rect, std::ostream* out) {
    *out << rect.left << "," << rect.top << " " << rect.width << "x" << rect.height;
}

}  // namespace quorrel::form1

namespace quorrel::win32 {
namespace {

// The window with its failure message captured instead of shown in a box that waits for a person.
class RecordingForm1 final : public Form1 {
  public:
    std::vector<std::wstring> failuresShown;

  protected:
    void showFailure(const std::wstring& description) override {
        failuresShown.push_back(description);
    }
};

struct ShownItem {
    std::wstring text;
    bool checked = false;

    bool operator==(const ShownItem&) const = default;
    friend void PrintTo(const ShownItem& item, std::ostream* out) {
        *out << (item.checked ? "[x] " : "[ ] ") << utf8FromWide(item.text);
    }
};

class Form1Test : public ::testing::Test {
  protected:
    HWND control(form1::ControlId id) { return GetDlgItem(window.window(), controlIdOf(id)); }
    HWND lstSkills() { return control(form1::ControlId::lstSkills); }
    HWND cmdGet() { return control(form1::ControlId::cmdGet); }

    // Where a window stands within the form's client area.
    form1::Rect placeOf(HWND child) {
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, window.window(), reinterpret_cast<POINT*>(&rect), 2);
        return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    }

    std::vector<ShownItem> shownItems() {
        std::vector<ShownItem> items;
        const auto count = static_cast<int>(SendMessageW(lstSkills(), LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row) {
            wchar_t text[256] = {};
            LVITEMW item{};
            item.pszText = text;
            item.cchTextMax = 256;
            SendMessageW(lstSkills(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(&item));
            const auto state = static_cast<UINT>(SendMessageW(
                lstSkills(), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
            items.push_back({text, (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2)});
        }
        return items;
    }

    int currentRow() {
        return static_cast<int>(
            SendMessageW(lstSkills(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    }

    void typeFilesOf(const std::vector<SkillRecord>& skills, const std::string& stem) {
        const testing::TablePaths paths = testing::writeTable(dir, gameClientLayout(skills), stem);
        typePaths(paths.data, paths.index);
    }

    void typePaths(const std::string& dataPath, const std::string& indexPath) {
        SetWindowTextW(control(form1::ControlId::txtPath), wideFromUtf8(dataPath).c_str());
        SetWindowTextW(control(form1::ControlId::txtPathIdx), wideFromUtf8(indexPath).c_str());
    }

    void clickGet() { SendMessageW(cmdGet(), BM_CLICK, 0, 0); }

    // Hands every queued message to the window as the program's message loop does.
    void handleQueuedMessages() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message != WM_QUIT) {
                dispatchMessage(window.window(), message);
            }
        }
    }

    void pressKey(WPARAM key) {
        const HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        PostMessageW(focus, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
        handleQueuedMessages();
    }

    // A click on the item's check box, found by the list's own hit test.
    void clickCheckBoxOf(int row) {
        RECT bounds{};
        bounds.left = LVIR_BOUNDS;
        SendMessageW(lstSkills(), LVM_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&bounds));
        LVHITTESTINFO hit{};
        hit.pt.y = (bounds.top + bounds.bottom) / 2;
        for (hit.pt.x = bounds.left; hit.pt.x < bounds.left + 40; ++hit.pt.x) {
            SendMessageW(lstSkills(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if ((hit.flags & LVHT_ONITEMSTATEICON) != 0 && hit.iItem == row) {
                const LPARAM at = MAKELPARAM(hit.pt.x, hit.pt.y);
                PostMessageW(lstSkills(), WM_LBUTTONDOWN, MK_LBUTTON, at);
                PostMessageW(lstSkills(), WM_LBUTTONUP, 0, at);
                handleQueuedMessages();
                return;
            }
        }
        ADD_FAILURE() << "no check box in item " << row;
    }

    // Drops `paths` on `field` as Explorer does, with the drop's memory handed to the window.
    void dropOn(form1::ControlId field, const std::vector<std::string>& paths) {
        std::vector<std::wstring> files;
        for (const std::string& path : paths) {
            files.push_back(wideFromUtf8(path));
        }
        SendMessageW(control(field), WM_DROPFILES, reinterpret_cast<WPARAM>(explorerDrop(files)),
                     0);
    }

    void showActive() {
        window.show();
        SetForegroundWindow(window.window());
        handleQueuedMessages();
    }

    testing::TempDir dir;
    RecordingForm1 window;
};

// The third name holds a letter outside ASCII, stored in the file as the 8-bit byte 0xE7.
const std::vector<SkillRecord> kThreeSkills = {
    {"Dowsing", 1}, {"Gilding", 0}, {"Fa\347ade Carving", 255}};
const std::vector<ShownItem> kThreeItems = {
    {L"Dowsing", true}, {L"Gilding", false}, {L"Fa\u00E7ade Carving", true}};

class Form1GeometryTest : public Form1Test, public ::testing::WithParamInterface<UINT> {};

// At 96 dpi the design's pixels exactly; at a higher DPI the same scaled, as Windows asks a
// per-monitor aware window to do when it moves to such a monitor.
TEST_P(Form1GeometryTest, ClientAreaAndControlsFollowTheDesignAtTheWindowsDpi) {
    const UINT dpi = GetParam();
    if (dpi != GetDpiForWindow(window.window())) {
        RECT suggested{40, 30, 40 + 400, 30 + 800};
        SendMessageW(window.window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }
    const auto scaled = [dpi](int pixels) { return MulDiv(pixels, static_cast<int>(dpi), 96); };
    RECT client{};
    GetClientRect(window.window(), &client);
    EXPECT_EQ(client.right, scaled(209));
    EXPECT_EQ(client.bottom, scaled(409));

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(
        SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi));
    for (const form1::ControlPlace& place : form1::kControls) {
        const form1::Rect pixels = place.pixels();
        const form1::Rect expected{scaled(pixels.left), scaled(pixels.top), scaled(pixels.width),
                                   scaled(pixels.height)};
        EXPECT_EQ(placeOf(control(place.id)), expected) << place.name;
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control(place.id), WM_GETFONT, 0, 0)),
                   sizeof(font), &font);
        EXPECT_EQ(font.lfHeight, metrics.lfMessageFont.lfHeight) << place.name;
        EXPECT_STREQ(font.lfFaceName, metrics.lfMessageFont.lfFaceName) << place.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, Form1GeometryTest, ::testing::Values(96u, 144u));

TEST_F(Form1Test, IsAFixedCentredWindowWithACloseBoxAndNoTaskbarEntry) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window.window(), GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window.window(), GWL_EXSTYLE));
    EXPECT_EQ(windowText(window.window()), L"Quorrel by Ketterby");
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
    // An owned window without WS_EX_APPWINDOW gets no taskbar button.
    const HWND owner = GetWindow(window.window(), GW_OWNER);
    EXPECT_NE(owner, nullptr);
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    EXPECT_NE(SendMessageW(window.window(), WM_GETICON, ICON_SMALL, 0), 0);

    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window.window(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT outer{};
    GetWindowRect(window.window(), &outer);
    EXPECT_LE(std::abs((outer.left + outer.right) - (monitor.rcWork.left + monitor.rcWork.right)),
              1);
    EXPECT_LE(std::abs((outer.top + outer.bottom) - (monitor.rcWork.top + monitor.rcWork.bottom)),
              1);
}

TEST_F(Form1Test, StartsWithTheDefaultsAndTheFocusInTheListThenTabsInDesignOrder) {
    EXPECT_EQ(windowText(control(form1::ControlId::txtPath)),
              L"c:\\program files\\ultima online\\skills.mul");
    EXPECT_EQ(windowText(control(form1::ControlId::txtPathIdx)),
              L"c:\\program files\\ultima online\\skills.idx");
    EXPECT_EQ(windowText(cmdGet()), L"Get");
    EXPECT_EQ(GetWindowLongPtrW(cmdGet(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_TRUE(shownItems().empty());
    EXPECT_EQ(currentRow(), -1);

    showActive();
    EXPECT_EQ(GetFocus(), lstSkills());
    for (const form1::ControlId next :
         {form1::ControlId::cmdGet, form1::ControlId::txtPath, form1::ControlId::txtPathIdx,
          form1::ControlId::lstSkills}) {
        pressKey(VK_TAB);
        EXPECT_EQ(GetFocus(), control(next)) << form1::placeOf(next).name;
    }
}

TEST_F(Form1Test, GetShowsTheSkillsOfTheEditedPathsWithTheFirstCurrent) {
    typeFilesOf(kThreeSkills, "three");
    clickGet();
    EXPECT_EQ(shownItems(), kThreeItems);
    EXPECT_EQ(currentRow(), 0);
    EXPECT_TRUE(window.failuresShown.empty());

    // Paths edited after a load are the ones the next load reads.
    typeFilesOf({{"Tinkering", 0}}, "one");
    clickGet();
    EXPECT_EQ(shownItems(), (std::vector<ShownItem>{{L"Tinkering", false}}));
}

TEST_F(Form1Test, SecondGetRestoresTheMarksThatSpaceAndAClickToggled) {
    typeFilesOf(kThreeSkills, "three");
    clickGet();
    showActive();
    pressKey(VK_SPACE);  // clears the first item's mark
    pressKey(VK_DOWN);
    clickCheckBoxOf(1);  // sets the second item's mark
    ASSERT_EQ(shownItems(),
              (std::vector<ShownItem>{
                  {kThreeItems[0].text, false}, {kThreeItems[1].text, true}, kThreeItems[2]}));
    ASSERT_EQ(currentRow(), 1);

    clickGet();
    EXPECT_EQ(shownItems(), kThreeItems);
    EXPECT_EQ(currentRow(), 0);
}

TEST_F(Form1Test, EnterAndEscapeDoNothingButSpaceOnTheButtonPressesIt) {
    typeFilesOf(kThreeSkills, "three");
    showActive();
    for (const form1::ControlId field : {form1::ControlId::txtPath, form1::ControlId::txtPathIdx}) {
        SetFocus(control(field));
        pressKey(VK_RETURN);
        pressKey(VK_ESCAPE);
    }
    EXPECT_TRUE(shownItems().empty());
    EXPECT_TRUE(IsWindowVisible(window.window()));

    SetFocus(cmdGet());
    pressKey(VK_SPACE);
    EXPECT_EQ(shownItems(), kThreeItems);
}

TEST_F(Form1Test, FailingGetShowsItsMessageAndKeepsTheItemsAddedBeforeIt) {
    const SkillFiles good = gameClientLayout(kThreeSkills);
    // Dowsing and Gilding (flag, name and zero: 9 bytes each), then an offset that cannot be
    // turned into a position.
    const std::vector<IndexRecord> records = {{0, 9, 0}, {9, 9, 0}, {2147483647, 4, 0}};
    typePaths(dir.write("bad.mul", good.data), dir.write("bad.idx", indexBytes(records)));
    clickGet();

    ASSERT_EQ(window.failuresShown.size(), 1u);
    EXPECT_NE(window.failuresShown[0].find(L"bad.idx"), std::wstring::npos)
        << utf8FromWide(window.failuresShown[0]);
    EXPECT_EQ(shownItems(), (std::vector<ShownItem>{kThreeItems[0], kThreeItems[1]}));
    EXPECT_TRUE(IsWindow(window.window()));
}

TEST_F(Form1Test, ClosingTheWindowEndsTheMessageLoop) {
    window.show();
    PostMessageW(window.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(runMessageLoop(window.window()), 0);
}

}  // namespace
}  // namespace quorrel::win32

namespace quorrel::win32 {
namespace {

// The list's items wait in the window until a load ends (ListIndex or a failure); the operations
// keep the list's rules meanwhile.
TEST_F(Form1Test, TheListsOperationsKeepTheirRulesAndFailuresOnItsOwnItems) {
    SkillList& list = window.lstSkills();
    list.AddItem("One");
    list.AddItem(std::string("Tw\0o", 4));
    EXPECT_EQ(list.NewIndex(), 1);
    list.Selected(1, true);
    // The item count the failures go by is the window's, not the list-view's, which has none yet.
    EXPECT_FAILURE(list.Selected(2, true), FailureKind::ListOperation,
                   "cannot set the check mark of item 2: the list has 2 items");
    EXPECT_FAILURE(list.ListIndex(2), FailureKind::InvalidListIndex,
                   "cannot make item 2 current: the list has 2 items");
    list.ListIndex(1);
    EXPECT_EQ(shownItems(), (std::vector<ShownItem>{{L"One", false}, {L"Tw", true}}));
    EXPECT_EQ(currentRow(), 1);

    list.Clear();
    EXPECT_TRUE(shownItems().empty());
    EXPECT_EQ(currentRow(), -1);
    EXPECT_EQ(list.NewIndex(), -1);
    EXPECT_THROW(list.ListIndex(0), Failure);
}

TEST_F(Form1Test, TypingANameMakesItCurrentAndCtrlCCopiesIt) {
    typeFilesOf(kThreeSkills, "three");
    clickGet();
    showActive();
    pressKey('F');
    ASSERT_EQ(currentRow(), 2);

    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    pressKey('C');
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);

    ASSERT_TRUE(OpenClipboard(window.window()));
    const auto* copied = static_cast<const wchar_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
    const std::wstring text = copied != nullptr ? copied : L"(nothing)";
    GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
    CloseClipboard();
    EXPECT_EQ(text, kThreeItems[2].text);
}

// What the field shows: the position of its first and last characters within it.
struct FieldView {
    bool startShown;
    bool endShown;
};

FieldView viewOf(HWND field) {
    RECT inside{};
    GetClientRect(field, &inside);
    const auto xOf = [field](int character) {
        return static_cast<short>(
            LOWORD(SendMessageW(field, EM_POSFROMCHAR, static_cast<WPARAM>(character), 0)));
    };
    const int last = GetWindowTextLengthW(field) - 1;
    return {xOf(0) >= 0, xOf(last) >= 0 && xOf(last) < inside.right};
}

// The tooltip windows the window owns.
std::vector<HWND> tooltipsOf(HWND form) {
    struct Search {
        HWND form;
        std::vector<HWND> found;
    } search{form, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND candidate, LPARAM searching) -> BOOL {
            auto& wanted = *reinterpret_cast<Search*>(searching);
            wchar_t className[64] = {};
            GetClassNameW(candidate, className, 64);
            if (GetWindow(candidate, GW_OWNER) == wanted.form &&
                std::wstring(className) == TOOLTIPS_CLASSW) {
                wanted.found.push_back(candidate);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The balloon tip the window shows, if one is showing.
std::wstring shownBalloonText(HWND form) {
    for (const HWND tooltip : tooltipsOf(form)) {
        if (IsWindowVisible(tooltip)) {
            return windowText(tooltip);
        }
    }
    return {};
}

// What the tooltip of a control says when the mouse rests on it.
std::wstring tooltipOf(HWND form, HWND control) {
    for (const HWND tooltip : tooltipsOf(form)) {
        wchar_t text[512] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = form;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = text;
        SendMessageW(tooltip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
        if (text[0] != L'\0') {
            return text;
        }
    }
    return {};
}

TEST_F(Form1Test, PathFieldsShowTheirEndUnlessFocusedAndNameTheirFileWhenEmpty) {
    showActive();
    for (const auto& [field, hint] :
         {std::pair{form1::ControlId::txtPath, form1::kDataPathFieldName},
          std::pair{form1::ControlId::txtPathIdx, form1::kIndexPathFieldName}}) {
        const HWND edit = control(field);
        const FieldView atStart = viewOf(edit);
        EXPECT_FALSE(atStart.startShown) << hint;
        EXPECT_TRUE(atStart.endShown) << hint;

        wchar_t cue[64] = {};
        SendMessageW(edit, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 64);
        EXPECT_EQ(utf8FromWide(cue), hint);
        EXPECT_EQ(tooltipOf(window.window(), edit), wideFromUtf8(hint) + L"\n" + windowText(edit));
    }

    // Focused, the caret goes where it is put; the end comes back into view when the focus
    // leaves, and the caret with the focus.
    const HWND txtPath = control(form1::ControlId::txtPath);
    SetFocus(txtPath);
    SendMessageW(txtPath, EM_SETSEL, 0, 0);
    SendMessageW(txtPath, EM_SCROLLCARET, 0, 0);
    EXPECT_TRUE(viewOf(txtPath).startShown);
    SetFocus(lstSkills());
    EXPECT_TRUE(viewOf(txtPath).endShown);
    SetFocus(txtPath);
    EXPECT_TRUE(viewOf(txtPath).startShown);
    EXPECT_EQ(windowText(txtPath), L"c:\\program files\\ultima online\\skills.mul");
}

TEST_F(Form1Test, AFolderDroppedOnAFieldFillsBothAndWhatCannotBeUsedIsRefusedAtTheField) {
    const std::filesystem::path game = dir.path() / "game";
    std::filesystem::create_directory(game);
    dir.write("game/skills.mul", {});
    dir.write("game/skills.idx", {});
    std::filesystem::create_directory(dir.path() / "empty");

    dropOn(form1::ControlId::txtPathIdx, {game.string()});
    EXPECT_EQ(windowText(control(form1::ControlId::txtPath)),
              (game / "skills.mul").make_preferred().wstring());
    EXPECT_EQ(windowText(control(form1::ControlId::txtPathIdx)),
              (game / "skills.idx").make_preferred().wstring());
    EXPECT_TRUE(viewOf(control(form1::ControlId::txtPath)).endShown);
    EXPECT_EQ(shownBalloonText(window.window()), L"");

    dropOn(form1::ControlId::txtPath, {(dir.path() / "empty").string()});
    EXPECT_EQ(windowText(control(form1::ControlId::txtPath)),
              (game / "skills.mul").make_preferred().wstring());
    EXPECT_NE(shownBalloonText(window.window()).find(L"holds no skills.mul and skills.idx"),
              std::wstring::npos);
}

struct Heard {
    std::wstring name;
    LONG role = 0;
    LONG state = 0;

    bool operator==(const Heard&) const = default;
    friend void PrintTo(const Heard& heard, std::ostream* out) {
        *out << utf8FromWide(heard.name) << " (role " << heard.role << ", state 0x" << std::hex
             << heard.state << std::dec << ")";
    }
};

Heard hear(IAccessible& accessible, LONG child) {
    VARIANT id{};
    id.vt = VT_I4;
    id.lVal = child;
    Heard heard;
    BSTR name = nullptr;
    if (accessible.get_accName(id, &name) == S_OK) {
        heard.name = name;
    }
    SysFreeString(name);
    VARIANT role{};
    VARIANT state{};
    accessible.get_accRole(id, &role);
    accessible.get_accState(id, &state);
    heard.role = role.vt == VT_I4 ? role.lVal : -1;
    // Of the states, only whether a skill is checked is asked here.
    heard.state = state.vt == VT_I4 ? state.lVal & STATE_SYSTEM_CHECKED : -1;
    return heard;
}

TEST_F(Form1Test, ScreenReadersHearEveryControlsNameAndRoleAndEachSkillsCheckMark) {
    typeFilesOf(kThreeSkills, "three");
    clickGet();
    const std::vector<std::pair<form1::ControlId, Heard>> expected = {
        {form1::ControlId::lstSkills, {L"Skills", ROLE_SYSTEM_LIST, 0}},
        {form1::ControlId::cmdGet, {L"Get", ROLE_SYSTEM_PUSHBUTTON, 0}},
        {form1::ControlId::txtPath, {L"Skill data file (skills.mul)", ROLE_SYSTEM_TEXT, 0}},
        {form1::ControlId::txtPathIdx, {L"Skill index file (skills.idx)", ROLE_SYSTEM_TEXT, 0}},
    };
    for (const auto& [id, heard] : expected) {
        Microsoft::WRL::ComPtr<IAccessible> accessible;
        ASSERT_EQ(AccessibleObjectFromWindow(control(id), static_cast<DWORD>(OBJID_CLIENT),
                                             __uuidof(IAccessible),
                                             reinterpret_cast<void**>(accessible.GetAddressOf())),
                  S_OK);
        EXPECT_EQ(hear(*accessible.Get(), CHILDID_SELF), heard);
        if (id != form1::ControlId::lstSkills) {
            continue;
        }
        long children = 0;
        accessible->get_accChildCount(&children);
        ASSERT_EQ(children, 3);
        // Each skill is a check box, so that one without a mark is heard as "not checked"; its
        // default action sets or clears the mark.
        for (LONG child = 1; child <= children; ++child) {
            const ShownItem& item = kThreeItems[static_cast<std::size_t>(child - 1)];
            EXPECT_EQ(hear(*accessible.Get(), child),
                      (Heard{item.text, ROLE_SYSTEM_CHECKBUTTON,
                             item.checked ? STATE_SYSTEM_CHECKED : 0}));
        }
        VARIANT gilding{};
        gilding.vt = VT_I4;
        gilding.lVal = 2;
        EXPECT_EQ(accessible->accDoDefaultAction(gilding), S_OK);
        EXPECT_TRUE(shownItems()[1].checked);
    }
}

TEST_F(Form1Test, WhileLoadingRepaintsButLeavesInputForAfterTheLoad) {
    typeFilesOf(kThreeSkills, "three");
    window.show();
    handleQueuedMessages();
    PostMessageW(cmdGet(), WM_KEYDOWN, VK_SPACE, 1);
    PostMessageW(cmdGet(), WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0000001u));
    InvalidateRect(lstSkills(), nullptr, TRUE);

    window.whileLoading();
    EXPECT_FALSE(GetUpdateRect(lstSkills(), nullptr, FALSE));
    EXPECT_TRUE(shownItems().empty());

    handleQueuedMessages();
    EXPECT_EQ(shownItems(), kThreeItems);
}

LRESULT CALLBACK countSystemChanges(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR heard) {
    if (message == WM_SYSCOLORCHANGE || message == WM_SETTINGCHANGE) {
        ++*reinterpret_cast<int*>(heard);
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

TEST_F(Form1Test, PassesColourAndSettingChangesOnToEveryControl) {
    std::array<int, form1::kControls.size()> heard{};
    for (const form1::ControlPlace& place : form1::kControls) {
        SetWindowSubclass(control(place.id), countSystemChanges, 1,
                          reinterpret_cast<DWORD_PTR>(&heard[static_cast<std::size_t>(place.id)]));
    }
    SendMessageW(window.window(), WM_SYSCOLORCHANGE, 0, 0);
    SendMessageW(window.window(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    for (const form1::ControlPlace& place : form1::kControls) {
        EXPECT_EQ(heard[static_cast<std::size_t>(place.id)], 2) << place.name;
        RemoveWindowSubclass(control(place.id), countSystemChanges, 1);
    }
}

}  // namespace
}  // namespace quorrel::win32
