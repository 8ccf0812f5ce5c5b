#include "main_dialog.h"

#include "accessible_names.h"
#include "backup_list.h"
#include "device_step.h"
#include "dialog_template.h"
#include "file_dialog.h"
#include "logo.h"
#include "menu_resources.h"
#include "message_box.h"
#include "program_icon.h"
#include "text_fit.h"
#include "version_box.h"

#include "device/platform/wide_text.h"
#include "dialog/menu_table.h"
#include "resources/text_catalogue.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

constexpr UINT_PTR tickTimer = 1;

// The radio buttons of a group, in template order.
std::vector<int> groupMembers(int groupId) {
    std::vector<int> members;
    for (const ControlRow& row : controlTable()) {
        const std::optional<RadioPlace> place = radioPlace(row.id);
        if (row.kind == ControlKind::Radio && place && place->groupId == groupId) {
            members.push_back(row.id);
        }
    }
    return members;
}

bool isMenuCommand(int id) {
    const auto entries = menuTable();
    return std::any_of(entries.begin(), entries.end(), [id](const MenuEntry& entry) {
        return entry.text != nullptr && entry.commandId == id;
    });
}

// Latin text in the Japanese font's wide Latin glyphs would need far more room: the
// English face keeps the layout's dialog units but draws its texts in the Latin dialog
// font.
HFONT latinFont(HWND window) {
    HDC dc = GetDC(window);
    const int height = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(window, dc);
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, L"MS Shell Dlg 2");
}

} // namespace

DialogView::Answer Win32Prompter::message(HWND owner, const std::string& text,
                                          DialogView::Icon icon, DialogView::Buttons buttons) {
    return showMessageBox(owner, text, icon, buttons);
}

std::string Win32Prompter::chooseFile(HWND owner, DialogView::FileChoice choice) {
    const std::string filter = localText("Kelvo Files (*.gvx)");
    return choice == DialogView::FileChoice::Open ? chooseFileToOpen(owner, filter)
                                                  : chooseFileToSave(owner, filter);
}

std::optional<std::size_t> Win32Prompter::chooseBackup(HWND owner, const BackupChoice& choice) {
    return chooseBackupNatively(owner, choice);
}

MainDialog::MainDialog(DialogServices services, Win32Prompter& prompter)
    : prompter(prompter), dialogLogic(*this, std::move(services)) {}

MainDialog::~MainDialog() {
    if (handle != nullptr) {
        DestroyWindow(handle);
    }
    if (acceleratorTable != nullptr) {
        DestroyAcceleratorTable(acceleratorTable);
    }
    if (textFont != nullptr) {
        DeleteObject(textFont);
    }
    for (HFONT font : narrowedFonts) {
        DeleteObject(font);
    }
    for (HICON icon : {bigIcon, smallIcon}) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
}

HWND MainDialog::open() {
    const std::vector<DWORD> bytes = mainDialogTemplate();
    handle = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                        reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), nullptr,
                                        &MainDialog::procedure, reinterpret_cast<LPARAM>(this));
    if (handle == nullptr) {
        return nullptr;
    }
    HWND created = handle;
    ShowWindow(created, SW_SHOW);
    UpdateWindow(created);
    if (!dialogLogic.Start() && handle != nullptr && dialogLogic.CancelClose()) {
        closeWindow();
    }
    return created;
}

