#include "dialog_template.h"

#include "device/platform/wide_text.h"
#include "resources/text_catalogue.h"
#include "varnel_config.h"

#include <commctrl.h>

namespace {

constexpr WORD buttonAtom = 0x80;
constexpr WORD editAtom = 0x81;
constexpr WORD staticAtom = 0x82;
constexpr WORD comboAtom = 0x85;

class TemplateWriter {
public:
    void word(WORD value) { words.push_back(value); }
    void dword(DWORD value) {
        word(LOWORD(value));
        word(HIWORD(value));
    }
    void text(const std::wstring& value) {
        for (const wchar_t c : value) {
            word(static_cast<WORD>(c));
        }
        word(0);
    }
    void rect(const DialogRect& r) {
        for (const int value : {r.x, r.y, r.width, r.height}) {
            word(static_cast<WORD>(static_cast<short>(value)));
        }
    }
    void alignToDword() {
        if (words.size() % 2 != 0) {
            word(0);
        }
    }
    std::vector<DWORD> bytes() const {
        std::vector<DWORD> aligned((words.size() + 1) / 2, 0);
        std::copy(words.begin(), words.end(), reinterpret_cast<WORD*>(aligned.data()));
        return aligned;
    }

private:
    std::vector<WORD> words;
};

DWORD staticAlignment(const ControlRow& row) {
    return (row.styles & style::right) ? SS_RIGHT : SS_LEFT;
}

} // namespace

std::vector<DWORD> buildTemplate(const TemplateHeader& header,
                                 std::span<const TemplateItem> items) {
    TemplateWriter out;
    out.word(1);      // version
    out.word(0xFFFF); // the extended template
    out.dword(0);     // help id
    out.dword(header.exStyle);
    out.dword(header.style | DS_SETFONT);
    out.word(static_cast<WORD>(items.size()));
    out.rect(header.size);
    out.word(0); // no menu: the face attaches it from the menu table
    out.word(0); // the dialog class
    out.text(header.caption);
    out.word(header.font.points);
    out.word(FW_NORMAL);
    out.word(static_cast<WORD>(header.font.charset << 8)); // not italic, then the charset
    out.text(header.font.face);
    for (const TemplateItem& item : items) {
        out.alignToDword();
        out.dword(0); // help id
        out.dword(item.exStyle);
        out.dword(item.style);
        out.rect(item.rect);
        out.dword(static_cast<DWORD>(item.id));
        if (item.className != nullptr) {
            out.text(item.className);
        } else {
            out.word(0xFFFF);
            out.word(item.classAtom);
        }
        out.text(item.text);
        out.word(0); // no creation data
    }
    return out.bytes();
}

TemplateItem templateItem(const ControlRow& row, const std::wstring& text) {
    TemplateItem item{nullptr, staticAtom, text, row.rect, row.id, WS_CHILD, 0};
    switch (row.kind) {
    case ControlKind::GroupBox:
        item.classAtom = buttonAtom;
        item.style |= BS_GROUPBOX;
        break;
    case ControlKind::RowLabel:
    case ControlKind::UnitLabel:
    case ControlKind::Label:
        item.style |= staticAlignment(row);
        break;
    case ControlKind::Picture:
        // The logo is painted by the face: no bitmap resource to keep in step.
        item.style |= SS_OWNERDRAW;
        break;
    case ControlKind::Edit:
        item.classAtom = editAtom;
        item.style |= ES_READONLY | ES_AUTOHSCROLL | ((row.styles & style::right) ? ES_RIGHT : 0) |
                      ((row.styles & style::noBorder) ? 0 : WS_BORDER);
        break;
    case ControlKind::Combo:
        item.classAtom = comboAtom;
        item.style |= CBS_DROPDOWNLIST | WS_VSCROLL;
        item.exStyle |= WS_EX_RIGHT;
        break;
    case ControlKind::Radio:
        item.classAtom = buttonAtom;
        item.style |= BS_AUTORADIOBUTTON;
        break;
    case ControlKind::CheckBox:
        item.classAtom = buttonAtom;
        item.style |= BS_AUTOCHECKBOX;
        break;
    case ControlKind::CheckButton:
        item.classAtom = buttonAtom;
        item.style |= BS_AUTOCHECKBOX | BS_PUSHLIKE;
        break;
    case ControlKind::PushButton:
        item.classAtom = buttonAtom;
        item.style |= BS_PUSHBUTTON; // never the default button: Enter means OK
        break;
    case ControlKind::Slider:
        item.className = TRACKBAR_CLASSW;
        item.style |= TBS_HORZ | TBS_AUTOTICKS | TBS_TOP;
        break;
    }
    if (row.styles & style::group) {
        item.style |= WS_GROUP;
    }
    if (row.styles & style::tabStop) {
        item.style |= WS_TABSTOP;
    }
    if (!(row.styles & style::hidden)) {
        item.style |= WS_VISIBLE;
    }
    return item;
}

std::vector<DWORD> mainDialogTemplate() {
    std::vector<TemplateItem> items;
    for (const ControlRow& row : controlTable()) {
        items.push_back(templateItem(row, row.text != nullptr ? widen(localText(row.text)) : L""));
    }
    const TemplateHeader header{widen("Varnel " VARNEL_VERSION),
                                dialogTemplateSize,
                                WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                                    DS_SETFOREGROUND,
                                WS_EX_APPWINDOW,
                                // The layout was drawn for this font: its dialog units place the
                                // controls in every language.
                                {L"MS Shell Dlg", 8, SHIFTJIS_CHARSET}};
    return buildTemplate(header, items);
}
