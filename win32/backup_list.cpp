#include "backup_list.h"

#include "dialog_template.h"

#include "device/platform/wide_text.h"

#include <commctrl.h>

#include <array>
#include <vector>

namespace {

constexpr DWORD child = WS_CHILD | WS_VISIBLE;

std::wstring text(const char* japanese, const std::string& subject = {}) {
    return widen(backupText(japanese, subject));
}

std::vector<DWORD> listTemplate(const BackupChoice& choice) {
    const DWORD listStyle = child | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL |
                            LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;
    // The label before each list names it for a screen reader and gives its mnemonic.
    std::vector<TemplateItem> items{
        {nullptr, 0x82, text(backup_text::listLabel), {7, 7, 300, 8}, -1, child | SS_LEFT, 0},
        {WC_LISTVIEWW, 0, L"", {7, 18, 300, 110}, backup_list::rows, listStyle, 0},
        {nullptr,
         0x82,
         text(backup_text::differencesLabel),
         {7, 134, 300, 8},
         -1,
         child | SS_LEFT,
         0},
        {WC_LISTVIEWW, 0, L"", {7, 145, 300, 80}, backup_list::differences, listStyle, 0},
        {nullptr,
         0x80,
         text(backup_text::openButton),
         {196, 232, 52, 14},
         IDOK,
         child | WS_TABSTOP | WS_GROUP | WS_DISABLED | BS_PUSHBUTTON,
         0},
        {nullptr,
         0x80,
         text(backup_text::cancelButton),
         {255, 232, 52, 14},
         IDCANCEL,
         child | WS_TABSTOP | BS_PUSHBUTTON,
         0},
    };
    if (!choice.emptyText.empty()) {
        // A read-only edit rather than a static, so that Tab reaches it and a screen
        // reader reads where the backups are kept.
        items.insert(items.begin(), {nullptr,
                                     0x81,
                                     widen(choice.emptyText),
                                     {7, 232, 182, 14},
                                     backup_list::note,
                                     child | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL,
                                     0});
    }
    const TemplateHeader header{text(backup_text::title),
                                {0, 0, 314, 253},
                                WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                0,
                                {L"MS UI Gothic", 9, SHIFTJIS_CHARSET}};
    return buildTemplate(header, items);
}

void addColumns(HWND list, std::initializer_list<std::pair<const char*, int>> columns) {
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    int index = 0;
    for (const auto& [title, width] : columns) {
        std::wstring heading = text(title);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = heading.data();
        RECT units{0, 0, width, 0};
        MapDialogRect(GetParent(list), &units);
        column.cx = units.right;
        ListView_InsertColumn(list, index++, &column);
    }
}

void addRow(HWND list, int index, LPARAM data, int group, const std::vector<std::wstring>& cells) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | (group >= 0 ? LVIF_GROUPID : 0U);
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(cells[0].c_str());
    item.lParam = data;
    item.iGroupId = group;
    const int at = ListView_InsertItem(list, &item);
    for (std::size_t cell = 1; cell < cells.size(); ++cell) {
        ListView_SetItemText(list, at, static_cast<int>(cell),
                             const_cast<wchar_t*>(cells[cell].c_str()));
    }
}

void fillRows(HWND box, const BackupChoice& choice) {
    HWND list = GetDlgItem(box, backup_list::rows);
    addColumns(list, {{backup_text::timeColumn, 90},
                      {backup_text::unitColumn, 40},
                      {backup_text::countColumn, 50}});
    // Groups by unit where the list view has them; without, the ID column still groups.
    const bool grouped = ListView_EnableGroupView(list, TRUE) >= 0;
    unsigned groupUnit = 0;
    int groups = 0;
    for (std::size_t row = 0; row < choice.rows.size(); ++row) {
        const BackupChoice::Row& backup = choice.rows[row];
        if (grouped && (groups == 0 || backup.unitId != groupUnit)) {
            std::wstring heading = text(backup_text::unitGroup, backup.unit);
            LVGROUP group{};
            group.cbSize = sizeof(group);
            group.mask = LVGF_HEADER | LVGF_GROUPID;
            group.pszHeader = heading.data();
            group.iGroupId = ++groups;
            ListView_InsertGroup(list, -1, &group);
            groupUnit = backup.unitId;
        }
        addRow(list, static_cast<int>(row), static_cast<LPARAM>(row), grouped ? groups : -1,
               {widen(backup.time), widen(backup.unit), widen(backup.count)});
    }
    HWND differences = GetDlgItem(box, backup_list::differences);
    addColumns(differences, {{backup_text::fieldColumn, 110},
                             {backup_text::backupColumn, 90},
                             {backup_text::shownColumn, 90}});
}