void MainDialog::initialise() {
    // The menu bar takes room above the client area, which keeps the template's size.
    RECT before;
    GetClientRect(handle, &before);
    menu = buildMenuBar();
    SetMenu(handle, menu);
    RECT frame = before;
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(handle, GWL_STYLE)), TRUE,
                       static_cast<DWORD>(GetWindowLongPtrW(handle, GWL_EXSTYLE)));
    SetWindowPos(handle, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    acceleratorTable = buildAccelerators();
    addVersionItem(handle);
    bigIcon = createProgramIcon(GetSystemMetrics(SM_CXICON));
    smallIcon = createProgramIcon(GetSystemMetrics(SM_CXSMICON));
    SendMessageW(handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    SendMessageW(handle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    if (textLanguage() == Language::English) {
        textFont = latinFont(handle);
        EnumChildWindows(
            handle,
            [](HWND child, LPARAM font) -> BOOL {
                SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(textFont));
    }
    narrowedFonts = narrowToFit(handle);
    annotateAccessibleNames(handle);
    for (const ControlRow& row : controlTable()) {
        if (row.kind == ControlKind::Combo) {
            for (const char* entry : channelItems()) {
                SendDlgItemMessageW(handle, row.id, CB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(widen(entry).c_str()));
            }
        }
    }
}

bool MainDialog::preTranslate(MSG& message) {
    if (handle == nullptr) {
        return false;
    }
    if (acceleratorTable != nullptr && TranslateAcceleratorW(handle, acceleratorTable, &message)) {
        return true;
    }
    return IsDialogMessageW(handle, &message) != FALSE;
}

INT_PTR CALLBACK MainDialog::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, l);
        auto* self = reinterpret_cast<MainDialog*>(l);
        self->handle = window;
        self->initialise();
        return FALSE; // the logic places the focus when it starts
    }
    auto* self = reinterpret_cast<MainDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    return self != nullptr ? self->handleMessage(message, w, l) : FALSE;
}

