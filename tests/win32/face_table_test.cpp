// The window the face builds from the control and menu tables: every control with its
// class, style, text and place; the sliders' ranges; the menus and accelerators.

#include "face_harness.h"

#include "dialog/menu_table.h"
#include "win32/accessible_names.h"
#include "win32/menu_resources.h"
#include "win32/text_fit.h"

#include <oleacc.h>

#include <map>

namespace {

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

const std::map<ControlKind, std::wstring> classes{
    {ControlKind::GroupBox, L"Button"},   {ControlKind::RowLabel, L"Static"},
    {ControlKind::UnitLabel, L"Static"},  {ControlKind::Label, L"Static"},
    {ControlKind::Picture, L"Static"},    {ControlKind::Edit, L"Edit"},
    {ControlKind::Combo, L"ComboBox"},    {ControlKind::Radio, L"Button"},
    {ControlKind::CheckBox, L"Button"},   {ControlKind::CheckButton, L"Button"},
    {ControlKind::PushButton, L"Button"}, {ControlKind::Slider, TRACKBAR_CLASSW},
};

// The button style that makes each kind of button what it is.
const std::map<ControlKind, DWORD> buttonTypes{
    {ControlKind::GroupBox, BS_GROUPBOX},     {ControlKind::Radio, BS_AUTORADIOBUTTON},
    {ControlKind::CheckBox, BS_AUTOCHECKBOX}, {ControlKind::CheckButton, BS_AUTOCHECKBOX},
    {ControlKind::PushButton, BS_PUSHBUTTON},
};

// The dialog manager maps a control's origin and its size each on its own.
RECT pixelsOf(HWND dialog, const DialogRect& rect) {
    RECT mapped{rect.x, rect.y, rect.width, rect.height};
    MapDialogRect(dialog, &mapped);
    return {mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom};
}

RECT placeOf(HWND dialog, HWND control) {
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

class FaceTableTest : public FaceTest {};

TEST_F(FaceTableTest, EveryControlStandsWhereTheTableSaysInTemplateOrder) {
    FaceHarness face;
    ASSERT_NE(face.window, nullptr);
    ASSERT_FALSE(face.dialog->closed()) << face.prompter.texts().size();
    HWND child = GetWindow(face.window, GW_CHILD);
    for (const ControlRow& row : controlTable()) {
        ASSERT_NE(child, nullptr) << "fewer windows than rows";
        SCOPED_TRACE(row.id);
        SCOPED_TRACE(row.text != nullptr ? row.text : "");
        if (row.id != staticId) {
            EXPECT_EQ(GetDlgCtrlID(child), row.id);
        }
        EXPECT_EQ(className(child), classes.at(row.kind));
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        // The dialog manager makes the checked button of a radio group its tab stop.
        const bool tabStop = row.kind == ControlKind::Radio
                                 ? IsDlgButtonChecked(face.window, row.id) == BST_CHECKED
                                 : (row.styles & style::tabStop) != 0;
        EXPECT_EQ((style & WS_TABSTOP) != 0, tabStop);
        EXPECT_EQ((style & WS_GROUP) != 0, (row.styles & style::group) != 0);
        EXPECT_EQ((style & WS_VISIBLE) != 0, (row.styles & style::hidden) == 0);
        if (buttonTypes.count(row.kind) != 0) {
            EXPECT_EQ(style & BS_TYPEMASK, buttonTypes.at(row.kind));
            EXPECT_EQ((style & BS_PUSHLIKE) != 0, row.kind == ControlKind::CheckButton);
        }
        if (row.kind == ControlKind::Edit) {
            EXPECT_NE(style & ES_READONLY, 0U);
            EXPECT_EQ((style & ES_RIGHT) != 0, (row.styles & style::right) != 0);
            // The dialog manager draws an edit's border as a sunken edge.
            const bool border = (style & WS_BORDER) != 0 ||
                                (GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
            EXPECT_EQ(border, (row.styles & style::noBorder) == 0);
        }
        if (row.kind == ControlKind::RowLabel || row.kind == ControlKind::Label) {
            EXPECT_EQ(style & SS_TYPEMASK,
                      static_cast<DWORD>((row.styles & style::right) ? SS_RIGHT : SS_LEFT));
        }
        if (row.kind == ControlKind::Combo) {
            EXPECT_EQ(style & 3, static_cast<DWORD>(CBS_DROPDOWNLIST));
            EXPECT_NE(GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_RIGHT, 0);
            ASSERT_EQ(SendMessageW(child, CB_GETCOUNT, 0, 0), 18);
            wchar_t item[8] = {};
            SendMessageW(child, CB_GETLBTEXT, 17, reinterpret_cast<LPARAM>(item));
            EXPECT_STREQ(item, L"DG2");
        }
        if (row.text != nullptr && row.kind != ControlKind::Combo) {
            wchar_t text[128] = {};
            GetWindowTextW(child, text, 128);
            EXPECT_EQ(narrow(text), localText(row.text));
        }
        const RECT expected = pixelsOf(face.window, row.rect);
        const RECT actual = placeOf(face.window, child);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right, expected.right);
        if (row.kind != ControlKind::Combo) { // a combo box's height is its list's
            EXPECT_EQ(actual.bottom, expected.bottom);
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more windows than rows";

    // The client area is the template's size, the menu bar above it.
    RECT client;
    GetClientRect(face.window, &client);
    const RECT size = pixelsOf(face.window, dialogTemplateSize);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    wchar_t caption[32] = {};
    GetWindowTextW(face.window, caption, 32);
    EXPECT_STREQ(caption, L"Varnel 4.0");
}

TEST_F(FaceTableTest, SlidersHaveTheirScalesAndPageByAFifth) {
    FaceHarness face;
    for (const SliderSetup& slider : sliderTable) {
        SCOPED_TRACE(slider.id);
        HWND control = face.at(slider.id);
        EXPECT_EQ(SendMessageW(control, TBM_GETRANGEMIN, 0, 0), slider.minimum);
        EXPECT_EQ(SendMessageW(control, TBM_GETRANGEMAX, 0, 0), slider.maximum);
        EXPECT_EQ(SendMessageW(control, TBM_GETPAGESIZE, 0, 0),
                  (slider.maximum - slider.minimum) / 5);
        EXPECT_EQ(SendMessageW(control, TBM_GETLINESIZE, 0, 0), 1);
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
        EXPECT_EQ(style & (TBS_VERT | TBS_AUTOTICKS | TBS_TOP),
                  static_cast<DWORD>(TBS_AUTOTICKS | TBS_TOP));
    }
    EXPECT_EQ(face.slider(ctl::servoSlider), 1024);
}

TEST_F(FaceTableTest, StartsWithZerosAndTheWriteControlsOff) {
    FaceHarness face;
    EXPECT_EQ(face.text(1001), "0");
    EXPECT_EQ(face.text(1027), "0.00");
    EXPECT_EQ(face.text(1053), "上");
    EXPECT_EQ(face.text(1055), "下");
    for (const int id : {ctl::writeButton, ctl::inputButton, ctl::setButton, ctl::servoSlider}) {
        EXPECT_FALSE(face.enabled(id)) << id;
    }
    EXPECT_TRUE(face.enabled(ctl::readButton));
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), ctl::firstChannel);
    // No push button is the default one: Enter on anything but a push button means OK.
    for (const int id : {ctl::setButton, ctl::readButton, ctl::writeButton}) {
        EXPECT_EQ(GetWindowLongPtrW(face.at(id), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    }
    EXPECT_EQ(LOWORD(SendMessageW(face.window, DM_GETDEFID, 0, 0)), IDOK);
    // The program's own icon, not Windows' default one.
    for (const WPARAM which : {ICON_BIG, ICON_SMALL}) {
        const auto icon = reinterpret_cast<HICON>(SendMessageW(face.window, WM_GETICON, which, 0));
        EXPECT_NE(icon, nullptr);
        EXPECT_NE(icon, LoadIconW(nullptr, IDI_APPLICATION));
    }
}

TEST_F(FaceTableTest, TabVisitsTheTabStopsInTemplateOrder) {
    FaceHarness face;
    for (const int id : {ctl::writeButton, ctl::inputButton, ctl::setButton, ctl::servoSlider}) {
        EnableWindow(face.at(id), TRUE);
    }
    std::vector<int> visited;
    HWND control = face.at(ctl::firstChannel);
    do {
        const int id = GetDlgCtrlID(control);
        // Besides, each radio group is reached at its checked button.
        if (controlRow(id).kind != ControlKind::Radio) {
            visited.push_back(id);
        }
        control = GetNextDlgTabItem(face.window, control, FALSE);
    } while (control != nullptr && control != face.at(ctl::firstChannel) && visited.size() < 64);
    const std::vector<int> expected{3000, 3001, 3002, 3003, 3004, 3005, 3006, 3007,
                                    1003, 1004, 1064, 1046, 1048, 1050, 1028, 1031,
                                    1034, 1063, 1036, 1038, 1040, 1044, 1066, 1058,
                                    1001, 1061, 1051, 1052, 1059, 1060, 1069, 1072};
    EXPECT_EQ(visited, expected);
}

TEST_F(FaceTableTest, MenusAndAcceleratorsComeFromTheMenuTable) {
    FaceHarness face;
    HMENU bar = GetMenu(face.window);
    ASSERT_NE(bar, nullptr);
    int popupIndex = -1;
    HMENU popup = nullptr;
    int itemIndex = 0;
    for (const MenuEntry& entry : menuTable()) {
        wchar_t text[64] = {};
        if (entry.menu != nullptr) {
            popup = GetSubMenu(bar, ++popupIndex);
            ASSERT_NE(popup, nullptr);
            GetMenuStringW(bar, static_cast<UINT>(popupIndex), text, 64, MF_BYPOSITION);
            EXPECT_EQ(narrow(text), localText(entry.menu));
            itemIndex = 0;
        }
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = 64;
        ASSERT_TRUE(GetMenuItemInfoW(popup, static_cast<UINT>(itemIndex++), TRUE, &info));
        if (entry.text == nullptr) {
            EXPECT_NE(info.fType & MFT_SEPARATOR, 0U);
            continue;
        }
        EXPECT_EQ(static_cast<int>(info.wID), entry.commandId);
        EXPECT_EQ(narrow(text), localText(entry.text));
        // Write stays grayed until a Read has succeeded.
        EXPECT_EQ((info.fState & MFS_GRAYED) != 0, entry.commandId == command::write);
    }
    EXPECT_EQ(GetMenuItemCount(bar), popupIndex + 1);

    ACCEL table[8];
    const int count = CopyAcceleratorTableW(face.dialog->accelerators(), table, 8);
    const std::vector<std::pair<WORD, WORD>> expected{
        {'O', command::open}, {'S', command::save}, {'R', command::read}, {'W', command::write}};
    ASSERT_EQ(count, static_cast<int>(expected.size()));
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(table[i].fVirt & ~FNOINVERT, FVIRTKEY | FCONTROL);
        EXPECT_EQ(table[i].key, expected[static_cast<std::size_t>(i)].first);
        EXPECT_EQ(table[i].cmd, expected[static_cast<std::size_t>(i)].second);
    }

    HMENU systemMenu = GetSystemMenu(face.window, FALSE);
    const int last = GetMenuItemCount(systemMenu) - 1;
    EXPECT_EQ(GetMenuItemID(systemMenu, last), systemAboutCommand);
    wchar_t text[64] = {};
    GetMenuStringW(systemMenu, static_cast<UINT>(last), text, 64, MF_BYPOSITION);
    EXPECT_EQ(narrow(text), message(msg::aboutMenuItem));
}

// What a screen reader announces for a control.
std::wstring accessibleName(HWND control) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          IID_IAccessible,
                                          reinterpret_cast<void**>(&accessible)))) {
        return {};
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring text;
    if (SUCCEEDED(accessible->get_accName(self, &name)) && name != nullptr) {
        text = name;
        SysFreeString(name);
    }
    accessible->Release();
    return text;
}