std::optional<std::size_t> selectedRow(HWND box) {
    HWND list = GetDlgItem(box, backup_list::rows);
    const int at = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    if (at < 0) {
        return std::nullopt;
    }
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = at;
    ListView_GetItem(list, &item);
    return static_cast<std::size_t>(item.lParam);
}

void showDifferences(HWND box, const BackupChoice& choice) {
    HWND list = GetDlgItem(box, backup_list::differences);
    ListView_DeleteAllItems(list);
    const auto row = selectedRow(box);
    EnableWindow(GetDlgItem(box, IDOK), row.has_value());
    if (!row) {
        return;
    }
    const auto found = choice.differencesOf(*row);
    if (!found || found->empty()) {
        addRow(list, 0, 0, -1,
               {text(found ? backup_text::noDifferences : backup_text::notARecord), L"", L""});
        return;
    }
    int index = 0;
    for (const FieldDifference& difference : *found) {
        addRow(
            list, index++, 0, -1,
            {widen(difference.name), widen(difference.backupValue), widen(difference.shownValue)});
    }
}

void end(HWND box, BackupListState& state, bool open) {
    state.chosen = open ? selectedRow(box) : std::nullopt;
    if (open && !state.chosen) {
        return;
    }
    state.ended = true;
    // A modal box ends its loop; a modeless one goes.
    if (state.modeless) {
        DestroyWindow(box);
    } else {
        EndDialog(box, open ? IDOK : IDCANCEL);
    }
}

INT_PTR CALLBACK procedure(HWND box, UINT message, WPARAM w, LPARAM l) {
    auto* state = reinterpret_cast<BackupListState*>(GetWindowLongPtrW(box, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        state = reinterpret_cast<BackupListState*>(l);
        SetWindowLongPtrW(box, DWLP_USER, l);
        fillRows(box, *state->choice);
        if (!state->choice->rows.empty()) {
            HWND list = GetDlgItem(box, backup_list::rows);
            ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
            SetFocus(list);
            return FALSE;
        }
        return TRUE;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(l);
        if (state != nullptr && header->idFrom == backup_list::rows) {
            if (header->code == LVN_ITEMCHANGED) {
                showDifferences(box, *state->choice);
            } else if (header->code == LVN_ITEMACTIVATE) {
                end(box, *state, true);
            }
        }
        return FALSE;
    }
    case WM_COMMAND:
        if (state != nullptr && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL)) {
            end(box, *state, LOWORD(w) == IDOK);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

std::optional<std::size_t> chooseBackupNatively(HWND owner, const BackupChoice& choice) {
    BackupListState state{&choice, std::nullopt, false, false};
    const std::vector<DWORD> bytes = listTemplate(choice);
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                            reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), owner, procedure,
                            reinterpret_cast<LPARAM>(&state));
    return state.chosen;
}

HWND createBackupList(HWND owner, BackupListState& state) {
    state.modeless = true;
    const std::vector<DWORD> bytes = listTemplate(*state.choice);
    HWND box = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                          reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), owner,
                                          procedure, reinterpret_cast<LPARAM>(&state));
    if (box != nullptr) {
        ShowWindow(box, SW_SHOW);
    }
    return box;
}