INT_PTR MainDialog::handleMessage(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l));
        return TRUE;
    case WM_HSCROLL:
        // Every scroll code, by mouse or keyboard, reaches the settings.
        if (l != 0) {
            dialogLogic.OnControl(GetDlgCtrlID(reinterpret_cast<HWND>(l)));
        }
        return TRUE;
    case WM_SYSCOMMAND:
        if ((w & 0xFFF0) == systemAboutCommand) {
            if (dialogLogic.Admit()) {
                showVersionBox();
            }
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        if (dialogLogic.CancelClose()) {
            closeWindow();
        }
        return TRUE;
    case WM_TIMER:
        if (w == tickTimer) {
            dialogLogic.Tick();
        }
        return TRUE;
    case WM_SETCURSOR:
        if (waitCursor || waitCursorShown()) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            SetWindowLongPtrW(handle, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_DRAWITEM: {
        const auto* drawn = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
        if (drawn->CtlID == static_cast<UINT>(ctl::logo)) {
            paintLogo(*drawn);
            return TRUE;
        }
        return FALSE;
    }
    case WM_DESTROY:
        KillTimer(handle, tickTimer);
        if (postQuit) {
            PostQuitMessage(0);
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void MainDialog::onCommand(int id, int notification, HWND control) {
    if (control == nullptr) { // a menu item, an accelerator or a dialog key
        switch (id) {
        case IDOK: // Enter anywhere but on a push button
        case command::exit:
            if (dialogLogic.OkClose()) {
                closeWindow();
            }
            return;
        case IDCANCEL: // Escape
            if (dialogLogic.CancelClose()) {
                closeWindow();
            }
            return;
        case command::about:
            if (dialogLogic.Admit()) {
                showVersionBox();
            }
            return;
        default:
            if (isMenuCommand(id)) {
                dialogLogic.OnMenu(id);
            }
            return;
        }
    }
    const ControlRow* row = nullptr;
    for (const ControlRow& candidate : controlTable()) {
        if (candidate.id == id && id != staticId) {
            row = &candidate;
        }
    }
    if (row == nullptr || row->handler == Handler::None) {
        return;
    }
    const bool acts = row->kind == ControlKind::Combo ? notification == CBN_SELCHANGE
                                                      : notification == BN_CLICKED;
    if (acts) {
        dialogLogic.OnControl(id);
    }
}

void MainDialog::closeWindow() {
    HWND closing = handle;
    handle = nullptr;
    DestroyWindow(closing);
}

void MainDialog::showVersionBox() {
    ::showVersionBox(handle, dialogLogic.portName());
}

void MainDialog::setText(int id, const std::string& text) {
    SetDlgItemTextW(handle, id, widen(text).c_str());
}

std::string MainDialog::text(int id) const {
    const int length = GetWindowTextLengthW(item(id));
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    GetDlgItemTextW(handle, id, wide.data(), length + 1);
    wide.resize(static_cast<std::size_t>(length));
    return narrow(wide);
}

void MainDialog::setRadioChoice(int groupId, int position) {
    const std::vector<int> members = groupMembers(groupId);
    for (std::size_t at = 0; at < members.size(); ++at) {
        CheckDlgButton(handle, members[at],
                       static_cast<int>(at) == position ? BST_CHECKED : BST_UNCHECKED);
    }
}

int MainDialog::radioChoice(int groupId) const {
    const std::vector<int> members = groupMembers(groupId);
    for (std::size_t at = 0; at < members.size(); ++at) {
        if (IsDlgButtonChecked(handle, members[at]) == BST_CHECKED) {
            return static_cast<int>(at);
        }
    }
    return -1;
}

void MainDialog::setComboIndex(int id, int index) {
    SendDlgItemMessageW(handle, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int MainDialog::comboIndex(int id) const {
    return static_cast<int>(SendDlgItemMessageW(handle, id, CB_GETCURSEL, 0, 0));
}

void MainDialog::setChecked(int id, bool checked) {
    CheckDlgButton(handle, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool MainDialog::checked(int id) const {
    return IsDlgButtonChecked(handle, id) == BST_CHECKED;
}

void MainDialog::setSliderRange(int id, int minimum, int maximum, int tickSpacing) {
    HWND slider = item(id);
    SendMessageW(slider, TBM_SETRANGEMIN, FALSE, minimum);
    SendMessageW(slider, TBM_SETRANGEMAX, TRUE, maximum);
    SendMessageW(slider, TBM_SETTICFREQ, static_cast<WPARAM>(tickSpacing), 0);
    SendMessageW(slider, TBM_SETLINESIZE, 0, 1);
    // A click in the groove, or Page Up and Down, move a fifth of the range.
    SendMessageW(slider, TBM_SETPAGESIZE, 0, (maximum - minimum) / 5);
}

void MainDialog::setSliderPosition(int id, int position) {
    SendDlgItemMessageW(handle, id, TBM_SETPOS, TRUE, position);
}

int MainDialog::sliderPosition(int id) const {
    return static_cast<int>(SendDlgItemMessageW(handle, id, TBM_GETPOS, 0, 0));
}

void MainDialog::setControlEnabled(int id, bool enabled) {
    EnableWindow(item(id), enabled ? TRUE : FALSE);
}

void MainDialog::setMenuItemEnabled(int commandId, bool enabled) {
    EnableMenuItem(menu, static_cast<UINT>(commandId),
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(handle);
}

void MainDialog::focus(int id) {
    SendMessageW(handle, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(id)), TRUE);
}

DialogView::Answer MainDialog::message(const std::string& text, Icon icon, Buttons buttons) {
    return prompter.message(handle, text, icon, buttons);
}

std::string MainDialog::chooseFile(FileChoice choice) {
    return prompter.chooseFile(handle, choice);
}

std::optional<std::size_t> MainDialog::chooseBackup(const BackupChoice& choice) {
    return prompter.chooseBackup(handle, choice);
}

void MainDialog::runDeviceStep(const std::function<void()>& step) {
    ::runDeviceStep(step);
}

void MainDialog::showBusy(bool busy) {
    if (busy) {
        if (busyDepth++ == 0) {
            waitCursor.emplace();
        }
    } else if (busyDepth > 0 && --busyDepth == 0) {
        waitCursor.reset();
    }
}

void MainDialog::beep() {
    MessageBeep(MB_OK);
}

void MainDialog::startTicks(std::chrono::milliseconds period) {
    SetTimer(handle, tickTimer, static_cast<UINT>(period.count()), nullptr);
}

void MainDialog::stopTicks() {
    KillTimer(handle, tickTimer);
}