TEST_F(FaceTableTest, LabelsNameTheirEditsAndSlidersForScreenReaders) {
    FaceHarness face;
    if (!annotateAccessibleNames(face.window)) {
        GTEST_SKIP() << "this system offers no dynamic annotation of accessible names";
    }
    EXPECT_EQ(narrow(accessibleName(face.at(1018))), localText("回転数設定1"));
    EXPECT_EQ(narrow(accessibleName(face.at(1046))), localText("回転数設定1"));
    EXPECT_EQ(narrow(accessibleName(face.at(1054))), localText("リミットポイント1"));
    EXPECT_EQ(narrow(accessibleName(face.at(3000))), "CH1");
}

// Each text measured in the font it is drawn in against the room its control leaves it.
void expectEveryTextFits(HWND dialog) {
    const std::vector<HWND> windows = controlWindows(dialog);
    const auto rows = controlTable();
    ASSERT_EQ(windows.size(), rows.size());
    for (std::size_t at = 0; at < rows.size(); ++at) {
        const ControlRow& row = rows[at];
        if (row.text == nullptr || (row.styles & style::hidden) || row.kind == ControlKind::Combo) {
            continue;
        }
        const TextFit fit = measureText(dialog, windows[at], row);
        EXPECT_LE(fit.needed, fit.room) << localText(row.text);
    }
}

TEST_F(FaceTableTest, EveryJapaneseTextFits) {
    FaceHarness face;
    expectEveryTextFits(face.window);
}

TEST_F(FaceTableTest, TheEnglishFaceKeepsThePlacesAndEveryTextFits) {
    std::vector<RECT> japanese;
    {
        FaceHarness face;
        for (HWND child = GetWindow(face.window, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            japanese.push_back(placeOf(face.window, child));
        }
    }
    setTextLanguage(Language::English);
    FaceHarness face;
    std::size_t at = 0;
    for (HWND child = GetWindow(face.window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT), ++at) {
        ASSERT_LT(at, japanese.size());
        const RECT english = placeOf(face.window, child);
        EXPECT_TRUE(EqualRect(&japanese[at], &english)) << at;
    }
    wchar_t read[32] = {};
    GetWindowTextW(face.at(ctl::readButton), read, 32);
    EXPECT_EQ(narrow(read), englishText("読み込み"));
    expectEveryTextFits(face.window);
}

} // namespace
