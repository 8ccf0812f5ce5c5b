// The window the face builds from the control and menu tables: every control with its
// class, style, text and place; the sliders' ranges; the menus and accelerators.

#include "face_harness.h"

#include "dialog/menu_table.h"
#include "win32/menu_resources.h"

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

RECT pixelsOf(HWND dialog, const DialogRect& rect) {
    RECT pixels{rect.x, rect.y, rect.x + rect.width, rect.y + rect.height};
    MapDialogRect(dialog, &pixels);
    return pixels;
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
        EXPECT_EQ((style & WS_TABSTOP) != 0, (row.styles & style::tabStop) != 0);
        EXPECT_EQ((style & WS_GROUP) != 0, (row.styles & style::group) != 0);
        EXPECT_EQ((style & WS_VISIBLE) != 0, (row.styles & style::hidden) == 0);
        if (buttonTypes.count(row.kind) != 0) {
            EXPECT_EQ(style & BS_TYPEMASK, buttonTypes.at(row.kind));
            EXPECT_EQ((style & BS_PUSHLIKE) != 0, row.kind == ControlKind::CheckButton);
        }
        if (row.kind == ControlKind::Edit) {
            EXPECT_NE(style & ES_READONLY, 0U);
            EXPECT_EQ((style & ES_RIGHT) != 0, (row.styles & style::right) != 0);
            EXPECT_EQ((style & WS_BORDER) != 0, (row.styles & style::noBorder) == 0);
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

// Measures each text in the font it is drawn in against the room its control leaves it.
struct Clipped {
    std::string text;
    int needed;
    int room;
};

std::vector<Clipped> clippedTexts(HWND dialog) {
    std::vector<Clipped> clipped;
    HDC dc = GetDC(dialog);
    RECT unit{0, 0, 4, 8}; // one character cell in dialog units
    MapDialogRect(dialog, &unit);
    const int checkBox = GetSystemMetrics(SM_CXMENUCHECK) + unit.right / 2;
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const ControlRow& row : controlTable()) {
        const HWND control = child;
        child = GetWindow(child, GW_HWNDNEXT);
        if (row.text == nullptr || (row.styles & style::hidden) ||
            row.kind == ControlKind::Picture) {
            continue;
        }
        std::wstring text = widen(localText(row.text));
        std::erase(text, L'&');
        const HGDIOBJ before =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, before);
        RECT box;
        GetClientRect(control, &box);
        int room = box.right;
        switch (row.kind) {
        case ControlKind::Radio:
        case ControlKind::CheckBox:
            room -= checkBox;
            break;
        case ControlKind::GroupBox:
            room -= 2 * unit.right; // the title's margin on either side
            break;
        case ControlKind::CheckButton:
        case ControlKind::PushButton:
            room -= 2 * GetSystemMetrics(SM_CXEDGE) + 2;
            break;
        default:
            break;
        }
        if (extent.cx > room) {
            clipped.push_back({localText(row.text), extent.cx, room});
        }
    }
    ReleaseDC(dialog, dc);
    return clipped;
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
    for (const Clipped& text : clippedTexts(face.window)) {
        ADD_FAILURE() << text.text << " needs " << text.needed << " px, has " << text.room;
    }
}

} // namespace
